// The files of a pass, from the state as the dialogue left it.
#include "export/pass_files.h"

namespace fv {

namespace {

constexpr int pairCount = familySize + 1;

} // namespace

bool passFileTexts(const State& s, double seconds, std::string texts[passFileCount]) {
    std::vector<ResponseSample> rows;
    if (!timeResponse(s.input, s.derived, seconds, &rows)) {
        return false;
    }
    const Chart& c = s.chart;
    CurvePair pairs[pairCount];
    pairs[0] = {"entered", s.derived.zeta, &c.continuousCurve, &c.stickSlipCurve};
    for (int k = 0; k < familySize; ++k) {
        pairs[k + 1] = {"family", zetaTable[k], &c.continuousCurves[k], &c.stickSlipCurves[k]};
    }
    texts[0] = summaryJson(summarize(s.input, s.derived, s.chart));
    texts[1] = frequencyCsv(pairs, pairCount, c.sweepCount);
    texts[2] = timeCsv(rows);
    return true;
}

} // namespace fv
