// Regime map view. The cells are whole pixels at the window's 800 x 800: 3 pixels a
// column of z, 6 a row of Yc/Yf, the map's lower left corner just above the horizontal
// axis. It is drawn before the mechanism figure, which moves over it; the view only
// reads the map the keys computed.
#include "graphics/regimeview.h"

#include <GL/freeglut.h>
#include <cmath>
#include <cstdio>

#include "control/keys.h"
#include "control/params.h"
#include "graphics/primitives.h"

namespace fv {

namespace {

constexpr double mapLeft = 0.085;     // window x of the map's left edge
constexpr double mapBottom = 0.0125;  // window y of its bottom edge, above the axis
constexpr double cellWidth = 0.0075;  // window units per column (3 pixels)
constexpr double cellHeight = 0.015;  // window units per row (6 pixels)
constexpr double columnRatio = 0.025; // frequency ratio per column
constexpr double pointRadius = 0.01;  // the red point, as on the chart
constexpr float labelGap = 0.05f;     // text rows below the axis [window units]
constexpr double swatchSize = 0.03;   // legend colour squares [window units]
constexpr float legendX = 0.085f;
constexpr float legendTextX = 0.13f;
constexpr float legendTop = -0.16f;

// Colours of the kinds of motion.
constexpr Color4 colorNeverStops = {1.0f, 1.0f, 0.55f, 0.0f};
constexpr Color4 colorFewStops = {0.55f, 0.8f, 1.0f, 0.0f};  // once or twice per cycle
constexpr Color4 colorMoreStops = {1.0f, 0.6f, 0.25f, 0.0f}; // three or four times
constexpr Color4 colorManyStops = {0.8f, 0.35f, 0.8f, 0.0f}; // five times or more
constexpr Color4 colorAtRest = {0.7f, 0.9f, 0.7f, 0.0f};
constexpr Color4 colorUnsettled = {0.5f, 0.5f, 0.5f, 0.0f};

const Color4& cellColor(const RegimeCell& cell) {
    if (!cell.converged) {
        return colorUnsettled;
    }
    if (cell.atRest) {
        return colorAtRest;
    }
    if (cell.stopsPerCycle == 0) {
        return colorNeverStops;
    }
    if (cell.stopsPerCycle <= 2) {
        return colorFewStops;
    }
    return cell.stopsPerCycle <= 4 ? colorMoreStops : colorManyStops;
}

void drawCellsOfMap() {
    static Color4 colors[regimeRows * regimeColumns];
    for (int r = 0; r < regimeRows; ++r) {
        for (int c = 0; c < regimeColumns; ++c) {
            colors[r * regimeColumns + c] = cellColor(regimeMap.cells[r][c]);
        }
    }
    const Point2 corner = {mapLeft, mapBottom};
    drawCells(&corner, cellWidth, cellHeight, regimeRows, regimeColumns, colors);
}

// A staircase along the cell edges under the first row of each column that stops.
void drawBoundary() {
    glLineWidth(2.0f);
    Point2 previous = {mapLeft, mapBottom + regimeBoundaryRow(regimeMap, 0) * cellHeight};
    for (int c = 0; c < regimeColumns; ++c) {
        const double y = mapBottom + regimeBoundaryRow(regimeMap, c) * cellHeight;
        const Point2 left = {mapLeft + c * cellWidth, y};
        const Point2 right = {mapLeft + (c + 1) * cellWidth, y};
        drawSegment(&previous, &left, &colorBlack);
        drawSegment(&left, &right, &colorBlack);
        previous = right;
    }
}

void drawEnteredPoint() {
    const double ratio = Yc / Yf;
    const double x = regimeMapX(givenRatio);
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
        drawText(static_cast<float>(regimeMapX(z)) - 0.01f, -labelGap, GLUT_BITMAP_HELVETICA_18,
                 text);
    }
    const char* ratios[] = {"0", "0.5", "1"};
    for (int k = 0; k < 3; ++k) {
        drawText(0.012f, static_cast<float>(regimeMapY(0.5 * k)) - 0.012f, GLUT_BITMAP_HELVETICA_18,
                 ratios[k]);
    }
    std::snprintf(text, sizeof text, "regime map, zeta=%.3f: z across, Yc/Yf up", regimeMap.zeta);
    drawText(legendX, -2.0f * labelGap, GLUT_BITMAP_HELVETICA_18, text);
}

void drawLegend() {
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
        drawCells(&corner, swatchSize, swatchSize, 1, 1, e.color);
        drawText(legendTextX, y, GLUT_BITMAP_HELVETICA_18, e.text);
        y -= labelGap;
    }
    drawText(legendX, y, GLUT_BITMAP_HELVETICA_18, "black line: boundary of no-stop motion");
    drawText(legendX, y - labelGap, GLUT_BITMAP_HELVETICA_18, "red point: entered z and Yc/Yf");
}

} // namespace

double regimeMapX(double z) {
    return mapLeft + (z / columnRatio - 0.5) * cellWidth;
}

double regimeMapY(double frictionRatio) {
    return mapBottom + (frictionRatio / regimeRowStep + 0.5) * cellHeight;
}

void drawRegimeView() {
    if (!regimeMapCurrent()) {
        return;
    }
    drawCellsOfMap();
    drawBoundary();
    drawEnteredPoint();
    drawLabels();
    drawLegend();
}

} // namespace fv
