// Frames drawn in-process into the real window under a real X server and read back
// pixel by pixel from the back buffer: the frequency chart's lines, point and curves,
// the mass, the axes, the grid, the legends, the strip chart and the zoom keys.
#include <GL/freeglut.h>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "graphics/display.h"
#include "graphics/primitives.h"
#include "session/keys.h"
#include "state/state.h"
#include "support/dialogue_pass.h"
#include "support/pixels.h"
#include "window/keyboard.h"
#include "window/picture.h"
#include "window/playback.h"
#include "window/window.h"

namespace {

constexpr int size = fv::windowSize;
constexpr int textGreyMax = 20; // the lit raster colour is about 0.04 grey (10 of 255)

std::vector<unsigned char> pixels(size* size * 3);

// The state the test window shows, and the window's context on it.
fv::State& state() {
    static const std::unique_ptr<fv::State> owned = newState();
    return *owned;
}
fv::WindowContext context = {&state(), nullptr};

// Draws the next frame as display does, without the swap, and reads the back buffer.
void frame() {
    fv::nextFrame(state(), &context.frame);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
}

// Pixel at column x, GL row y (from the bottom).
Rgb at(int x, int y) {
    const unsigned char* p = &pixels[static_cast<std::size_t>((y * size + x) * 3)];
    return {p[0], p[1], p[2]};
}

bool red(Rgb c) {
    return isRed(c);
}
bool green(Rgb c) {
    return isGreen(c);
}
bool blue(Rgb c) {
    return isBlue(c);
}
bool black(Rgb c) {
    return isBlack(c);
}
bool white(Rgb c) {
    return isWhite(c);
}
bool textGrey(Rgb c) {
    return c.r == c.g && c.g == c.b && c.r > 0 && c.r <= textGreyMax;
}

// Window coordinate to pixel column or row.
int px(double v) {
    return static_cast<int>(std::floor((v + 1.0) * 0.5 * size));
}

::testing::AssertionResult pixelIs(int x, int y, bool (*want)(Rgb), const char* what) {
    const Rgb c = at(x, y);
    if (want(c)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << what << " expected at (" << x << ", " << y << "), found (" << c.r << ", " << c.g
           << ", " << c.b << ")";
}

// Rows of horizontal grid lines in column x, without the two rows of the axis (which
// hide the grid line through y = 0).
std::vector<int> gridRows(int x) {
    std::vector<int> rows;
    for (int y = px(-0.95); y <= px(0.75); ++y) {
        if (black(at(x, y)) && y != px(0.0) && y != px(0.0) - 1) {
            rows.push_back(y);
        }
    }
    return rows;
}

// Columns of vertical grid lines in row y, left of the time axis' end.
std::vector<int> gridColumns(int y) {
    std::vector<int> columns;
    for (int x = px(-0.95); x <= px(0.01); ++x) {
        if (black(at(x, y))) {
            columns.push_back(x);
        }
    }
    return columns;
}

// A width-2 vertical line at window x covers the two columns either side of it.
bool columnPairHas(int col, int y, bool (*want)(Rgb)) {
    return want(at(col - 1, y)) || want(at(col, y));
}

// The test window made width pixels wide (and size high), as the X server reports it.
void resizeWindow(int width) {
    glutReshapeWindow(width, size);
    for (int i = 0; i < 100 && glutGet(GLUT_WINDOW_WIDTH) != width; ++i) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

class Frame : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "fv_frame_tests";
        static char* argv[] = {name, nullptr};
        fv::createWindow(&context, &argc, argv);
        glutPositionWindow(0, 0);
        // Let the window map and receive its first reshape.
        for (int i = 0; i < 50; ++i) {
            glutMainLoopEvent();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        fv::reshape(size, size);
    }
};

// No force and no friction: every curve is empty, only the lines remain.
void linesOnly() {
    dialoguePass(state(), 'm', "1 0.3 1\n0 0.5\n0\n-0.5 0\n");
}

TEST_F(Frame, ResonanceLineRedLineAxesAndMass) {
    fv::State& s = state();
    linesOnly();
    frame();
    const int resonance = px(0.41);
    const int given = px(0.01 + 0.5 * 0.4);
    int greenRows = 0;
    for (int y = px(0.05); y < px(0.95); ++y) {
        greenRows += columnPairHas(resonance, y, green) ? 1 : 0;
        ASSERT_FALSE(green(at(resonance + 2, y))) << "row " << y;
        ASSERT_TRUE(columnPairHas(given, y, red)) << "red line, row " << y;
    }
    EXPECT_EQ(greenRows, px(0.95) - px(0.05));

    // Axes: through y = 0 across the window and at x = -0.99, width 2.
    for (int x : {100, 300, 450, 700}) {
        EXPECT_TRUE(pixelIs(x, px(0.0), black, "horizontal axis"));
        EXPECT_TRUE(pixelIs(x, px(0.0) - 1, black, "horizontal axis"));
    }
    EXPECT_TRUE(pixelIs(px(-0.99), px(-0.45), black, "vertical axis"));
    EXPECT_TRUE(pixelIs(px(-0.99) - 1, px(-0.45), black, "vertical axis"));

    // The mass: a red disc of radius 0.04 at x = 0.5, y = verticalScale * y.
    const int massY = px(s.view.verticalScale * s.motion.stateY[0]);
    EXPECT_TRUE(pixelIs(px(0.5), massY, red, "mass centre"));
    EXPECT_TRUE(pixelIs(px(0.5) + 12, massY, red, "inside the mass"));
    EXPECT_TRUE(pixelIs(px(0.5) + 20, massY + 20, white, "outside the mass"));
    // The anchors at (0.01, 0) and (0.99, 0), and the string towards the mass.
    // (the axis, drawn later, covers their middle rows).
    EXPECT_TRUE(pixelIs(px(0.99), px(0.0) + 2, red, "right anchor"));
    EXPECT_TRUE(pixelIs(px(0.01), px(0.0) - 3, red, "left anchor"));
    const int stringY = px(s.motion.stateY[0] * (0.25 - 0.01) / (0.5 - 0.01));
    EXPECT_TRUE(red(at(px(0.25), stringY)) || red(at(px(0.25), stringY + 1)) ||
                red(at(px(0.25), stringY - 1)))
        << "string at row " << stringY;
}

TEST_F(Frame, GridSpacingAndLegendText) {
    linesOnly();
    frame();
    // Vertical grid lines every 2 s = 0.1 window units = 40 pixels, right edge at 0.01.
    const std::vector<int> columns = gridColumns(px(-0.7));
    ASSERT_GE(columns.size(), 9u);
    for (std::size_t i = 1; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i] - columns[i - 1], 40) << "at column " << columns[i];
    }
    EXPECT_LE(std::abs(columns.back() - px(0.01)), 1) << columns.back();
    // Horizontal lines every 0.2 m = 80 pixels.
    const std::vector<int> rows = gridRows(px(-0.5) + 5);
    ASSERT_GE(rows.size(), 7u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const bool acrossAxis = rows[i - 1] < px(0.0) && rows[i] > px(0.0);
        EXPECT_EQ(rows[i] - rows[i - 1], acrossAxis ? 160 : 80) << "at row " << rows[i];
    }
    // Legends in the lit near-black, in their places.
    int timeLegend = 0;
    for (int y = px(0.78); y < size; ++y) {
        for (int x = px(-0.95); x < px(-0.3); ++x) {
            timeLegend += textGrey(at(x, y)) ? 1 : 0;
        }
    }
    int freqLegend = 0;
    for (int y = px(-0.31); y < px(-0.1); ++y) {
        for (int x = px(-0.05); x < px(0.95); ++x) {
            freqLegend += textGrey(at(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(timeLegend, 500);
    EXPECT_GT(freqLegend, 800);
}

TEST_F(Frame, RedPointAtTheEnteredRatioAndAmplitude) {
    fv::State& s = state();
    dialoguePass(state(), 'm', "1 0.3 1\n0.5 0.5\n0.2\n-0.5 0\n");
    ASSERT_GT(s.derived.givenPointAmplitude, 0.0);
    ASSERT_LT(s.derived.givenPointAmplitude, 1.0);
    frame();
    const int x = px(0.01 + 0.5 * 0.4);
    const int y = px(s.derived.givenPointAmplitude);
    EXPECT_TRUE(pixelIs(x, y, red, "red point"));
    EXPECT_TRUE(pixelIs(x + 3, y, red, "red point"));
    EXPECT_TRUE(pixelIs(x - 3, y + 2, red, "red point"));
}

TEST_F(Frame, GappedCurveIsBrokenWhereTheAmplitudeIsMissing) {
    fv::State& s = state();
    linesOnly();
    s.derived.givenRatio = 2.5; // move the red line off the chart
    for (int i = 0; i <= 1200; ++i) {
        const bool valid = (i <= 99) || (i >= 200 && i <= 299);
        s.chart.continuousCurve.amplitude[i] = valid ? 0.25 : -1.0;
    }
    for (int i = 240; i <= 260; ++i) {
        s.chart.continuousCurve.amplitude[i] = std::nan("");
    }
    frame();
    const int y = px(0.25);
    EXPECT_TRUE(columnPairHas(px(0.01 + 50 * 0.001), y, red)) << "first piece";
    EXPECT_TRUE(columnPairHas(px(0.01 + 220 * 0.001), y, red)) << "second piece";
    EXPECT_TRUE(pixelIs(px(0.01 + 150 * 0.001), y, white, "gap between the pieces"));
    EXPECT_TRUE(pixelIs(px(0.01 + 150 * 0.001), y - 1, white, "gap between the pieces"));
    EXPECT_TRUE(pixelIs(px(0.01 + 250 * 0.001), y - 1, white, "not-a-number point"));
}

// Samples 0.05 apart: the first frame after the dialogue draws one segment per row,
// from index 0 to index 1; after timeRingCapacity samples the trace wraps.
TEST_F(Frame, StripChartFirstSegmentAndWrap) {
    fv::State& s = state();
    dialoguePass(state(), 'm', "1 0 1\n0 1\n0.05\n0 1\n");
    s.view.timeAxisScale = 0.05;
    s.view.timeRingCapacity = 20;
    s.motion.timeCurves[0][0] = 0.0;
    s.motion.timeCurves[2][0] = 0.0;
    frame();
    ASSERT_EQ(s.motion.timeRingIndex, 1);
    // Red from (-0.99, 0) to (-0.94, y(0.1 s)); blue down to -Fric/K = -0.05.
    const double y1 = s.motion.stateY[0];
    const int midX = px(-0.965);
    EXPECT_TRUE(columnPairHas(midX, px(0.5 * y1), red) ||
                columnPairHas(midX, px(0.5 * y1) + 1, red))
        << "red segment";
    EXPECT_TRUE(columnPairHas(midX, px(-0.025), blue) || columnPairHas(midX, px(-0.025) + 1, blue))
        << "blue segment";
    EXPECT_TRUE(pixelIs(px(-0.9), px(y1), white, "nothing beyond sample 1"));

    for (int i = 0; i < 19; ++i) {
        frame();
    }
    ASSERT_EQ(s.motion.timeRingIndex, 20);
    frame();
    ASSERT_EQ(s.motion.timeRingIndex, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < px(0.0); ++x) {
            const Rgb c = at(x, y);
            ASSERT_FALSE(red(c) || green(c) || blue(c))
                << "no curve after the wrap at " << x << ", " << y;
        }
    }
}

TEST_F(Frame, ZoomKeysMoveWhatTheyShould) {
    fv::State& s = state();
    linesOnly();
    fv::applyKey(state(), 'z');
    frame();
    const int resonance = px(0.37);
    EXPECT_TRUE(columnPairHas(resonance, px(0.6), green)) << "green line at 0.37";
    EXPECT_FALSE(columnPairHas(px(0.41), px(0.6), green));

    linesOnly();
    fv::applyKey(state(), 'y');
    frame();
    EXPECT_TRUE(pixelIs(px(0.5), px(0.9 * s.motion.stateY[0]), red, "mass at 0.9 y"));
    const std::vector<int> rows = gridRows(px(-0.5) + 5);
    ASSERT_GE(rows.size(), 7u);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const bool acrossAxis = rows[i - 1] < px(0.0) && rows[i] > px(0.0);
        EXPECT_NEAR(rows[i] - rows[i - 1], acrossAxis ? 144 : 72, 1) << "at row " << rows[i];
    }

    linesOnly();
    fv::applyKey(state(), 't');
    frame();
    const std::vector<int> columns = gridColumns(px(-0.7));
    ASSERT_GE(columns.size(), 9u);
    for (std::size_t i = 1; i < columns.size(); ++i) {
        EXPECT_NEAR(columns[i] - columns[i - 1], 36, 1) << "columns 0.09 apart, at " << columns[i];
    }
}

// Playback draws the frames that 's' draws: the same motion, samples and pixels.
TEST_F(Frame, PlaybackFramesAreTheFramesOfS) {
    fv::State& s = state();
    struct Shown {
        double t, y, v;
        int index;
        std::vector<double> samples;
        fv::RgbPicture picture;
    };
    auto shown = [&s] {
        const double* rows = &s.motion.timeCurves[0][0];
        return Shown{s.motion.simTime,
                     s.motion.stateY[0],
                     s.motion.stateY[1],
                     s.motion.timeRingIndex,
                     std::vector<double>(rows, rows + fv::timeRingRows * fv::timeRingLength),
                     fv::readShownPicture(state(), context.frame)};
    };
    dialoguePass(state(), 'm', "1 0.3 1\n0.5 0.5\n0.2\n-0.5 0\n");
    for (int k = 0; k < 4; ++k) {
        fv::keyboard('s', 0, 0);
    }
    const Shown bySKey = shown();
    dialoguePass(state(), 'j', "-0.5 0\n");
    fv::keyboard(' ', 0, 0); // the first frame at once
    for (int k = 1; k < 4; ++k) {
        fv::playbackTick(s.session.playback.generation);
    }
    fv::keyboard(' ', 0, 0);
    EXPECT_FALSE(s.session.playback.playing);
    const Shown played = shown();
    EXPECT_EQ(played.t, bySKey.t);
    EXPECT_EQ(played.y, bySKey.y);
    EXPECT_EQ(played.v, bySKey.v);
    EXPECT_EQ(played.index, 4);
    EXPECT_EQ(played.index, bySKey.index);
    EXPECT_EQ(played.samples, bySKey.samples);
    EXPECT_EQ(played.picture.rgb, bySKey.picture.rgb);
}

// A window twice as wide shows the same picture stretched: window coordinates stay
// -1..1 on both axes.
TEST_F(Frame, ResizedWindowStretchesThePicture) {
    constexpr int wide = 2 * size;
    resizeWindow(wide);
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), wide);
    fv::reshape(wide, size);
    linesOnly();
    fv::display(); // the first swap lets the drawable take the new size
    fv::nextFrame(state(), &context.frame);
    glFinish();
    std::vector<unsigned char> row(static_cast<std::size_t>(wide) * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const int y = px(0.5);
    glReadPixels(0, y, wide, 1, GL_RGB, GL_UNSIGNED_BYTE, row.data());
    auto isGreenAt = [&](int x) {
        return row[x * 3] == 0 && row[x * 3 + 1] == 255 && row[x * 3 + 2] == 0;
    };
    const int resonance = static_cast<int>((0.41 + 1.0) * 0.5 * wide);
    std::string greens;
    for (int x = 0; x < wide; ++x) {
        greens += isGreenAt(x) ? std::to_string(x) + " " : "";
    }
    EXPECT_TRUE(isGreenAt(resonance) || isGreenAt(resonance - 1))
        << "green line at " << resonance << ", green columns: " << greens;
    EXPECT_FALSE(isGreenAt(px(0.41)) || isGreenAt(px(0.41) - 1)) << "not where it was";
    resizeWindow(size);
    fv::reshape(size, size);
}

// The drawing of a gapped curve exactly as its definition reads: one drawSegment,
// with its own lighting bracket, per joined pair of points.
void referenceGappedCurve(const fv::Point2* origin, double scaleX, double scaleY, int count,
                          const fv::AmplitudeCurve* curve, const fv::Color4* color) {
    glLineWidth(2.0f);
    int k = 0;
    while (k < count && !(curve->amplitude[k] >= 0.0)) {
        ++k;
    }
    if (k < count) {
        fv::Point2 cur = {scaleX * curve->ratio[k] + origin->x,
                          scaleY * curve->amplitude[k] + origin->y};
        bool prevValid = true;
        for (int i = k; i < count; ++i) {
            const fv::Point2 prev = cur;
            const bool valid = curve->amplitude[i] >= 0.0;
            if (valid) {
                cur = {scaleX * curve->ratio[i] + origin->x,
                       scaleY * curve->amplitude[i] + origin->y};
            }
            if (prevValid && valid) {
                fv::drawSegment(&prev, &cur, color);
            }
            prevValid = valid;
        }
    }
    glFlush();
}

void referenceSampledCurve(const fv::Point2* origin, double stepX, double scaleY, int lastIndex,
                           const double* samples, const fv::Color4* color) {
    glLineWidth(2.0f);
    fv::Point2 cur = {origin->x, scaleY * samples[0] + origin->y};
    for (int i = 1; i <= lastIndex; ++i) {
        const fv::Point2 prev = cur;
        cur.x = prev.x + stepX;
        cur.y = scaleY * samples[i] + origin->y;
        fv::drawSegment(&prev, &cur, color);
    }
}

// Draws with draw, then text (which takes the lit raster colour the curves leave),
// and returns the picture.
template <typename Draw> std::vector<unsigned char> picture(Draw draw) {
    fv::beginFrame();
    draw();
    fv::drawText(-0.5f, 0.5f, "state after the curves");
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<unsigned char> shot(pixels.size());
    glReadPixels(0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, shot.data());
    return shot;
}

// The curves are drawn as one batch of segments per curve; the pixels and the state
// left for later drawing must be those of one segment at a time.
TEST_F(Frame, BatchedCurvesDrawTheSamePixelsAsSingleSegments) {
    fv::State& s = state();
    dialoguePass(state(), 'm', "1 0.02 1\n0.5 0.7\n0.1\n0.2 0\n");
    const fv::Point2 origin = {0.01, 0.0};
    const double sx = 0.4;
    auto batched = [&] {
        fv::drawGappedCurve(&origin, sx, 1.0, 1200, &s.chart.continuousCurve, &fv::colorRed);
        fv::drawGappedCurve(&origin, sx, 1.0, 1200, &s.chart.stickSlipCurve, &fv::colorRed);
        for (int k = 0; k < 10; ++k) {
            fv::drawGappedCurve(&origin, sx, 1.0, 1200, &s.chart.continuousCurves[k],
                                &fv::colorBlack);
            fv::drawGappedCurve(&origin, sx, 1.0, 1200, &s.chart.stickSlipCurves[k],
                                &fv::colorBlue);
        }
    };
    auto single = [&] {
        referenceGappedCurve(&origin, sx, 1.0, 1200, &s.chart.continuousCurve, &fv::colorRed);
        referenceGappedCurve(&origin, sx, 1.0, 1200, &s.chart.stickSlipCurve, &fv::colorRed);
        for (int k = 0; k < 10; ++k) {
            referenceGappedCurve(&origin, sx, 1.0, 1200, &s.chart.continuousCurves[k],
                                 &fv::colorBlack);
            referenceGappedCurve(&origin, sx, 1.0, 1200, &s.chart.stickSlipCurves[k],
                                 &fv::colorBlue);
        }
    };
    EXPECT_TRUE(picture(batched) == picture(single)) << "frequency curves";

    static double samples[3][fv::timeRingLength];
    for (int i = 0; i < fv::timeRingLength; ++i) {
        samples[0][i] = 0.3 * std::sin(0.05 * i);
        samples[1][i] = 0.5 * std::cos(0.031 * i);
        samples[2][i] = (i % 40 < 20) ? 0.1 : -0.1;
    }
    const fv::Point2 timeOrigin = {-0.99, 0.0};
    const double scales[3] = {1.0, 0.5, 0.5};
    auto batchedTime = [&] {
        fv::drawSampledCurves(&timeOrigin, 0.0011, scales, 3, 1827, &samples[0][0],
                              fv::timeRingLength);
    };
    auto singleTime = [&] {
        for (int j = 0; j < 3; ++j) {
            referenceSampledCurve(&timeOrigin, 0.0011, scales[j], 1827, samples[j],
                                  &fv::curvePalette[j]);
        }
    };
    EXPECT_TRUE(picture(batchedTime) == picture(singleTime)) << "time curves";
}

} // namespace

