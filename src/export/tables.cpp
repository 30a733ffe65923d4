// The numbers written out. Every number is written in the shortest form that reads back
// to the same double: std::to_chars, which ignores the locale, in the CSV files, and the
// JSON library's own in the summary.
#include "export/tables.h"

#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>

namespace fv {

namespace {

constexpr double frameSeconds = stepsPerFrame * timeStep; // simulated time per frame [s]
constexpr double frameSlack = 1e-9;      // frames; far below one, far above rounding
constexpr double framesPerSecond = 10.0; // a frame is 0.1 s of motion

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

} // namespace

std::string formatNumber(double value) {
    if (!std::isfinite(value)) {
        return ""; // spreadsheets would read nan and inf as text
    }
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string summaryJson(const SummaryValues& v) {
    json j;
    j["input"] = {{"m", number(v.m)},   {"lambda", number(v.lambda)}, {"K", number(v.K)},
                  {"F", number(v.F)},   {"omf", number(v.omf)},       {"Fric", number(v.Fric)},
                  {"y0", number(v.y0)}, {"v0", number(v.v0)}};
    j["derived"] = {{"omega0", number(v.omega0)},
                    {"zeta", number(v.zeta)},
                    {"Yf", number(v.Yf)},
                    {"Yc", number(v.Yc)},
                    {"Ad", number(v.Ad)},
                    {"phi_deg", number(v.phiDeg)},
                    {"z", number(v.z)}};
    j["YZA"] = number(v.YZA, v.hasYZA);
    j["YZB"] = number(v.YZB, v.hasYZB);
    j["givenPointAmplitude"] = number(v.givenPointAmplitude, v.hasGivenPoint);
    if (v.hasGivenPoint) {
        j["givenPointMotion"] = v.givenPointContinuous ? "continuous" : "stickslip";
    } else {
        j["givenPointMotion"] = nullptr; // no amplitude, no kind of motion
    }
    j["continuousRange"] = {{"low", v.continuousRange.low},
                            {"high", v.continuousRange.high},
                            {"zLow", number(v.zLow)},
                            {"zHigh", number(v.zHigh)}};
    j["exact"] = {{"amplitude_m", number(v.exact.amplitude)},
                  {"stopsPerCycle", v.exact.stopsPerCycle},
                  {"stuckFraction", number(v.exact.stuckFraction)},
                  {"converged", v.exact.converged},
                  {"atRest", v.exact.atRest},
                  {"periods", v.exact.periods}};
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
    std::string text =
        "z,friction_ratio,stops_per_cycle,amplitude_exact,amplitude_chart,converged,at_rest\n";
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
            text += cell.atRest ? ",1\n" : ",0\n";
        }
    }
    return text;
}

long framesIn(double seconds) {
    return static_cast<long>(std::floor(seconds / frameSeconds + frameSlack));
}

std::string timeCsv(const MotionParams& p, MotionState start, double seconds) {
    std::string text = "t_s,y_m,v_m_s,force_N,friction_N\n";
    const long frames = framesIn(seconds);
    MotionState s = start;
    for (long k = 0; k <= frames; ++k) {
        if (k > 0) {
            advanceFrame(p, &s);
        }
        // The time of frame k is k tenths of a second, written as such; the integration
        // keeps its own running sum, at which the forces are taken.
        const TimeSample sample = timeSample(p, s);
        text += formatNumber(static_cast<double>(k) / framesPerSecond) + "," + formatNumber(s.y) +
                "," + formatNumber(s.v) + "," + formatNumber(sample.force) + "," +
                formatNumber(sample.friction) + "\n";
    }
    return text;
}

} // namespace fv
