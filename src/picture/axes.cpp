// The charts' axes in the clear view: numbers at 1, 2, 5 steps that say what is drawn.
#include "picture/axes.h"

namespace fv {

namespace {

constexpr int leastTicks = 4;         // ticks each axis shows at least
constexpr double tickLength = 0.015;  // [window units]
constexpr double numberGap = 0.012;   // between the frame and its numbers [window units]
constexpr double legendSample = 0.08; // length of a legend's line [window units]
constexpr double legendGap = 0.015;   // between the sample and the text [window units]
constexpr double baselineRise = 0.35; // a text's middle above its base line [heights]

double stepOf(const std::vector<double>& ticks) {
    return ticks.size() > 1 ? ticks[1] - ticks[0] : 1.0;
}

} // namespace

Point2 chartPoint(const ChartFrame& f, double x, double y) {
    const Box& b = f.box;
    return {b.left + (x - f.x0) / (f.x1 - f.x0) * (b.right - b.left),
            b.bottom + (y - f.y0) / (f.y1 - f.y0) * (b.top - b.bottom)};
}

void addChartAxes(Scene* scene, const ChartFrame& f, const std::string& xTitle,
                  const std::string& yTitle) {
    const Box& b = f.box;
    addRect(scene, b, ink::white);
    const std::vector<double> xs = niceTicks(f.x0, f.x1, leastTicks);
    const std::vector<double> ys = niceTicks(f.y0, f.y1, leastTicks);
    for (const double x : xs) {
        const Point2 p = chartPoint(f, x, f.y0);
        addLine(scene, {{p.x, b.bottom}, {p.x, b.top}}, ink::lightGrey, gridLineWidth);
        addLine(scene, {{p.x, b.bottom - tickLength}, {p.x, b.bottom}}, ink::black, frameLineWidth);
        addText(scene, {p.x, b.bottom - numberGap - tickTextHeight}, tickText(x, stepOf(xs)),
                tickTextHeight, ink::black, Anchor::middle);
    }
    for (const double y : ys) {
        const Point2 p = chartPoint(f, f.x0, y);
        addLine(scene, {{b.left, p.y}, {b.right, p.y}}, ink::lightGrey, gridLineWidth);
        addLine(scene, {{b.left - tickLength, p.y}, {b.left, p.y}}, ink::black, frameLineWidth);
        addText(scene, {b.left - tickLength - numberGap, p.y - baselineRise * tickTextHeight},
                tickText(y, stepOf(ys)), tickTextHeight, ink::black, Anchor::end);
    }
    addLine(scene,
            {{b.left, b.bottom},
             {b.right, b.bottom},
             {b.right, b.top},
             {b.left, b.top},
             {b.left, b.bottom}},
            ink::black, frameLineWidth);
    addText(scene, {0.5 * (b.left + b.right), b.bottom - 2.0 * tickTextHeight - 2.0 * numberGap},
            xTitle, textHeight, ink::black, Anchor::middle);
    addText(scene, {b.left, b.top + numberGap}, yTitle, textHeight, ink::black, Anchor::start);
}

void addLegendLine(Scene* scene, Point2 at, const std::string& text, Rgb color, double width,
                   Stroke stroke) {
    const double y = at.y + baselineRise * textHeight;
    addLine(scene, {{at.x, y}, {at.x + legendSample, y}}, color, width, stroke);
    addText(scene, {at.x + legendSample + legendGap, at.y}, text, textHeight, ink::black);
}

} // namespace fv