// The clear view keeps its square in a window of another shape (white on either side),
// and a redraw does not move the motion.
TEST_F(Frame, ClearViewKeepsItsAspectAndEachViewDrawsItsInk) {
    constexpr int wide = 2 * size;
    resizeWindow(wide);
    ASSERT_EQ(glutGet(GLUT_WINDOW_WIDTH), wide);
    fv::reshape(wide, size);
    dialoguePass(state(), 'm', "1 0.1 1\n1 0.8\n0.1\n0 0\n");
    state().view.clear = true;
    fv::display();
    fv::nextFrame(state(), &context.frame);
    const double time = state().motion.simTime;
    fv::display(); // an exposure: the last frame again
    EXPECT_EQ(state().motion.simTime, time);
    glFinish();
    std::vector<unsigned char> row(static_cast<std::size_t>(wide) * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, size / 2, wide, 1, GL_RGB, GL_UNSIGNED_BYTE, row.data());
    auto rgbAt = [&](int x) { return Rgb{row[x * 3], row[x * 3 + 1], row[x * 3 + 2]}; };
    for (int x = 0; x < size / 2; x += 7) {
        ASSERT_TRUE(white(rgbAt(x))) << x;            // the margin left of the square
        ASSERT_TRUE(white(rgbAt(wide - 1 - x))) << x; // and right of it
    }
    const int frameLeft = size / 2 + px(-0.80);
    EXPECT_TRUE(black(rgbAt(frameLeft)) || black(rgbAt(frameLeft - 1)) ||
                black(rgbAt(frameLeft + 1)))
        << "the strip chart's frame at " << frameLeft;
    resizeWindow(size);
    fv::reshape(size, size);
    // Each view's own ink in the right half: the entered curve (vermillion), the phase
    // plane's exact orbit (vermillion, dashed), the energy's input bar (orange).
    struct Ink {
        unsigned char key;
        Rgb color;
    } inks[] = {
        {0, {213, 94, 0}}, {fv::phasePlaneKey, {213, 94, 0}}, {fv::energyKey, {230, 159, 0}}};
    for (const Ink& ink : inks) {
        if (ink.key != 0) {
            fv::applyKey(state(), ink.key);
        }
        frame();
        int count = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = size / 2; x < size; ++x) {
                const Rgb c = at(x, y);
                count += c.r == ink.color.r && c.g == ink.color.g && c.b == ink.color.b;
            }
        }
        EXPECT_GT(count, 300) << "view " << static_cast<int>(ink.key);
    }
    fv::applyKey(state(), fv::energyKey);
    state().view.clear = false;
}
