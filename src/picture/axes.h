// A chart of the clear view: its box in the frame, the values at its edges, and its
// frame, numbered ticks and axis titles.
#pragma once

#include <string>

#include "picture/scene.h"

namespace fv {

// Heights of text in the clear view [window units]: 20 pixels at the frame's 800, about
// 10 CSS pixels where a phone shows the frame 390 pixels wide.
constexpr double textHeight = 0.05;
constexpr double tickTextHeight = 0.045;
constexpr double titleTextHeight = 0.055;
// Line widths [pixels at the frame's 800].
constexpr double frameLineWidth = 1.5;
constexpr double gridLineWidth = 1.0;
constexpr double curveWidth = 2.0;
constexpr double enteredWidth = 3.5; // the entered damping ratio's curve stands out

struct ChartFrame {
    Box box;   // where it is drawn [window units]
    double x0; // the value at the left edge
    double x1; // at the right edge
    double y0; // at the bottom
    double y1; // at the top
};

// Where (x, y) in the chart's values lies in the frame.
Point2 chartPoint(const ChartFrame& f, double x, double y);

// The chart's white ground, light grid at its ticks, frame, numbered ticks, and the
// titles of its axes: x's centred under the numbers, y's above the upper left corner.
void addChartAxes(Scene* scene, const ChartFrame& f, const std::string& xTitle,
                  const std::string& yTitle);

// A legend entry: a short sample of the line, then its text, from (x, y).
void addLegendLine(Scene* scene, Point2 at, const std::string& text, Rgb color, double width,
                   Stroke stroke);

} // namespace fv
