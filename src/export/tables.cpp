// The numbers written out. Every number is written in the shortest form that reads back
// to the same double: the C++ library's shortest form in the CSV files, the JSON library's
// own in the summary.
#include "export/tables.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

namespace fv {

namespace {

constexpr int wholeNumberChars = 40; // a whole number shorter than its exponent form, and sign
constexpr int roundTripDigits = 17;  // 17 significant digits read back to the same double

using json = nlohmann::ordered_json; // keys in the order written

// A number, or null where it is not finite or there is no value.
json number(double value, bool present = true) {
    if (!present || !std::isfinite(value)) {
        return nullptr;
    }
    return value;
}

// A cell: the amplitude when the chart draws it, else empty.
void appendAmplitude(std::string* row, double amplitude) {
    if (std::isfinite(amplitude) && amplitude >= 0.0) {
        *row += formatNumber(amplitude);
    }
}

// A decimal d1.d2...dN × 10^exponent with a sign.
struct Decimal {
    bool negative;
    std::string digits; // d1 d2 ... dN, d1 nonzero unless the value is zero
    int exponent;
};

// The N-digit decimal nearest to value, as printf rounds it.
Decimal nearestDecimal(double value, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    Decimal d{text[0] == '-', "", 0};
    const char* c = text + (d.negative ? 1 : 0);
    for (; *c != 'e'; ++c) {
        if (*c != '.') {
            d.digits += *c;
        }
    }
    d.exponent = std::atoi(c + 1);
    return d;
}

// The next N-digit decimal from d away from zero (up) or towards it.
Decimal neighbour(Decimal d, bool up) {
    std::string& s = d.digits;
    if (up) {
        int i = static_cast<int>(s.size()) - 1;
        for (; i >= 0 && s[i] == '9'; --i) {
            s[i] = '0';
        }
        if (i < 0) { // 9.99 -> 10.0, written 1.00 one decade up
            s.insert(s.begin(), '1');
            s.pop_back();
            ++d.exponent;
        } else {
            ++s[i];
        }
    } else if (s.find_first_not_of('0', 1) == std::string::npos && s[0] == '1') {
        s.assign(s.size(), '9'); // 1.00 -> 0.999, written 9.99 one decade down
        --d.exponent;
    } else {
        int i = static_cast<int>(s.size()) - 1;
        for (; s[i] == '0'; --i) {
            s[i] = '9';
        }
        --s[i];
    }
    return d;
}

std::string scientificText(const Decimal& d) {
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%02d", d.exponent < 0 ? '-' : '+',
                  std::abs(d.exponent));
    std::string text = d.negative ? "-" : "";
    text += d.digits[0];
    if (d.digits.size() > 1) {
        text += '.';
        text.append(d.digits, 1, std::string::npos);
    }
    return text + exponent;
}

// Written plainly, a whole number has all its digits, as the double holds it exactly
// (35102071746559893504, not 35102071746559894000); only fractions are cut short.
std::string plainText(const Decimal& d, double value) {
    const int count = static_cast<int>(d.digits.size());
    std::string text = d.negative ? "-" : "";
    if (d.exponent >= count - 1) {
        char whole[wholeNumberChars];
        std::snprintf(whole, sizeof whole, "%.0f", value);
        return whole;
    }
    if (d.exponent >= 0) {
        return text + d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
    }
    return text + "0." + std::string(-d.exponent - 1, '0') + d.digits;
}

bool readsBack(const Decimal& d, double value) {
    return std::strtod(scientificText(d).c_str(), nullptr) == value;
}

// The N-digit decimal that reads back to value, nearest first; none if no N-digit decimal
// does. Next to a power of two the doubles below are twice as dense as those above, so
// the decimal on the far side can read back where the nearest does not.
bool shortDecimal(double value, int digits, Decimal* found) {
    const Decimal nearest = nearestDecimal(value, digits);
    if (readsBack(nearest, value)) {
        *found = nearest;
        return true;
    }
    const double nearestValue = std::strtod(scientificText(nearest).c_str(), nullptr);
    const Decimal other = neighbour(nearest, std::fabs(nearestValue) < std::fabs(value));
    if (readsBack(other, value)) {
        *found = other;
        return true;
    }
    return false;
}

} // namespace

// The fewest significant digits that read back to the same double. Every N-digit decimal
// is also an (N+1)-digit one, so reading back holds from some N on and the least N is found
// by halving [1, 17]. Those digits are written plainly (60, 0.25) or with an exponent
// (1e-07), whichever is shorter, plainly on a tie. printf and strtod round correctly in
// every C library the program is built with; the program leaves LC_NUMERIC at "C".
std::string formatNumberByPrintf(double value) {
    int low = 1;
    int high = roundTripDigits;
    Decimal best = nearestDecimal(value, roundTripDigits);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        Decimal found;
        if (shortDecimal(value, middle, &found)) {
            high = middle;
            best = found;
        } else {
            low = middle + 1;
        }
    }
    const std::string scientific = scientificText(best);
    const std::size_t plainSize =
        (best.negative ? 1 : 0) + std::max<std::size_t>(best.exponent + 1, 1);
    if (best.exponent >= 0 && plainSize > scientific.size()) {
        return scientific; // a long whole number
    }
    const std::string plain = plainText(best, value);
    return plain.size() <= scientific.size() ? plain : scientific;
}

