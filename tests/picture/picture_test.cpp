// The clear view's shapes and their SVG: axes whose numbers say what is drawn, the
// entered curve's peak in view, the family named, the panels' physics, and --svg as a
// file written whole or not at all.
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <unistd.h>

#include "picture/axes.h"
#include "picture/clear.h"
#include "picture/svg.h"
#include "session/keys.h"
#include "session/motion.h"
#include "support/dialogue_pass.h"
#include "support/process.h"

namespace {

// Light damping, continuous motion at the entered ratio, some friction.
constexpr const char* resonant = "1 0.1 1\n1 0.8\n0.1\n0 0\n";

std::vector<const fv::Shape*> textsIn(const fv::Scene& scene, const fv::Box& box) {
    std::vector<const fv::Shape*> out;
    for (const fv::Shape& s : scene.shapes) {
        const fv::Point2 p = s.points.empty() ? fv::Point2{9, 9} : s.points[0];
        if (s.kind == fv::ShapeKind::text && p.x >= box.left && p.x <= box.right &&
            p.y >= box.bottom && p.y <= box.top) {
            out.push_back(&s);
        }
    }
    return out;
}

// The y axis's numbers left of box: value and window height of each.
std::vector<std::pair<double, double>> yNumbers(const fv::Scene& scene, const fv::Box& box) {
    std::vector<std::pair<double, double>> out;
    const fv::Box beside = {box.left - 0.2, box.bottom - 0.05, box.left, box.top + 0.01};
    for (const fv::Shape* s : textsIn(scene, beside)) {
        if (s->anchor == fv::Anchor::end) {
            out.push_back({std::stod(s->text), s->points[0].y + 0.35 * fv::tickTextHeight});
        }
    }
    return out;
}

// The program with args and the dialogue's input.
ProcessResult program(const std::vector<std::string>& args, const std::string& input) {
    ChildOptions options;
    options.args = args;
    return runProcess(FRICTIONVIB_PATH, input, {"LC_ALL=C.UTF-8"}, 120.0, false, options);
}

} // namespace

TEST(Axes, TicksAreOneTwoFiveStepsInsideTheRange) {
    std::srand(7);
    for (int k = 0; k < 2000; ++k) {
        const double low = (std::rand() / double(RAND_MAX) - 0.5) * std::pow(10.0, k % 9 - 4);
        const double high =
            low + std::rand() / double(RAND_MAX) * std::pow(10.0, k % 7 - 3) + 1e-12;
        const std::vector<double> t = fv::niceTicks(low, high, 4);
        ASSERT_GE(t.size(), 4u) << low << " " << high;
        ASSERT_LE(t.size(), 11u) << low << " " << high;
        const double step = t[1] - t[0];
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
        EXPECT_TRUE(std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 ||
                    std::fabs(mantissa - 5) < 1e-6 || std::fabs(mantissa - 10) < 1e-5)
            << step;
        EXPECT_GE(t.front(), low - 1e-9 * step);
        EXPECT_LE(t.back(), high + 1e-9 * step);
    }
    EXPECT_TRUE(fv::niceTicks(1, 1, 4).empty());
    EXPECT_TRUE(fv::niceTicks(0, NAN, 4).empty());
    EXPECT_EQ(fv::tickText(0.30000000000000004, 0.1), "0.3");
    EXPECT_EQ(fv::tickText(-2.7755575615628914e-17, 0.05), "0");
}

