// The clear view's strip chart, mechanism and frequency chart: what the classic picture
// draws, with the scales it uses written on the axes.
#include <algorithm>
#include <cmath>

#include "picture/axes.h"
#include "picture/clear.h"
#include "session/background.h"
#include "timeresp/integrate.h"

namespace fv {

namespace {

constexpr double sampleSeconds = stepsPerFrame * timeStep; // a strip-chart sample [s]
constexpr double firstSweepEnd = 0.5 * sampleSeconds;      // a sweep that starts before
                                                           // this is the first [s]
constexpr double peakHeadroom = 1.15; // the chart's top over the entered curve's peak
constexpr double mechanismX = -0.09;  // the mass's centre line [window units]
constexpr double massHalf = 0.04;     // half the mass's side [window units]
constexpr double springTurns = 8;     // zigzags of the spring
constexpr double springHalfWidth = 0.02;
constexpr double arrowHead = 0.03;        // [window units]
constexpr double forceArrowLength = 0.22; // at the force's peak [window units]
constexpr double pointRadius = 0.014;     // the entered point [window units]
constexpr double dotRadius = 0.011;       // an exact dot [window units]
constexpr double labelGap = 0.012;        // a label beside what it names [window units]
constexpr double growsDotY = 0.97;        // the top of the frame: grows without bound

// The strip chart's frame: the sweep's time span across; the vertical scale the view's y
// keys set, as metres.
ChartFrame stripFrame(const State& s) {
    const View& v = s.view;
    const double t0 = s.motion.simTime - s.motion.timeRingIndex * sampleSeconds;
    const double span = v.timeRingCapacity * sampleSeconds;
    const double half = 1.0 / v.curveScale[0]; // the classic picture's half height [m]
    return {leftChartBox, t0, t0 + span, -half, half};
}

double stripY(const State& s, int row, int k) {
    return s.motion.timeCurves[row][k] * s.view.curveScale[row] / s.view.curveScale[0];
}

} // namespace

void addStripChart(Scene* scene, const State& s) {
    const ChartFrame f = stripFrame(s);
    addText(scene, {leftChartBox.left, 0.92}, shown(s, catalogText("時間応答")), titleTextHeight,
            ink::black, Anchor::start, true);
    addChartAxes(scene, f, shown(s, catalogText("時間 t [s]")), shown(s, catalogText("[m]")));
    const Rgb colors[timeRingRows] = {ink::vermillion, ink::green, ink::blue};
    const Stroke strokes[timeRingRows] = {Stroke::solid, Stroke::dashed, Stroke::dotted};
    const int last = s.motion.timeRingIndex;
    const bool firstSweep = f.x0 < firstSweepEnd;
    for (int row = timeRingRows - 1; row >= 0; --row) {
        std::vector<Point2> pts;
        for (int k = firstSweep ? 1 : 0; k <= last; ++k) {
            pts.push_back(chartPoint(f, f.x0 + k * sampleSeconds, stripY(s, row, k)));
        }
        addClippedLine(scene, pts, f.box, colors[row], row == 0 ? curveWidth + 0.5 : curveWidth,
                       strokes[row]);
    }
    const char* names[timeRingRows] = {catalogText("応答 y"), catalogText("外力 f/K"),
                                       catalogText("摩擦力 Fr/K")};
    for (int row = 0; row < timeRingRows; ++row) {
        addLegendLine(scene, {leftChartBox.left, legendTopY - row * legendRowStep},
                      shown(s, names[row]), colors[row], curveWidth, strokes[row]);
    }
    addText(scene, {leftChartBox.left, legendTopY - timeRingRows * legendRowStep},
            "t = " + readoutText(s.motion.simTime, 4) +
                " s,  y = " + readoutText(s.motion.stateY[0], 4) + " m",
            textHeight, ink::black);
}

void addMechanism(Scene* scene, const State& s) {
    const ChartFrame f = stripFrame(s);
    const double top = leftChartBox.top;
    const double y = std::clamp(chartPoint(f, f.x0, s.motion.stateY[0]).y,
                                leftChartBox.bottom + massHalf, top - 3.0 * massHalf);
    addLine(scene, {{mechanismX - 0.04, top}, {mechanismX + 0.04, top}}, ink::black, 3.0);
    std::vector<Point2> spring = {{mechanismX, top}};
    const double springTop = top - 0.02;
    const double springBottom = y + massHalf + 0.02;
    const int zigs = static_cast<int>(2 * springTurns);
    spring.push_back({mechanismX, springTop});
    for (int k = 1; k < zigs; ++k) {
        const double side = (k % 2 == 1 ? 1.0 : -1.0) * springHalfWidth;
        spring.push_back({mechanismX + side, springTop + (springBottom - springTop) * k / zigs});
    }
    spring.push_back({mechanismX, springBottom});
    spring.push_back({mechanismX, y + massHalf});
    addLine(scene, spring, ink::black, 1.5);
    addRect(scene, {mechanismX - massHalf, y - massHalf, mechanismX + massHalf, y + massHalf},
            ink::vermillion);
    // The external force's direction and phase, as the classic picture's arrow shows them.
    const TimeSample now = timeSample(motionParams(s), motionState(s));
    const double force = now.forcePhase * forceArrowLength;
    if (std::fabs(force) > arrowHead) {
        const double tip = y + force;
        const double back = force > 0 ? -arrowHead : arrowHead;
        const double x = mechanismX + massHalf + 0.025;
        addLine(scene, {{x, y}, {x, tip}}, ink::green, 2.5);
        addLine(scene,
                {{x - 0.6 * arrowHead, tip + back}, {x, tip}, {x + 0.6 * arrowHead, tip + back}},
                ink::green, 2.5);
    }
}

namespace {

// The highest finite amplitude of curve up to ratio zMax, or 0.
double peakOf(const AmplitudeCurve& c, int count, double zMax) {
    double peak = 0.0;
    for (int i = 0; i < count && i < curveCapacity; ++i) {
        if (c.ratio[i] <= zMax && std::isfinite(c.amplitude[i]) && c.amplitude[i] > peak) {
            peak = c.amplitude[i];
        }
    }
    return peak;
}

std::vector<Point2> curvePoints(const ChartFrame& f, const AmplitudeCurve& c, int count) {
    std::vector<Point2> pts;
    for (int i = 0; i < count && i < curveCapacity; ++i) {
        const double a = c.amplitude[i] >= 0.0 ? c.amplitude[i] : std::nan("");
        pts.push_back(chartPoint(f, c.ratio[i], a));
    }
    return pts;
}

ChartFrame frequencyFrame(const State& s) {
    const View& v = s.view;
    const Chart& c = s.chart;
    const double zMax = (1.0 - v.freqChartOrigin.x) * c.ratioStep / v.freqAxisScale;
    const int n = c.sweepCount;
    double peak = std::fmax(peakOf(c.continuousCurve, n, zMax), peakOf(c.stickSlipCurve, n, zMax));
    if (std::isfinite(s.derived.givenPointAmplitude) && s.derived.givenRatio <= zMax) {
        peak = std::fmax(peak, s.derived.givenPointAmplitude);
    }
    if (!(peak > 0.0)) {
        peak = std::fabs(s.derived.Yf) > 0.0 ? std::fabs(s.derived.Yf) : 1.0;
    }
    return {rightChartBox, 0.0, zMax, 0.0, peakHeadroom * peak};
}

// The amplitude of a family member at the ratio nearest z, either kind, or -1.
double memberAt(const State& s, int k, double z) {
    const Chart& c = s.chart;
    const int i = std::clamp(static_cast<int>(std::lround(z / c.ratioStep)), 0, curveCapacity - 1);
    const double a = c.continuousCurves[k].amplitude[i];
    return a >= 0.0 ? a : c.stickSlipCurves[k].amplitude[i];
}

// Each family member named by its zeta where the members lie furthest apart, at
// resonance; a name that would cover another is left out (the legend lists them all).
void addFamilyNames(Scene* scene, const State& s, const ChartFrame& f) {
    const double z = std::fmin(1.0, f.x1 * 0.9);
    std::vector<double> used;
    for (int k = 0; k < familySize; ++k) {
        const double a = memberAt(s, k, z);
        if (!(a >= 0.0) || a > f.y1) {
            continue;
        }
        const Point2 p = chartPoint(f, z, a);
        const bool crowded = std::any_of(used.begin(), used.end(), [&](double y) {
            return std::fabs(y - p.y) < tickTextHeight;
        });
        if (crowded) {
            continue;
        }
        used.push_back(p.y);
        addText(scene, {p.x + labelGap, p.y + 0.3 * labelGap}, "ζ=" + readoutText(zetaTable[k], 3),
                tickTextHeight, ink::grey);
    }
}

void addExactDots(Scene* scene, const State& s, const ChartFrame& f) {
    std::vector<ShownDot> dots;
    if (!shownExactDots(s, &dots)) {
        return;
    }
    for (const ShownDot& dot : dots) {
        const ExactSteady& e = dot.steady;
        if (dot.ratio > f.x1) {
            continue;
        }
        Point2 p = chartPoint(f, dot.ratio, e.amplitude);
        if (e.grows || p.y > f.box.top) {
            p.y = f.box.top - dotRadius;
        }
        // Shape and colour both tell the kind: a disc never stops, a square stops once or
        // twice a cycle, a ring more often.
        const double r = dotRadius;
        const SteadyKind kind = steadyKind(e);
        if (kind == SteadyKind::grows || kind == SteadyKind::unsettled) {
            addDisc(scene, p, r, kind == SteadyKind::grows ? ink::purple : ink::grey);
        } else if (kind == SteadyKind::neverStops || kind == SteadyKind::atRest) {
            addDisc(scene, p, r + 0.003, ink::white);
            addDisc(scene, p, r, ink::black);
        } else if (kind == SteadyKind::fewStops) {
            addRect(scene, {p.x - r - 0.003, p.y - r - 0.003, p.x + r + 0.003, p.y + r + 0.003},
                    ink::white);
            addRect(scene, {p.x - r, p.y - r, p.x + r, p.y + r}, ink::blue);
        } else {
            addDisc(scene, p, r + 0.002, ink::orange);
            addDisc(scene, p, 0.45 * r, ink::white);
        }
    }
}

void addFrequencyLegend(Scene* scene, const State& s) {
    const double x = rightChartBox.left;
    double y = legendTopY;
    addLegendLine(scene, {x, y},
                  shown(s, catalogText("設定 ζ = ")) + readoutText(s.derived.zeta, 4),
                  ink::vermillion, enteredWidth, Stroke::solid);
    y -= legendRowStep;
    addLegendLine(scene, {x, y}, shown(s, catalogText("ζ = 0 … 10 の曲線")), ink::grey, curveWidth,
                  Stroke::solid);
    y -= legendRowStep;
    addLegendLine(scene, {x, y}, shown(s, catalogText("実線: 連続運動")), ink::black, curveWidth,
                  Stroke::solid);
    y -= legendRowStep;
    addLegendLine(scene, {x, y}, shown(s, catalogText("破線: 一時停止運動")), ink::black,
                  curveWidth, Stroke::dashed);
    if (exactDotsShown(s)) {
        addText(scene, {x, y - legendRowStep},
                shown(s, catalogText("厳密解: ● 停止なし ■ 1–2 回 ○ 3 回以上")), textHeight,
                ink::black);
    }
}

} // namespace

void addFrequencyChart(Scene* scene, const State& s) {
    const ChartFrame f = frequencyFrame(s);
    const Chart& c = s.chart;
    const int n = c.sweepCount;
    addText(scene, {rightChartBox.left, 0.92}, shown(s, catalogText("周波数特性")), titleTextHeight,
            ink::black, Anchor::start, true);
    addChartAxes(scene, f, shown(s, catalogText("振動数比 z = ωf/ω0")),
                 shown(s, catalogText("振幅 [m]")));
    if (f.x1 >= 1.0) {
        const Point2 p = chartPoint(f, 1.0, 0.0);
        addLine(scene, {p, {p.x, f.box.top}}, ink::green, curveWidth, Stroke::dotted);
        addText(scene, {p.x + labelGap, f.box.top - textHeight}, shown(s, catalogText("共振")),
                tickTextHeight, ink::green);
    }
    for (int k = 0; k < familySize; ++k) {
        addClippedLine(scene, curvePoints(f, c.continuousCurves[k], n), f.box, ink::grey, 1.5);
        addClippedLine(scene, curvePoints(f, c.stickSlipCurves[k], n), f.box, ink::grey, 1.5,
                       Stroke::dashed);
    }
    addFamilyNames(scene, s, f);
    addClippedLine(scene, curvePoints(f, c.continuousCurve, n), f.box, ink::vermillion,
                   enteredWidth);
    addClippedLine(scene, curvePoints(f, c.stickSlipCurve, n), f.box, ink::vermillion, enteredWidth,
                   Stroke::dashed);
    const double a = s.derived.givenPointAmplitude;
    if (std::isfinite(a) && a >= 0.0 && s.derived.givenRatio <= f.x1) {
        const Point2 p = chartPoint(f, s.derived.givenRatio, std::fmin(a, f.y1));
        addDisc(scene, p, pointRadius + 0.004, ink::white);
        addDisc(scene, p, pointRadius, ink::vermillion);
        const bool right = p.x < 0.5 * (f.box.left + f.box.right);
        const std::string label =
            "z=" + readoutText(s.derived.givenRatio, 4) + ", " + readoutText(a, 4) + " m";
        // A white ground under the label, so that the curves it lies on do not cross it:
        // its width from the digits' width, about 0.55 of the text's height each.
        const double width = 0.55 * textHeight * static_cast<double>(label.size());
        const double x = right ? p.x + 2 * labelGap : p.x - 2 * labelGap;
        const double y = p.y + labelGap;
        addRect(scene,
                {right ? x : x - width, y - 0.25 * textHeight, right ? x + width : x,
                 y + 0.9 * textHeight},
                ink::white);
        addText(scene, {x, y}, label, textHeight, ink::black, right ? Anchor::start : Anchor::end,
                true);
    }
    addExactDots(scene, s, f);
    addFrequencyLegend(scene, s);
}

} // namespace fv
