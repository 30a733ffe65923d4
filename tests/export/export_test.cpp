// The export of the real binary: summary.json holds the in-process results bit for
// bit, the CSV files have their rows and values, and a folder that cannot be written
// or a disk that fills up leaves one line on standard error, status 1 and no file.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "exact/steady.h"
#include "export/png.h"
#include "export/tables.h"
#include "session/motion.h"
#include "state/state.h"
#include "support/dialogue_pass.h"
#include "support/process.h"
#include "timeresp/integrate.h"

namespace {

constexpr double limitSeconds = 120.0;
constexpr int gridRows = 11 * 1201;

// A fresh folder under /tmp, removed with everything in it at the end of the test.
struct TempFolder {
    std::string path;
    TempFolder() {
        char name[] = "/tmp/fv-export-XXXXXX";
        path = mkdtemp(name);
    }
    ~TempFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
};

// The names in a folder, one per line.
std::string listing(const std::string& path) {
    std::string out;
    const std::string command = "ls -A '" + path + "' 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    char buffer[256];
    while (p != nullptr && std::fgets(buffer, sizeof buffer, p) != nullptr) {
        out += buffer;
    }
    if (p != nullptr) {
        pclose(p);
    }
    return out;
}

ProcessResult exportRun(const std::string& input, const std::vector<std::string>& args,
                        const std::string& shellPrefix = "") {
    ChildOptions options;
    if (shellPrefix.empty()) {
        options.args = args;
        return runProcess(FRICTIONVIB_PATH, input, {"LC_ALL=C.UTF-8"}, limitSeconds, false,
                          options);
    }
    std::string command = shellPrefix + " exec '" FRICTIONVIB_PATH "'";
    for (const std::string& a : args) {
        command += " '" + a + "'";
    }
    options.args = {"-c", command};
    return runProcess("/bin/bash", input, {"LC_ALL=C.UTF-8"}, limitSeconds, false, options);
}

// A JSON number equal to value bit for bit.
::testing::AssertionResult sameDouble(const nlohmann::json& j, double value) {
    if (!j.is_number()) {
        return ::testing::AssertionFailure() << j.dump() << " is not a number";
    }
    const double read = j.get<double>();
    if (std::memcmp(&read, &value, sizeof value) == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << fv::formatNumber(read) << " != " << fv::formatNumber(value);
}

TEST(Export, SummaryAndCurvesEqualTheInProcessPassBitForBit) {
    const std::string input = "1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n";
    TempFolder folder;
    const std::string dir = folder.path + "/new/out";
    const ProcessResult r = exportRun(input, {"--export", dir, "--duration", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const auto owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', input);

    const nlohmann::json j = nlohmann::json::parse(readFile(dir + "/summary.json"));
    const std::pair<const char*, double> inputs[] = {
        {"m", s.input.m},     {"lambda", s.input.lambda}, {"K", s.input.K},   {"F", s.input.F},
        {"omf", s.input.omf}, {"Fric", s.input.Fric},     {"y0", s.input.y0}, {"v0", s.input.v0}};
    for (const auto& [key, value] : inputs) {
        EXPECT_TRUE(sameDouble(j["input"][key], value)) << key;
    }
    const std::pair<const char*, double> derived[] = {
        {"omega0", s.derived.omega0}, {"zeta", s.derived.zeta},
        {"Yf", s.derived.Yf},         {"Yc", s.derived.Yc},
        {"Ad", s.derived.Ad},         {"phi_deg", s.derived.phi / 0.01745329252},
        {"z", s.derived.givenRatio}};
    for (const auto& [key, value] : derived) {
        EXPECT_TRUE(sameDouble(j["derived"][key], value)) << key;
    }
    EXPECT_TRUE(sameDouble(j["YZA"], s.derived.YZA));
    EXPECT_TRUE(sameDouble(j["YZB"], s.derived.YZB));
    EXPECT_TRUE(sameDouble(j["givenPointAmplitude"], s.derived.givenPointAmplitude));
    // The entered curves' range (the family pass overwrites the variable afterwards):
    // stick-slip up to z = 0.5875, so the red point at z = 0.5 shows YZB.
    EXPECT_EQ(j["continuousRange"]["low"], 235);
    EXPECT_EQ(j["continuousRange"]["high"], 1200);
    EXPECT_TRUE(sameDouble(j["continuousRange"]["zLow"], 235 * 0.0025));
    EXPECT_EQ(j["givenPointMotion"], "stick-slip");
    const fv::ExactSteady exact =
        fv::exactSteadyState({s.derived.zeta, s.derived.givenRatio, s.derived.Yf, s.derived.Yc});
    EXPECT_TRUE(sameDouble(j["exact"]["amplitude_m"], exact.amplitude));
    EXPECT_EQ(j["exact"]["stopsPerCycle"], 2);
    EXPECT_EQ(j["exact"]["converged"], true);
    EXPECT_TRUE(sameDouble(j["exact"]["error_m"], exact.error));
    EXPECT_LE(j["exact"]["error_m"].get<double>(), 1e-10 * exact.amplitude);

    const std::vector<std::string> freq = lines(readFile(dir + "/frequency.csv"));
    ASSERT_EQ(freq.size(), gridRows + 1u);
    EXPECT_EQ(freq[0], "curve,zeta,z,continuous_m,stickslip_m");
    EXPECT_EQ(freq[1 + 200],
              "entered,0.1,0.5,," + fv::formatNumber(s.chart.stickSlipCurve.amplitude[200]));
    // Family member 3 (zeta 0.1) at ratio 2: continuous only.
    EXPECT_EQ(freq[1 + 4 * 1201 + 800],
              "family,0.1,2," + fv::formatNumber(s.chart.continuousCurves[3].amplitude[800]) + ",");

    const std::vector<std::string> time = lines(readFile(dir + "/time.csv"));
    ASSERT_EQ(time.size(), 1u + 51u) << "t = 0 and 50 frames of 0.1 s";
    EXPECT_EQ(time[1], "0,0.1,0,0,0.1");
    s.motion.stateY[0] = s.input.y0;
    s.motion.stateY[1] = s.input.v0;
    s.motion.simTime = 0.0;
    for (int k = 0; k < 50; ++k) {
        fv::advanceMotion(s); // the window's frames
    }
    EXPECT_EQ(time[51],
              "5," + fv::formatNumber(s.motion.stateY[0]) + "," +
                  fv::formatNumber(s.motion.stateY[1]) + "," +
                  fv::formatNumber(std::sin(s.input.omf * s.motion.simTime) * s.input.F) + "," +
                  fv::formatNumber(-fv::frictionForce(fv::motionParams(s), s.motion.simTime,
                                                      s.motion.stateY[0], s.motion.stateY[1])));
}

TEST(Export, MissingValuesAreNullOrEmpty) {
    // Resonance at zeta = 0.1 with strong friction: no stick-slip solution at z = 1.
    TempFolder folder;
    const ProcessResult r = exportRun("1 0.2 1\n1 1\n0.2\n0 0\n", {"-o", folder.path});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(readFile(folder.path + "/summary.json"));
    EXPECT_TRUE(j["YZB"].is_null());
    EXPECT_TRUE(j["YZA"].is_number());
    const std::vector<std::string> freq = lines(readFile(folder.path + "/frequency.csv"));
    ASSERT_EQ(freq.size(), gridRows + 1u);
    EXPECT_EQ(freq[1 + 400], "entered,0.1,1," + fv::formatNumber(j["YZA"].get<double>()) + ",");
}

// zeta = 0.05, Yc/Yf = 0.05 at resonance: short stick-slip runs near z = 0.3 once
// erased the whole resonance peak and sent the red point off the chart.
TEST(Export, LightDampingShowsTheResonancePeak) {
    TempFolder folder;
    const ProcessResult r = exportRun("1 0.1 1\n1 1\n0.05\n0 0\n", {"-o", folder.path});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(readFile(folder.path + "/summary.json"));
    EXPECT_EQ(j["continuousRange"]["low"], 99);
    EXPECT_EQ(j["continuousRange"]["high"], 1200);
    EXPECT_EQ(j["givenPointMotion"], "continuous");
    EXPECT_EQ(j["givenPointAmplitude"], j["YZA"]);
    EXPECT_NEAR(j["YZA"].get<double>(), 9.3633, 5e-5);
    EXPECT_NEAR(j["exact"]["amplitude_m"].get<double>() / j["YZA"].get<double>(), 1.0, 1e-6);
    EXPECT_EQ(j["exact"]["stopsPerCycle"], 0);
}

// A negative forcing frequency (the force of the other sign) integrates and settles as
// its magnitude does from rest; a mass that never moves is at rest, amplitude 0.
TEST(Export, NegativeForcingFrequencyAndAMassThatNeverMoves) {
    TempFolder folder;
    const std::string input = "1 0.2 1\n0.5 -0.5\n0.2\n0.1 0\n";
    ASSERT_EQ(exportRun(input, {"-o", folder.path + "/minus"}).exitCode, 0);
    ASSERT_EQ(exportRun("1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n", {"-o", folder.path + "/plus"}).exitCode,
              0);
    const std::string time = readFile(folder.path + "/minus/time.csv");
    EXPECT_EQ(time.find("nan"), std::string::npos);
    EXPECT_EQ(lines(time).size(), 1u + 201u);
    const nlohmann::json minus =
        nlohmann::json::parse(readFile(folder.path + "/minus/summary.json"));
    const nlohmann::json plus = nlohmann::json::parse(readFile(folder.path + "/plus/summary.json"));
    EXPECT_NEAR(minus["exact"]["amplitude_m"].get<double>() /
                    plus["exact"]["amplitude_m"].get<double>(),
                1.0, 1e-12);
    EXPECT_EQ(minus["exact"]["stopsPerCycle"], plus["exact"]["stopsPerCycle"]);

    ASSERT_EQ(exportRun("1 0.2 1\n0.5 0.5\n1e300\n0 0\n", {"-o", folder.path + "/held"}).exitCode,
              0);
    const nlohmann::json held = nlohmann::json::parse(readFile(folder.path + "/held/summary.json"));
    EXPECT_EQ(held["givenPointAmplitude"], 0.0);
    EXPECT_EQ(held["givenPointMotion"], "rest");
    EXPECT_EQ(held["exact"]["atRest"], true);
}

// Undamped at resonance with Yc/Yf = 0.5 no steady state exists: none is claimed.
TEST(Export, MotionThatGrowsWithoutBoundHasNoAmplitude) {
    TempFolder folder;
    ASSERT_EQ(exportRun("1 0 1\n1 1\n0.5\n0 0\n", {"-o", folder.path}).exitCode, 0);
    const nlohmann::json j = nlohmann::json::parse(readFile(folder.path + "/summary.json"));
    EXPECT_TRUE(j["exact"]["amplitude_m"].is_null());
    EXPECT_EQ(j["exact"]["converged"], false);
    EXPECT_EQ(j["exact"]["growsWithoutBound"], true);
    EXPECT_TRUE(j["exact"]["error_m"].is_null());
}

// One verdict where the closed forms cannot hold: a static force that holds the mass
// (its continuous solution sticks at the turning points, yet a stick-slip motion of
// YZB coexists with the rest), undamped resonance that grows, and undamped resonance
// with enough friction, where the exact motion sticks although no closed form holds.
TEST(Export, OneVerdictWhereTheClosedFormsCannotHold) {
    TempFolder folder;
    const auto summaryOf = [&](const std::string& input, std::vector<std::string> args,
                               std::string* out) {
        const std::string dir = folder.path + "/" + std::to_string(std::rand());
        args.insert(args.begin(), {"-o", dir});
        const ProcessResult r = exportRun(input, args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        *out = r.out;
        return nlohmann::json::parse(readFile(dir + "/summary.json"));
    };
    std::string console;
    const nlohmann::json held =
        summaryOf("1 0.2 1\n1 0.8\n0.3\n0 0\n", {"--static-friction", "3"}, &console);
    EXPECT_EQ(held["givenPointMotion"], "rest");
    EXPECT_EQ(held["givenPointAmplitude"], 0.0);
    EXPECT_TRUE(held["YZA"].is_null());
    EXPECT_NEAR(held["YZB"].get<double>(), 3.1829, 1e-4);
    const fv::ExactSteady orbit = fv::exactSteadyState({0.1, 0.8, 1.0, 0.3, 3.0}, 2.5, 0.0);
    EXPECT_NEAR(orbit.amplitude, held["YZB"].get<double>(), 1e-7) << "from x = 2.5, YZB's motion";
    EXPECT_EQ(held["continuousRange"]["zLow"], 0.985) << "only where the mass turns";
    EXPECT_EQ(held["continuousRange"]["zHigh"], 1.0475);
    EXPECT_NE(console.find("YZA: この z で止まらずに動き続ける運動はない"), std::string::npos);
    EXPECT_NE(console.find("静止したマスは動き出さない"), std::string::npos);

    const nlohmann::json grows = summaryOf("1 0 1\n1 1\n0.3\n0 0\n", {}, &console);
    EXPECT_EQ(grows["givenPointMotion"], "grows");
    EXPECT_TRUE(grows["givenPointAmplitude"].is_null());

    const nlohmann::json sticks = summaryOf("1 0 1\n1 1\n0.8\n0 0\n", {}, &console);
    EXPECT_EQ(sticks["givenPointMotion"], "stick-slip");
    EXPECT_EQ(sticks["givenPointAmplitude"], sticks["exact"]["amplitude_m"]);
    EXPECT_NEAR(sticks["givenPointAmplitude"].get<double>(), 0.2994, 1e-4);
    EXPECT_EQ(sticks["exact"]["stopsPerCycle"], 2);
}

// A system the model means nothing by is refused before any file is written, whatever
// file is asked for; the dialogue alone still takes it.
TEST(Export, MeaninglessSystemsWriteNothing) {
    TempFolder folder;
    const std::pair<std::string, std::string> systems[] = {
        {"-1 0.2 1\n1 1\n0.3\n0 0\n", "m = -1 kg: must be above 0"},
        {"1 0.2 0\n1 1\n0.3\n0 0\n", "K = 0 N/m: must be above 0"},
        {"1 -0.2 1\n1 1\n0.3\n0 0\n", "lambda = -0.2 N/(m/s): must be 0 or more"},
        {"1 0.2 1\n1 0\n0.3\n0 0\n", "omf = 0 rad/s: must not be 0"},
        {"1 0.2 1\n1 1\n-0.3\n0 0\n", "Fric = -0.3 N: must be 0 or more"},
        {"1 0.2 1\n1 1\n0.3\nnan 0\n", "y0 = nan m: not a finite number"},
        {"1 0.2 1\n1e400 1\n0.3\n0 0\n", "F = inf N: not a finite number; F must be 0 or more"}};
    const std::string out = folder.path + "/out";
    for (const auto& [input, message] : systems) {
        for (const std::vector<std::string>& args : {std::vector<std::string>{"-o", out},
                                                     {"--png", out + ".png"},
                                                     {"--regime-map", out}}) {
            const ProcessResult r = exportRun(input, args);
            EXPECT_EQ(r.exitCode, 2) << message;
            EXPECT_EQ(r.err, "frictionvib: " + message + "; no file written\n");
            EXPECT_EQ(listing(folder.path), "") << message;
        }
    }
    EXPECT_EQ(exportRun(systems[0].first, {"--batch"}).exitCode, 0);
}

TEST(Export, UnwritableFolderOrFullDiskLeavesNoFile) {
    const std::string input = "1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n";
    TempFolder folder;
    std::ofstream(folder.path + "/file") << "x";
    const ProcessResult blocked = exportRun(input, {"-o", folder.path + "/file/out"});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_EQ(std::count(blocked.err.begin(), blocked.err.end(), '\n'), 1) << blocked.err;
    EXPECT_NE(blocked.err.find(folder.path + "/file"), std::string::npos) << blocked.err;
    EXPECT_NE(blocked.err.find("Not a directory"), std::string::npos) << blocked.err;

    // Files may grow to 64 KiB only: frequency.csv (about 700 KB) cannot be written.
    const std::string out = folder.path + "/full";
    const ProcessResult full = exportRun(input, {"-o", out}, "trap '' XFSZ; ulimit -f 64;");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find(out + "/frequency.csv: File too large"), std::string::npos) << full.err;
    EXPECT_EQ(listing(folder.path), "file\n") << "the folder the export made goes with it";
    EXPECT_EQ(listing(out), "") << "nothing written, no temporary left";

    // The last file cannot take its name (a folder has it): the files of an earlier
    // export stay as they were, and no new one is left beside them.
    const std::string earlier = folder.path + "/earlier";
    ASSERT_EQ(std::system(("mkdir -p '" + earlier + "/time.csv'").c_str()), 0);
    std::ofstream(earlier + "/summary.json") << "earlier";
    const ProcessResult blockedLast = exportRun(input, {"-o", earlier});
    EXPECT_EQ(blockedLast.exitCode, 1);
    EXPECT_NE(blockedLast.err.find(earlier + "/time.csv: Is a directory"), std::string::npos)
        << blockedLast.err;
    EXPECT_EQ(readFile(earlier + "/summary.json"), "earlier");
    EXPECT_EQ(listing(earlier), "summary.json\ntime.csv\n");
}

} // namespace

// The regime map written with no display at all: every cell in the CSV, the kinds of
// motion where the physics puts them, and the PNG as the window draws the map.
namespace {

TEST(Export, RegimeMapFilesWithoutDisplay) {
    TempFolder folder;
    const std::string prefix = folder.path + "/map";
    const ProcessResult r = exportRun("1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n", {"--regime-map", prefix});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> rows = lines(readFile(prefix + ".csv"));
    ASSERT_EQ(rows.size(), 1u + 61u * 120u);
    EXPECT_EQ(rows[0], "z,friction_ratio,stops_per_cycle,amplitude_exact,amplitude_chart,"
                       "converged,at_rest,grows,error");
    // The last column, the estimated distance to the steady state, apart from the rest.
    const auto split = [](const std::string& row, double* error) {
        const std::size_t at = row.rfind(',');
        *error = std::stod(row.substr(at + 1));
        return row.substr(0, at);
    };
    double error = NAN;
    // Row 20 (Yc/Yf = 0.4), column 19 (z = 0.5): two stops, the chart's YZB.
    const std::string cell = split(rows[1 + 20 * 120 + 19], &error);
    EXPECT_LE(error, 1e-10 * std::stod(cell.substr(cell.find(",2,") + 3)));
    EXPECT_EQ(cell.rfind("0.5,0.4,2,", 0), 0u) << cell;
    const std::size_t exactAt = cell.find(",2,") + 3;
    const std::size_t chartAt = cell.find(',', exactAt) + 1;
    EXPECT_NEAR(std::stod(cell.substr(exactAt)) / std::stod(cell.substr(chartAt)), 1.0, 1e-6);
    EXPECT_EQ(cell.substr(cell.size() - 6), ",1,0,0");
    // No stops, told apart by at_rest: the mass that never moves (Yc/Yf = 1.2) and the
    // motion that never stops (z = 2.5, Yc/Yf = 0.1).
    const std::string rest = split(rows[1 + 60 * 120 + 19], &error);
    EXPECT_EQ(error, 0.0);
    EXPECT_EQ(rest.rfind("0.5,1.2,0,0,", 0), 0u) << rest;
    EXPECT_EQ(rest.substr(rest.size() - 6), ",1,1,0") << rest;
    const std::string moving = split(rows[1 + 5 * 120 + 99], &error);
    EXPECT_EQ(moving.rfind("2.5,0.1,0,", 0), 0u) << moving;
    EXPECT_EQ(moving.substr(moving.size() - 6), ",1,0,0") << moving;

    fv::RgbPicture picture;
    std::string message;
    ASSERT_TRUE(fv::readPng(prefix + ".png", &picture, &message)) << message;
    ASSERT_EQ(picture.width, 800);
    // The cell of z = 2.5, Yc/Yf = 0.1 (motion that never stops) in pale yellow: map
    // column 99 at pixel 434 + 3 * 99 + 1, row 5 at 405 + 6 * 5 + 3 from the bottom.
    const unsigned char* p = &picture.rgb[static_cast<std::size_t>(
        ((799 - (405 + 6 * 5 + 3)) * 800 + 434 + 3 * 99 + 1) * 3)];
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(p[2], 140);
}

} // namespace

namespace {

// Static friction: Fs = Fric given changes no number of the files but the two it adds;
// Fs above Fric is printed and written; one below Fric, negative or not a number is a
// usage error. A mass the static force holds (Ys/Yf = 1.2) never moves, although the
// sliding force alone (Yc/Yf = 0.6) would let it.
TEST(Export, StaticFrictionAboveSlidingFriction) {
    TempFolder folder;
    const std::string input = "1 0.2 1\n1 0.5\n0.6\n0 0\n";
    ASSERT_EQ(exportRun(input, {"-o", folder.path + "/plain"}).exitCode, 0);
    ASSERT_EQ(exportRun(input, {"-o", folder.path + "/equal", "--static-friction", "0.6"}).exitCode,
              0);
    EXPECT_EQ(readFile(folder.path + "/plain/time.csv"), readFile(folder.path + "/equal/time.csv"));
    EXPECT_EQ(readFile(folder.path + "/plain/frequency.csv"),
              readFile(folder.path + "/equal/frequency.csv"));
    nlohmann::json equal = nlohmann::json::parse(readFile(folder.path + "/equal/summary.json"));
    EXPECT_EQ(equal["input"]["Fs"], 0.6);
    equal["input"].erase("Fs");
    equal["derived"].erase("Ys");
    EXPECT_EQ(equal, nlohmann::json::parse(readFile(folder.path + "/plain/summary.json")));

    const ProcessResult held =
        exportRun(input, {"-o", folder.path + "/held", "--static-friction", "1.2"});
    ASSERT_EQ(held.exitCode, 0) << held.err;
    EXPECT_NE(held.out.find("Fs[N]= 1.2000"), std::string::npos);
    const nlohmann::json j = nlohmann::json::parse(readFile(folder.path + "/held/summary.json"));
    EXPECT_EQ(j["derived"]["Ys"], 1.2);
    EXPECT_EQ(j["exact"]["atRest"], true);
    EXPECT_EQ(
        nlohmann::json::parse(readFile(folder.path + "/plain/summary.json"))["exact"]["atRest"],
        false);

    for (const char* bad : {"0.5", "-1", "nan", "inf"}) {
        const ProcessResult r =
            exportRun(input, {"-o", folder.path + "/bad", "--static-friction", bad});
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_NE(r.err.find("--static-friction"), std::string::npos) << bad;
    }
    struct stat info = {};
    EXPECT_NE(stat((folder.path + "/bad").c_str(), &info), 0); // nothing written
}

} // namespace

namespace {

// The window's picture: a static force equal to the sliding one changes no pixel; one
// above it shows the exact dots from the start, with a line of the legend for them.
TEST(Export, StaticFrictionPicture) {
    TempFolder folder;
    const std::string input = "1 0.2 1\n1 0.8\n0.2\n0 0\n";
    const auto picture = [&](const std::string& name, std::vector<std::string> args) {
        args.insert(args.begin(), {"--png", folder.path + "/" + name});
        EXPECT_EQ(exportRun(input, args).exitCode, 0) << name;
        fv::RgbPicture p;
        std::string error;
        EXPECT_TRUE(fv::readPng(folder.path + "/" + name, &p, &error)) << error;
        return p.rgb;
    };
    const auto plain = picture("plain.png", {});
    EXPECT_EQ(picture("equal.png", {"--static-friction", "0.2"}), plain);
    const auto above = picture("above.png", {"--static-friction", "0.4"});
    EXPECT_NE(above, plain);
    // 'e' hides the dots that the static force shows.
    EXPECT_NE(picture("hidden.png", {"--static-friction", "0.4", "--keys", "e"}), above);
}

} // namespace