// The strip chart's numbers are where the scale the view keys set puts them, before
// and after 'Y' and 'a'; the frequency chart holds the entered curve's peak.
TEST(ClearView, AxesSayWhatIsDrawn) {
    const std::unique_ptr<fv::State> owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', resonant);
    s.view.clear = true;
    for (const char key : std::string("-YYa")) {
        if (key != '-') {
            fv::applyKey(s, static_cast<unsigned char>(key));
        }
        const fv::Scene scene = fv::clearPicture(s);
        const fv::Box& b = fv::leftChartBox;
        const auto numbers = yNumbers(scene, b);
        ASSERT_GE(numbers.size(), 4u) << key;
        const double centre = 0.5 * (b.bottom + b.top);
        const double half = 0.5 * (b.top - b.bottom);
        for (const auto& [value, y] : numbers) {
            // y [m] at centre + y * curveScale[0] * half, as the classic scale draws it
            EXPECT_NEAR(y, centre + value * s.view.curveScale[0] * half, 0.004) << key << value;
        }
    }
    const fv::Scene scene = fv::clearPicture(s);
    const fv::Box& r = fv::rightChartBox;
    double highest = -9;
    int named = 0;
    for (const fv::Shape& sh : scene.shapes) {
        if (sh.kind == fv::ShapeKind::line && sh.size == fv::enteredWidth) {
            for (const fv::Point2& p : sh.points) {
                highest = std::fmax(highest, p.y);
            }
        }
        named += sh.kind == fv::ShapeKind::text && sh.text.rfind("ζ=", 0) == 0;
    }
    EXPECT_LT(highest, r.top); // the peak is drawn, not cut at the frame
    EXPECT_GT(highest, r.top - 0.25 * (r.top - r.bottom));
    EXPECT_GE(named, 4);
}

// The panels show the exact steady cycle: the orbit closes, and the energy's numbers
// balance and give friction's work as 4 Fric A for this motion without stops.
TEST(ClearView, PanelsShowTheExactCycle) {
    const std::unique_ptr<fv::State> owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', resonant);
    fv::applyKey(s, fv::energyKey);
    const fv::EnteredCycle& c = s.session.cycle.cycle;
    ASSERT_TRUE(s.session.cycle.ready && c.settled);
    const fv::CycleEnergy& e = c.energy;
    EXPECT_NEAR(e.input, e.viscous + e.friction, 1e-9 * e.input);
    EXPECT_NEAR(e.friction, 4.0 * s.input.Fric * c.amplitude, 1e-9 * e.friction);
    EXPECT_NEAR(c.orbit.front().y, c.orbit.back().y, 1e-9 * c.amplitude);
    const std::string svg = fv::sceneSvg(fv::panelPicture(s), "t");
    char joules[32];
    std::snprintf(joules, sizeof joules, "%.4g J", e.friction);
    EXPECT_NE(svg.find(joules), std::string::npos) << joules;
    fv::applyKey(s, fv::phasePlaneKey);
    EXPECT_EQ(s.view.panel, fv::Panel::phasePlane);
    fv::applyKey(s, fv::regimeMapKey); // 'g' replaces a panel with the map
    EXPECT_EQ(s.view.panel, fv::Panel::none);
    EXPECT_TRUE(s.view.showRegimeMap);
}

// The SVG holds the scene's text as text, escaped, and its curves as paths with their
// dashes; the file is written only for a system that means something.
TEST(Svg, TextIsTextAndTheFileIsWrittenWhole) {
    fv::Scene scene;
    fv::addText(&scene, {0, 0}, "a<b & \"c\"", 0.05, fv::ink::black, fv::Anchor::middle);
    fv::addLine(&scene, {{-1, -1}, {1, 1}}, fv::ink::blue, 2, fv::Stroke::dashed);
    const std::string svg = fv::sceneSvg(scene, "x");
    EXPECT_NE(svg.find(">a&lt;b &amp; &quot;c&quot;</text>"), std::string::npos) << svg;
    EXPECT_NE(svg.find("<path d=\"M0 800 L800 0\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("stroke-dasharray=\"9 6\""), std::string::npos);

    char folder[] = "/tmp/fv-svg-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/p.svg";
    const ProcessResult r =
        program({"--svg", path, "--frames", "50", "--keys", "oe", "--lang", "en"}, resonant);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string text = readFile(path);
    EXPECT_NE(text.find(">Phase plane</text>"), std::string::npos);
    EXPECT_NE(text.find(">velocity v [m/s]</text>"), std::string::npos);
    EXPECT_EQ(text.rfind("</svg>\n"), text.size() - 7);
    const ProcessResult refused = program({"--svg", path + "2"}, "-1 0.1 1\n1 0.8\n0.1\n0 0\n");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(access((path + "2").c_str(), F_OK), 0);
    const ProcessResult nowhere = program({"--svg", std::string(folder) + "/no/p.svg"}, resonant);
    EXPECT_EQ(nowhere.exitCode, 1) << nowhere.err;
    std::remove(path.c_str());
    rmdir(folder);
}

