// The files of a pass, from the state as the dialogue left it.
#include "export/pass_files.h"

namespace fv {

namespace {

constexpr int pairCount = familySize + 1;

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

void passFileTexts(const State& s, double seconds, std::string texts[passFileCount]) {
    const Chart& c = s.chart;
    CurvePair pairs[pairCount];
    pairs[0] = {"entered", s.derived.zeta, &c.continuousCurve, &c.stickSlipCurve};
    for (int k = 0; k < familySize; ++k) {
        pairs[k + 1] = {"family", zetaTable[k], &c.continuousCurves[k], &c.stickSlipCurves[k]};
    }
    texts[0] = summaryJson(summaryOf(s));
    texts[1] = frequencyCsv(pairs, pairCount, c.sweepCount);
    texts[2] = timeCsv(motionParams(s), {0.0, s.input.y0, s.input.v0}, seconds);
}

} // namespace fv
