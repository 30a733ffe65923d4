// Regime map view. The cells are whole pixels at the window's 800 x 800: 3 pixels a
// column of z, 6 a row of Yc/Yf, the map's lower left corner just above the horizontal
// axis. It is drawn before the mechanism figure, which moves over it; the view only
// reads the map, whole or as far as it is computed.
#include "graphics/regimeview.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "graphics/gl_port.h"
#include "graphics/primitives.h"
#include "session/background.h"

namespace fv {

namespace {

constexpr double mapLeft = 0.085;         // window x of the map's left edge
constexpr double mapBottom = 0.0125;      // window y of its bottom edge, above the axis
constexpr double cellWidth = 0.0075;      // window units per column (3 pixels)
constexpr double cellHeight = 0.015;      // window units per row (6 pixels)
constexpr double columnRatio = 0.025;     // frequency ratio per column
constexpr double pointRadius = 0.01;      // the red point, as on the chart
constexpr float labelGap = 0.05f;         // text rows below the axis [window units]
constexpr double swatchSize = 0.03;       // legend colour squares [window units]
constexpr float boundaryLineWidth = 2.0f; // the no-stop boundary [pixels]
// The caption and the legend stand in the lower left, where the mechanism never goes
// (its anchors are at x = 0.01 and 0.99): the mass moves over the map, not over them.
constexpr float legendX = -0.95f;
constexpr float legendTextX = -0.905f;
constexpr float captionY = -0.55f;
constexpr float legendTop = -0.61f;

// Colours of the kinds of motion.
constexpr Color4 colorNeverStops = {1.0f, 1.0f, 0.55f, 0.0f};
constexpr Color4 colorFewStops = {0.55f, 0.8f, 1.0f, 0.0f};  // once or twice per cycle
constexpr Color4 colorMoreStops = {1.0f, 0.6f, 0.25f, 0.0f}; // three or four times
constexpr Color4 colorManyStops = {0.8f, 0.35f, 0.8f, 0.0f}; // five times or more
constexpr Color4 colorAtRest = {0.7f, 0.9f, 0.7f, 0.0f};
constexpr Color4 colorUnsettled = {0.5f, 0.5f, 0.5f, 0.0f};
constexpr Color4 colorGrows = {0.15f, 0.55f, 0.55f, 0.0f}; // no steady state
// The growth entry shares the last row of the legend, right of "did not settle".
constexpr float growsLegendX = -0.55f;
constexpr float growsLegendTextX = -0.505f;
constexpr Color4 colorPending = {1.0f, 1.0f, 1.0f, 0.0f}; // not computed yet

const Color4& cellColor(const RegimeCell& cell) {
    switch (steadyKind(cell)) {
    case SteadyKind::grows:
        return colorGrows;
    case SteadyKind::unsettled:
        return colorUnsettled;
    case SteadyKind::atRest:
        return colorAtRest;
    case SteadyKind::neverStops:
        return colorNeverStops;
    case SteadyKind::fewStops:
        return colorFewStops;
    case SteadyKind::moreStops:
        return colorMoreStops;
    default:
        return colorManyStops;
    }
}

// The cells of map, those not done yet (while it is computed) in the background's white.
void drawCellsOfMap(const Session& session, const RegimeMap& map, bool complete) {
    std::vector<Color4> colors(static_cast<std::size_t>(regimeRows) * regimeColumns);
    for (int r = 0; r < regimeRows; ++r) {
        for (int c = 0; c < regimeColumns; ++c) {
            colors[static_cast<std::size_t>(r * regimeColumns + c)] =
                complete || regimeCellDone(session, r, c) ? cellColor(map.cells[r][c])
                                                          : colorPending;
        }
    }
    const Point2 corner = {mapLeft, mapBottom};
    drawCells(&corner, cellWidth, cellHeight, regimeRows, regimeColumns, colors.data());
}

// A staircase along the cell edges under the first row of each column that stops.
void drawBoundary(const RegimeMap& map) {
    setLineWidth(boundaryLineWidth);
    // From the first step's left end (a segment of no length, as drawn from the start),
    // then each step's left and right ends.
    Point2 steps[1 + 2 * regimeColumns];
    steps[0] = {mapLeft, mapBottom + regimeBoundaryRow(map, 0) * cellHeight};
    for (int c = 0; c < regimeColumns; ++c) {
        const double y = mapBottom + regimeBoundaryRow(map, c) * cellHeight;
        steps[1 + 2 * c] = {mapLeft + c * cellWidth, y};
        steps[2 + 2 * c] = {mapLeft + (c + 1) * cellWidth, y};
    }
    drawPolyline(steps, 1 + 2 * regimeColumns, &colorBlack);
}

void drawEnteredPoint(const Derived& d) {
    const double ratio = d.Yc / d.Yf;
    const double x = regimeMapX(d.givenRatio);
    const double y = regimeMapY(ratio);
    const double right = mapLeft + regimeColumns * cellWidth;
    const double top = mapBottom + regimeRows * cellHeight;
    if (x >= mapLeft && x <= right && y >= mapBottom && y <= top) {
        const Point2 p = {x, y};
        drawDisc(&p, pointRadius, &colorRed);
    }
}

void drawLabels() {
    char text[96];
    for (int z = 0; z <= 3; ++z) {
        std::snprintf(text, sizeof text, "%d", z);
        drawText(static_cast<float>(regimeMapX(z)) - 0.01f, -labelGap, text);
    }
    const char* ratios[] = {"0", "0.5", "1"};
    for (int k = 0; k < 3; ++k) {
        drawText(0.012f, static_cast<float>(regimeMapY(0.5 * k)) - 0.012f, ratios[k]);
    }
}

// "regime map, zeta=...: z across, Yc/Yf up", or how far its computation has come.
void drawCaption(double mapZeta, double staticRatio, const JobProgress& progress) {
    char system[48];
    if (staticRatio > 1.0) {
        std::snprintf(system, sizeof system, "zeta=%.3f, Fs/Fric=%.3g", mapZeta, staticRatio);
    } else {
        std::snprintf(system, sizeof system, "zeta=%.3f", mapZeta);
    }
    char text[128];
    if (progress.running) {
        std::snprintf(text, sizeof text, "regime map, %s: computing %d %%", system,
                      static_cast<int>(progress.fraction * 100.0));
    } else {
        std::snprintf(text, sizeof text, "regime map, %s: z across, Yc/Yf up", system);
    }
    drawTextOnWhite(legendX, captionY, text);
}

// The legend; the growth entry only for a map that has such cells.
void drawLegend(bool growth) {
    struct Entry {
        const Color4* color;
        const char* text;
    } entries[] = {{&colorNeverStops, "never stops"},
                   {&colorFewStops, "stops once or twice per cycle"},
                   {&colorMoreStops, "stops 3 or 4 times per cycle"},
                   {&colorManyStops, "stops 5 or more times per cycle"},
                   {&colorAtRest, "stays at rest"},
                   {&colorUnsettled, "did not settle"}};
    float y = legendTop;
    for (const Entry& e : entries) {
        const Point2 corner = {legendX, y - 0.005};
        drawTextOnWhite(legendTextX, y, e.text, legendX);
        drawCells(&corner, swatchSize, swatchSize, 1, 1, e.color);
        y -= labelGap;
    }
    if (growth) {
        const float row = y + labelGap;
        const Point2 corner = {growsLegendX, row - 0.005};
        drawTextOnWhite(growsLegendTextX, row, "grows without bound", growsLegendX);
        drawCells(&corner, swatchSize, swatchSize, 1, 1, &colorGrows);
    }
    drawTextOnWhite(legendX, y, "black line: boundary of no-stop motion");
    drawTextOnWhite(legendX, y - labelGap, "red point: entered z and Yc/Yf");
}

} // namespace

double regimeMapX(double z) {
    return mapLeft + (z / columnRatio - 0.5) * cellWidth;
}

double regimeMapY(double frictionRatio) {
    return mapBottom + (frictionRatio / regimeRowStep + 0.5) * cellHeight;
}

void drawRegimeView(const State& s) {
    const bool complete = regimeMapCurrent(s);
    const RegimeMap* map = complete ? &s.session.regimeMap : regimeMapJobCells(s.session);
    if (!(complete || regimeMapJobProgress(s.session, regimeSystem(s.derived)).running) ||
        map == nullptr) {
        return;
    }
    drawCellsOfMap(s.session, *map, complete);
    if (complete) {
        drawBoundary(*map); // it needs every row
    }
    drawEnteredPoint(s.derived);
    drawLabels();
}

void drawRegimeLegend(const State& s) {
    const bool complete = regimeMapCurrent(s);
    const JobProgress progress = regimeMapJobProgress(s.session, regimeSystem(s.derived));
    if (!complete && !progress.running) {
        return;
    }
    drawCaption(complete ? s.session.regimeMap.zeta : s.derived.zeta,
                complete ? s.session.regimeMap.staticRatio : staticRatio(s.derived), progress);
    drawLegend(complete && regimeHasGrowth(s.session.regimeMap));
}

} // namespace fv
