// The regime map in the clear view: the kind of steady motion over z and Yc/Yf, cells in
// the clear palette, numbered axes, the entered point and a legend in the reader's
// language.
#include <cmath>

#include "picture/axes.h"
#include "picture/clear.h"
#include "session/background.h"

namespace fv {

namespace {

constexpr double columnRatio = 0.025; // frequency ratio per column, the first centred on it
constexpr double pointRadius = 0.014; // the entered point [window units]
constexpr double swatch = 0.035;      // a legend's square [window units]

// Light tints of the clear palette: they stay apart under the colour-vision deficiencies
// the palette is chosen for, and the curves and text drawn over them stay readable.
constexpr Rgb neverStops = {0.78f, 0.90f, 0.97f}; // sky blue
constexpr Rgb fewStops = {0.98f, 0.82f, 0.45f};   // orange
constexpr Rgb moreStops = {0.90f, 0.55f, 0.30f};  // vermillion
constexpr Rgb manyStops = {0.80f, 0.48f, 0.66f};  // reddish purple
constexpr Rgb atRest = {0.60f, 0.82f, 0.72f};     // bluish green
constexpr Rgb unsettled = {0.62f, 0.62f, 0.62f};
constexpr Rgb grows = {0.20f, 0.20f, 0.20f};
constexpr Rgb pending = {1.0f, 1.0f, 1.0f};

Rgb cellColor(const RegimeCell& cell) {
    switch (steadyKind(cell)) {
    case SteadyKind::grows:
        return grows;
    case SteadyKind::unsettled:
        return unsettled;
    case SteadyKind::atRest:
        return atRest;
    case SteadyKind::neverStops:
        return neverStops;
    case SteadyKind::fewStops:
        return fewStops;
    case SteadyKind::moreStops:
        return moreStops;
    default:
        return manyStops;
    }
}

void addLegend(Scene* scene, const State& s, bool complete, const JobProgress& progress) {
    struct Entry {
        Rgb color;
        const char* text;
    } entries[] = {
        {neverStops, catalogText("止まらない")},  {fewStops, catalogText("1–2 回止まる")},
        {moreStops, catalogText("3–4 回止まる")}, {manyStops, catalogText("5 回以上止まる")},
        {atRest, catalogText("静止のまま")},      {unsettled, catalogText("収束しない")},
        {grows, catalogText("限りなく増大")}};
    for (int k = 0; k < 7; ++k) {
        const double x = rightChartBox.left + (k % 2) * 0.40;
        const double y = legendTopY - (k / 2) * legendRowStep;
        addRect(scene, {x, y - 0.005, x + swatch, y - 0.005 + swatch}, entries[k].color);
        addText(scene, {x + swatch + 0.015, y}, shown(s, entries[k].text), textHeight, ink::black);
    }
    if (!complete) {
        addText(scene, {rightChartBox.left + 0.40, legendTopY - 3 * legendRowStep},
                shown(s, catalogText("計算中 ")) +
                    std::to_string(static_cast<int>(progress.fraction * 100.0)) + " %",
                textHeight, ink::black, Anchor::start, true);
    }
}

} // namespace

void addRegimeMap(Scene* scene, const State& s) {
    const bool complete = regimeMapCurrent(s);
    const JobProgress progress = regimeMapJobProgress(s.session, regimeSystem(s.derived));
    const RegimeMap* map = complete ? &s.session.regimeMap : regimeMapJobCells(s.session);
    const double zMax = (regimeColumns + 0.5) * columnRatio;
    const double rMax = (regimeRows - 0.5) * regimeRowStep;
    const ChartFrame f = {rightChartBox, 0.0, zMax, 0.0, rMax};
    addText(scene, {rightChartBox.left, 0.92},
            shown(s, catalogText("領域図 ζ = ")) + readoutText(s.derived.zeta, 4), titleTextHeight,
            ink::black, Anchor::start, true);
    addChartAxes(scene, f, shown(s, catalogText("振動数比 z = ωf/ω0")), "Yc/Yf");
    if (map != nullptr && (complete || progress.running)) {
        for (int r = 0; r < regimeRows; ++r) {
            for (int c = 0; c < regimeColumns; ++c) {
                const Point2 a = chartPoint(f, (c + 0.5) * columnRatio, (r - 0.5) * regimeRowStep);
                const Point2 b = chartPoint(f, (c + 1.5) * columnRatio, (r + 0.5) * regimeRowStep);
                const bool done = complete || regimeCellDone(s.session, r, c);
                addRect(scene, {a.x, std::fmax(a.y, f.box.bottom), b.x, b.y},
                        done ? cellColor(map->cells[r][c]) : pending);
            }
        }
        if (complete) {
            std::vector<Point2> edge;
            for (int c = 0; c < regimeColumns; ++c) {
                const double y = (regimeBoundaryRow(*map, c) - 0.5) * regimeRowStep;
                edge.push_back(chartPoint(f, (c + 0.5) * columnRatio, y));
                edge.push_back(chartPoint(f, (c + 1.5) * columnRatio, y));
            }
            addClippedLine(scene, edge, f.box, ink::black, 2.5);
        }
    }
    const double ratio = s.derived.Yc / s.derived.Yf;
    if (s.derived.givenRatio <= zMax && ratio >= 0.0 && ratio <= rMax) {
        const Point2 p = chartPoint(f, s.derived.givenRatio, ratio);
        addDisc(scene, p, pointRadius + 0.004, ink::white);
        addDisc(scene, p, pointRadius, ink::vermillion);
    }
    addLegend(scene, s, complete, progress);
}

} // namespace fv