namespace {

// The x axis's numbers under box: value and window x of each.
std::vector<std::pair<double, double>> xNumbers(const fv::Scene& scene, const fv::Box& box) {
    std::vector<std::pair<double, double>> out;
    const fv::Box below = {box.left - 0.05, box.bottom - 0.08, box.right + 0.05, box.bottom};
    for (const fv::Shape* s : textsIn(scene, below)) {
        if (s->anchor == fv::Anchor::middle) {
            out.push_back({std::stod(s->text), s->points[0].x});
        }
    }
    return out;
}

// The last point of the strip chart's response line (vermillion, solid), or none.
bool newestSample(const fv::Scene& scene, fv::Point2* at) {
    bool found = false;
    for (const fv::Shape& s : scene.shapes) {
        const fv::Box& b = fv::leftChartBox;
        if (s.kind == fv::ShapeKind::line && s.stroke == fv::Stroke::solid &&
            s.color.r == fv::ink::vermillion.r && s.color.g == fv::ink::vermillion.g &&
            s.points.back().x <= b.right && s.points.back().x >= b.left &&
            s.points.back().y <= b.top && s.points.back().y >= b.bottom) {
            *at = s.points.back();
            found = true;
        }
    }
    return found;
}

} // namespace

// The time axis says what the trace shows: after the sweep has wrapped round and after
// 't' and 'T' change its span, the newest sample stands where the numbers put the
// simulated time.
TEST(ClearView, TimeAxisFollowsTheSweepAndItsKeys) {
    const std::unique_ptr<fv::State> owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', resonant);
    s.view.clear = true;
    for (int k = 0; k < 12; ++k) {
        fv::applyKey(s, 'y'); // the whole response in the chart: its newest sample not cut
    }
    for (const std::string keys : {"", "t", "tt", "T"}) {
        for (const char key : keys) {
            fv::applyKey(s, static_cast<unsigned char>(key));
        }
        for (int frame = 0; frame < 237; ++frame) { // past the wrap at 200 samples and more
            ASSERT_TRUE(fv::stepMotion(s));
        }
        const fv::Scene scene = fv::clearPicture(s);
        const auto numbers = xNumbers(scene, fv::leftChartBox);
        ASSERT_GE(numbers.size(), 4u) << keys;
        const auto& [t0, x0] = numbers.front();
        const auto& [t1, x1] = numbers.back();
        fv::Point2 newest = {};
        ASSERT_TRUE(newestSample(scene, &newest)) << keys;
        const double shownTime = t0 + (newest.x - x0) / (x1 - x0) * (t1 - t0);
        EXPECT_NEAR(shownTime, s.motion.simTime, 0.02 * (t1 - t0)) << keys;
        EXPECT_GT(t0, 0.0) << keys << ": the axis starts where the wrapped sweep does";
    }
}

// While the mass sticks the phase plane's trace runs along v = 0: the velocity the
// window records for it is zero, not a small number of either sign.
TEST(ClearView, StickingIsAStretchOnTheVelocityAxis) {
    const std::unique_ptr<fv::State> owned = newState();
    fv::State& s = *owned;
    dialoguePass(s, 'm', "1 0.2 1\n1 0.5\n0.6\n0 0\n"); // stick-slip: two stops a cycle
    fv::applyKey(s, fv::phasePlaneKey);
    int stuck = 0;
    for (int frame = 0; frame < 150; ++frame) {
        ASSERT_TRUE(fv::stepMotion(s));
        stuck += s.motion.velocityRing[s.motion.timeRingIndex] == 0.0;
    }
    EXPECT_GT(stuck, 10);
    const fv::Scene scene = fv::clearPicture(s);
    int onAxis = 0;
    const double zeroY = 0.5 * (fv::rightChartBox.bottom + fv::rightChartBox.top);
    for (const fv::Shape& sh : scene.shapes) {
        if (sh.kind == fv::ShapeKind::line && sh.color.b == fv::ink::blue.b &&
            sh.color.r == fv::ink::blue.r && sh.points.front().x >= fv::rightChartBox.left) {
            for (std::size_t k = 1; k < sh.points.size(); ++k) {
                onAxis += std::fabs(sh.points[k].y - zeroY) < 1e-9 &&
                          std::fabs(sh.points[k - 1].y - zeroY) < 1e-9;
            }
        }
    }
    EXPECT_GT(onAxis, 5) << "segments of the trace along v = 0";
}
