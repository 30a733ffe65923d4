// The batch outputs. The export's values come from the state as the dialogue left them
// (the exact steady state at the entered ratio is computed for it); the pictures are
// drawn by the window module without a display.
#include "app/outputs.h"

#include "app/window_loader.h"
#include "export/atomic_file.h"
#include "export/report.h"
#include "session/keys.h"
namespace fv {

namespace {

constexpr int pairCount = familySize + 1;
constexpr const char* fileNames[] = {"summary.json", "frequency.csv", "time.csv"};
constexpr int fileCount = 3;

} // namespace

SummaryValues summaryOf(const State& s) {
    const Inputs& in = s.input;
    const Derived& d = s.derived;
    SummaryValues v = {};
    v.m = in.m;
    v.lambda = in.lambda;
    v.K = in.K;
    v.F = in.F;
    v.omf = in.omf;
    v.Fric = in.Fric;
    v.y0 = in.y0;
    v.v0 = in.v0;
    v.omega0 = d.omega0;
    v.zeta = d.zeta;
    v.Yf = d.Yf;
    v.Yc = d.Yc;
    v.Ad = d.Ad;
    v.phiDeg = d.phi / radiansPerDegree;
    v.z = d.givenRatio;
    v.YZA = d.YZA;
    v.hasYZA = d.hasYZA;
    v.YZB = d.YZB;
    v.hasYZB = d.hasYZB;
    v.continuousRange = d.enteredRange;
    v.zLow = s.chart.stickSlipCurve.ratio[d.enteredRange.low];
    v.zHigh = s.chart.stickSlipCurve.ratio[d.enteredRange.high];
    v.givenPointContinuous = d.givenPointContinuous;
    v.givenPointAmplitude = d.givenPointAmplitude;
    v.hasGivenPoint = d.givenPointContinuous ? d.hasYZA : d.hasYZB;
    v.exact = exactSteadyState({d.zeta, d.givenRatio, d.Yf, d.Yc});
    return v;
}

int exportFirstPass(State& s, const std::string& dir, double seconds) {
    std::string error;
    if (!makeFolder(dir, &error)) {
        return reportFailure("create", error);
    }
    const Chart& c = s.chart;
    CurvePair pairs[pairCount];
    pairs[0] = {"entered", s.derived.zeta, &c.continuousCurve, &c.stickSlipCurve};
    for (int k = 0; k < familySize; ++k) {
        pairs[k + 1] = {"family", zetaTable[k], &c.continuousCurves[k], &c.stickSlipCurves[k]};
    }
    const FileContent files[fileCount] = {
        {dir + "/" + fileNames[0], summaryJson(summaryOf(s))},
        {dir + "/" + fileNames[1], frequencyCsv(pairs, pairCount, c.sweepCount)},
        {dir + "/" + fileNames[2],
         timeCsv(motionParams(s), {0.0, s.input.y0, s.input.v0}, seconds)}};
    if (!writeFileSet(&s.files, files, fileCount, &error)) {
        return reportFailure("write", error);
    }
    return 0;
}

namespace {

// The window's picture after the frames and the keys the options ask for, drawn without
// a display by the window module; false after one line on standard error naming what.
bool drawPicture(State& s, const Options& options, const char* what, RgbPicture* picture) {
    std::string error;
    const WindowModule* window = loadWindowModule(&error);
    if (window == nullptr || !window->renderPictureOffscreen(&s, options.pictureFrames,
                                                             options.viewKeys, picture, &error)) {
        reportFailure(what, error);
        return false;
    }
    return true;
}

// The picture written to the --png path.
int writePicture(State& s, const Options& options) {
    RgbPicture picture;
    if (!drawPicture(s, options, "draw the picture:", &picture)) {
        return failureStatus;
    }
    FileContent file = {options.picturePath, ""};
    std::string error;
    if (!encodePng(picture, &file.bytes, &error)) {
        return reportFailure("write", options.picturePath + ": " + error);
    }
    if (!writeFileSet(&s.files, &file, 1, &error)) {
        return reportFailure("write", error);
    }
    return 0;
}

// The regime map of the entered damping ratio into PREFIX.csv and PREFIX.png (the window
// with the map shown), both or neither.
int writeRegimeMap(State& s, const Options& options) {
    const std::string& prefix = options.regimeMapPrefix;
    s.view.showRegimeMap = true;
    prepareRegimeMap(s);
    RgbPicture picture;
    if (!drawPicture(s, options, "draw the regime map:", &picture)) {
        return failureStatus;
    }
    std::string error;
    FileContent files[2] = {{prefix + ".csv", regimeCsv(s.session.regimeMap)},
                            {prefix + ".png", ""}};
    if (!encodePng(picture, &files[1].bytes, &error)) {
        return reportFailure("write", prefix + ".png: " + error);
    }
    if (!writeFileSet(&s.files, files, 2, &error)) {
        return reportFailure("write", error);
    }
    return 0;
}

} // namespace

int writeBatchOutputs(State& s, const Options& options) {
    int status = 0;
    if (!options.exportDir.empty()) {
        status = exportFirstPass(s, options.exportDir, options.exportSeconds);
    }
    if (status == 0 && !options.picturePath.empty()) {
        status = writePicture(s, options);
    }
    if (status == 0 && !options.regimeMapPrefix.empty()) {
        status = writeRegimeMap(s, options);
    }
    return status;
}

} // namespace fv
