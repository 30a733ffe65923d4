// The export of a first pass. The values come from the parameter set; the range and
// YZA and YZB are evaluated once more at the entered ratio (the same calls with the same values
// give the same doubles) to tell a missing solution from a value, which the parameter set does not
// keep.
#include "control/export_pass.h"

#include <cstdio>

#include "analysis/continuous.h"
#include "analysis/range.h"
#include "control/params.h"
#include "export/atomic_file.h"
#include "freqchar/stickslip.h"

namespace fv {

namespace {

constexpr double radiansPerDegree = 0.01745329252; // as the dialogue prints the phase lag
constexpr int pairCount = familySize + 1;
constexpr const char* fileNames[] = {"summary.json", "frequency.csv", "time.csv"};
constexpr int fileCount = 3;

} // namespace

SummaryValues currentSummary() {
    SummaryValues v = {};
    v.m = m;
    v.lambda = lambda;
    v.K = K;
    v.F = F;
    v.omf = omf;
    v.Fric = Fric;
    v.y0 = y0;
    v.v0 = v0;
    v.omega0 = omega0;
    v.zeta = zeta;
    v.Yf = Yf;
    v.Yc = Yc;
    v.Ad = Ad;
    v.phiDeg = phi / radiansPerDegree;
    v.z = givenRatio;
    double continuous = 0.0;
    v.hasYZA = continuousAmplitude(givenRatio, currentClosedFormSystem(), &continuous) == 1;
    v.YZA = YZA;
    double dwellAngle = 0.0;
    double stopPhase = 0.0;
    v.hasYZB =
        stickSlipAmplitude(givenRatio, currentClosedFormSystem(), &dwellAngle, &stopPhase) >= 0.0;
    v.YZB = YZB;
    // The family pass leaves its last member's range in continuousRange; the entered
    // curves' range comes back from trimming a copy again (the range depends on the
    // stick-slip curve alone).
    AmplitudeCurve trimmed = continuousCurve;
    trimContinuousCurve(trimmed, stickSlipCurve, sweepCount, &v.continuousRange);
    v.zLow = stickSlipCurve.ratio[v.continuousRange.low];
    v.zHigh = stickSlipCurve.ratio[v.continuousRange.high];
    v.givenPointContinuous = !(givenRatio < v.zLow || givenRatio > v.zHigh);
    v.exact = exactSteadyState({zeta, givenRatio, Yf, Yc});
    v.givenPointAmplitude = givenPointAmplitude;
    v.hasGivenPoint = v.givenPointContinuous ? v.hasYZA : v.hasYZB;
    return v;
}

int exportFirstPass(const std::string& dir, double seconds) {
    std::string error;
    if (!makeFolder(dir, &error)) {
        std::fprintf(stderr, "frictionvib: cannot create %s\n", error.c_str());
        return 1;
    }
    CurvePair pairs[pairCount];
    pairs[0] = {"entered", zeta, &continuousCurve, &stickSlipCurve};
    for (int k = 0; k < familySize; ++k) {
        pairs[k + 1] = {"family", zetaTable[k], &continuousCurves[k], &stickSlipCurves[k]};
    }
    const FileContent files[fileCount] = {
        {dir + "/" + fileNames[0], summaryJson(currentSummary())},
        {dir + "/" + fileNames[1], frequencyCsv(pairs, pairCount, sweepCount)},
        {dir + "/" + fileNames[2], timeCsv(currentMotionParams(), {0.0, y0, v0}, seconds)}};
    const bool ok = writeFileSet(files, fileCount, &error);
    if (!ok) {
        std::fprintf(stderr, "frictionvib: cannot write %s\n", error.c_str());
        return 1;
    }
    return 0;
}

} // namespace fv