std::string formatNumber(double value) {
    if (!std::isfinite(value)) {
        return ""; // spreadsheets would read nan and inf as text
    }
#ifdef __EMSCRIPTEN__
    return formatNumberByPrintf(value); // the browser's C++ library has no to_chars(double)
#else
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
#endif
}

std::string summaryJson(const Summary& v) {
    const Derived& d = v.derived;
    json j;
    j["input"] = json::object();
    for (const SystemParameter& p : systemParameters) {
        if (parameterGiven(p, v.input)) {
            j["input"][p.name] = number(v.input.*p.value);
        }
    }
    j["derived"] = {{"omega0", number(d.omega0)}, {"zeta", number(d.zeta)},
                    {"Yf", number(d.Yf)},         {"Yc", number(d.Yc)},
                    {"Ad", number(d.Ad)},         {"phi_deg", number(v.phiDeg)},
                    {"z", number(d.givenRatio)}};
    if (d.Ys > 0.0) {
        j["derived"]["Ys"] = number(d.Ys);
    }
    j["YZA"] = number(d.YZA, d.hasYZA);
    j["YZB"] = number(d.YZB, d.hasYZB);
    // One verdict: the kind of motion and its amplitude as every face reports them
    // (0 at rest, null where the motion grows without bound or none is known).
    const char* motion = givenMotionName(v.verdict.motion);
    j["givenPointAmplitude"] = number(v.verdict.amplitude, motion != nullptr);
    j["givenPointMotion"] = motion != nullptr ? json(motion) : json(nullptr);
    if (v.hasContinuousRange) {
        j["continuousRange"] = {{"low", v.continuousRange.low},
                                {"high", v.continuousRange.high},
                                {"zLow", number(v.zLow)},
                                {"zHigh", number(v.zHigh)}};
    } else {
        j["continuousRange"] = nullptr; // no continuous motion anywhere in it
    }
    j["exact"] = {{"amplitude_m", number(v.exact.amplitude)},
                  {"stopsPerCycle", v.exact.stopsPerCycle},
                  {"stuckFraction", number(v.exact.stuckFraction)},
                  {"converged", v.exact.converged},
                  {"atRest", v.exact.atRest},
                  {"growsWithoutBound", v.exact.grows},
                  {"periods", v.exact.periods},
                  {"error_m", number(v.exact.error)}};
    // The work of one cycle of that steady motion [J]: null where there is none.
    j["exact"]["energy"] = {{"input_J", number(v.energy.input)},
                            {"viscous_J", number(v.energy.viscous)},
                            {"friction_J", number(v.energy.friction)}};
    return j.dump(2) + "\n";
}

std::string frequencyCsv(const CurvePair* pairs, int pairCount, int n) {
    std::string text = "curve,zeta,z,continuous_m,stickslip_m\n";
    for (int k = 0; k < pairCount; ++k) {
        const CurvePair& c = pairs[k];
        const std::string head = std::string(c.label) + "," + formatNumber(c.zeta) + ",";
        for (int i = 0; i <= n && i < curveCapacity; ++i) {
            std::string row = head + formatNumber(c.stickSlip->ratio[i]) + ",";
            appendAmplitude(&row, c.continuous->amplitude[i]);
            row += ",";
            appendAmplitude(&row, c.stickSlip->amplitude[i]);
            text += row;
            text += "\n";
        }
    }
    return text;
}

std::string regimeCsv(const RegimeMap& map) {
    std::string text;
    if (map.staticRatio > 1.0) {
        text = "# static friction Fs/Fric=" + formatNumber(map.staticRatio) + "\n";
    }
    text += "z,friction_ratio,stops_per_cycle,amplitude_exact,amplitude_chart,converged,at_rest,"
            "grows,error\n";
    for (int r = 0; r < regimeRows; ++r) {
        for (int c = 0; c < regimeColumns; ++c) {
            const RegimeCell& cell = map.cells[r][c];
            text += formatNumber(regimeRatio(c)) + "," + formatNumber(regimeFrictionRatio(r)) +
                    "," + std::to_string(cell.stopsPerCycle) + ",";
            if (std::isfinite(cell.amplitudeExact)) {
                text += formatNumber(cell.amplitudeExact);
            }
            text += ",";
            if (std::isfinite(cell.amplitudeChart)) {
                text += formatNumber(cell.amplitudeChart);
            }
            text += cell.converged ? ",1" : ",0";
            text += cell.atRest ? ",1" : ",0";
            text += cell.grows ? ",1," : ",0,";
            if (std::isfinite(cell.error)) {
                text += formatNumber(cell.error);
            }
            text += "\n";
        }
    }
    return text;
}

std::string timeCsv(const std::vector<ResponseSample>& rows) {
    std::string text = "t_s,y_m,v_m_s,force_N,friction_N\n";
    for (const ResponseSample& r : rows) {
        text += formatNumber(r.t) + "," + formatNumber(r.y) + "," + formatNumber(r.v) + "," +
                formatNumber(r.force) + "," + formatNumber(r.friction) + "\n";
    }
    return text;
}

} // namespace fv
