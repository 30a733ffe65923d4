// The right half's panels: the phase plane of the motion as it plays, with the exact
// steady orbit over it, and the work of one cycle of the exact steady motion.
#include <algorithm>
#include <cmath>

#include "picture/axes.h"
#include "picture/clear.h"

namespace fv {

namespace {

constexpr double headroom = 1.15;                  // a panel's edge over its largest value
constexpr double stateRadius = 0.013;              // the state now [window units]
constexpr Box barsBox = {0.40, 0.30, 0.94, 0.80};  // the energy's bars [window units]
constexpr Box loopBox = {0.17, -0.40, 0.94, 0.10}; // friction against displacement
constexpr double barGap = 0.2;                     // between bars, of a bar's height
constexpr int barCount = 3;

double largestMagnitude(const std::vector<double>& values) {
    double m = 0.0;
    for (const double v : values) {
        if (std::isfinite(v)) {
            m = std::fmax(m, std::fabs(v));
        }
    }
    return m;
}

// A symmetric range that holds magnitude, or ±1 where there is nothing to hold.
double halfRange(double magnitude) {
    return magnitude > 0.0 ? headroom * magnitude : 1.0;
}

void addNoSteadyMotion(Scene* scene, const State& s, Point2 at) {
    addText(scene, at, shown(s, catalogText("定常運動がない")), textHeight, ink::black);
}

} // namespace

void addPhasePlane(Scene* scene, const State& s) {
    const Motion& m = s.motion;
    const EnteredCycle& cycle = s.session.cycle.cycle;
    const bool orbit = s.session.cycle.ready && cycle.settled;
    std::vector<double> ys = {m.stateY[0]};
    std::vector<double> vs = {m.stateY[1]};
    for (int k = 1; k <= m.timeRingIndex; ++k) {
        ys.push_back(m.timeCurves[0][k]);
        vs.push_back(m.velocityRing[k]);
    }
    if (orbit) {
        for (const CyclePoint& p : cycle.orbit) {
            ys.push_back(p.y);
            vs.push_back(p.v);
        }
    }
    const double yh = halfRange(largestMagnitude(ys));
    const double vh = halfRange(largestMagnitude(vs));
    const ChartFrame f = {rightChartBox, -yh, yh, -vh, vh};
    addText(scene, {rightChartBox.left, 0.92}, shown(s, catalogText("位相平面")), titleTextHeight,
            ink::black, Anchor::start, true);
    addChartAxes(scene, f, shown(s, catalogText("変位 y [m]")),
                 shown(s, catalogText("速度 v [m/s]")));
    addLine(scene, {chartPoint(f, -yh, 0.0), chartPoint(f, yh, 0.0)}, ink::grey, 1.0);
    addLine(scene, {chartPoint(f, 0.0, -vh), chartPoint(f, 0.0, vh)}, ink::grey, 1.0);
    std::vector<Point2> trace;
    for (int k = 1; k <= m.timeRingIndex; ++k) {
        trace.push_back(chartPoint(f, m.timeCurves[0][k], m.velocityRing[k]));
    }
    trace.push_back(chartPoint(f, m.stateY[0], m.stateY[1]));
    addClippedLine(scene, trace, f.box, ink::blue, curveWidth);
    std::vector<Point2> closed;
    if (orbit) {
        for (const CyclePoint& p : cycle.orbit) {
            closed.push_back(chartPoint(f, p.y, p.v));
        }
        addClippedLine(scene, closed, f.box, ink::vermillion, enteredWidth, Stroke::dashed);
    }
    addDisc(scene, chartPoint(f, m.stateY[0], m.stateY[1]), stateRadius, ink::black);
    const double x = rightChartBox.left;
    addLegendLine(scene, {x, legendTopY}, shown(s, catalogText("運動の軌跡")), ink::blue,
                  curveWidth, Stroke::solid);
    if (orbit) {
        addLegendLine(scene, {x, legendTopY - legendRowStep},
                      shown(s, catalogText("厳密な定常軌道")), ink::vermillion, enteredWidth,
                      Stroke::dashed);
    } else {
        addNoSteadyMotion(scene, s, {x, legendTopY - legendRowStep});
    }
    addText(scene, {x, legendTopY - 2 * legendRowStep},
            shown(s, catalogText("v = 0 の線分: 止まっている間")), textHeight, ink::black);
}

void addEnergy(Scene* scene, const State& s) {
    const EnteredCycle& cycle = s.session.cycle.cycle;
    addText(scene, {rightChartBox.left, 0.92}, shown(s, catalogText("1 周期のエネルギー [J]")),
            titleTextHeight, ink::black, Anchor::start, true);
    if (!(s.session.cycle.ready && cycle.settled)) {
        addNoSteadyMotion(scene, s, {rightChartBox.left, 0.70});
        return;
    }
    const CycleEnergy& e = cycle.energy;
    const double works[barCount] = {e.input, e.viscous, e.friction};
    const char* names[barCount] = {catalogText("外力の仕事"), catalogText("粘性減衰"),
                                   catalogText("摩擦")};
    const Rgb colors[barCount] = {ink::orange, ink::skyBlue, ink::blue};
    const double most = std::fmax(std::fabs(e.input), std::fmax(e.viscous, e.friction));
    const double rowHeight = (barsBox.top - barsBox.bottom) / barCount;
    for (int k = 0; k < barCount; ++k) {
        const double top = barsBox.top - k * rowHeight;
        const double bottom = top - (1.0 - barGap) * rowHeight;
        const double share = most > 0.0 ? std::fabs(works[k]) / most : 0.0;
        const double right = barsBox.left + 0.6 * (barsBox.right - barsBox.left) * share;
        addText(scene, {barsBox.left - 0.015, bottom + 0.3 * rowHeight}, shown(s, names[k]),
                textHeight, ink::black, Anchor::end);
        addRect(scene, {barsBox.left, bottom, right, top}, colors[k]);
        addText(scene, {right + 0.015, bottom + 0.3 * rowHeight}, readoutText(works[k], 4) + " J",
                textHeight, ink::black);
    }
    addText(scene, {rightChartBox.left, barsBox.bottom - 0.03},
            shown(s, catalogText("収支 = ")) + readoutText(e.input - e.viscous - e.friction, 2) +
                " J",
            tickTextHeight, ink::black);
    std::vector<double> ys;
    std::vector<double> fs;
    for (const CyclePoint& p : cycle.orbit) {
        ys.push_back(p.y);
        fs.push_back(p.friction);
    }
    const double yh = halfRange(largestMagnitude(ys));
    const double fh = halfRange(largestMagnitude(fs));
    const ChartFrame f = {loopBox, -yh, yh, -fh, fh};
    addChartAxes(scene, f, shown(s, catalogText("変位 y [m]")),
                 shown(s, catalogText("摩擦力 [N]")));
    std::vector<Point2> loop;
    for (const CyclePoint& p : cycle.orbit) {
        loop.push_back(chartPoint(f, p.y, p.friction));
    }
    addClippedLine(scene, loop, f.box, ink::vermillion, enteredWidth);
    addText(scene, {rightChartBox.left, legendTopY - legendRowStep},
            shown(s, catalogText("面積 = 摩擦の仕事")), textHeight, ink::black);
    addText(scene, {rightChartBox.left, legendTopY - 2 * legendRowStep},
            "4·Fric·A = " + readoutText(4.0 * s.input.Fric * cycle.amplitude, 4) + " J", textHeight,
            ink::black);
}

} // namespace fv
