// The real program end to end under a real X server: standard input fed in stages,
// keys typed into its window with xdotool, the picture read back from the X server.
// GoogleTest before Xlib: Xlib's macros (None, Bool, ...) would break its templates.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "console/transcripts.h"
#include "exact/steady.h"
#include "export/png.h"
#include "support/pixels.h"
#include "support/process.h"
#include "support/xwindow.h"
#include "window/window.h"

namespace {

constexpr double stepSeconds = 60.0; // a group (3) pass under the sanitizers takes seconds
constexpr double pictureSeconds = 20.0;
constexpr int size = fv::windowSize;

constexpr const char* firstInput = "1 0.3 1\n0.5 0.5\n0.2\n-0.5 0\n";

Child program;
Display* display = nullptr;
Window window = 0;
std::string workFolder;    // the test's files
std::string programFolder; // the program's working folder, where 'p' writes

// The window's picture as RGB rows from the top.
std::vector<unsigned char> screenshot() {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(size * size * 3), 0);
    XImage* image = XGetImage(display, window, 0, 0, size, size, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return rgb;
    }
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            unsigned char* out = &rgb[static_cast<std::size_t>((y * size + x) * 3)];
            out[0] = static_cast<unsigned char>((p & image->red_mask) >> 16);
            out[1] = static_cast<unsigned char>((p & image->green_mask) >> 8);
            out[2] = static_cast<unsigned char>(p & image->blue_mask);
        }
    }
    XDestroyImage(image);
    return rgb;
}

// The picture that --png draws with DISPLAY unset, for the given input and frames, and
// the view keys pressed after them (with more options, such as --view, before them).
std::vector<unsigned char> pictureWithoutDisplay(const std::string& input, int frames,
                                                 const std::string& keys = "",
                                                 const std::vector<std::string>& more = {}) {
    const std::string path = workFolder + "/offscreen.png";
    ChildOptions options;
    options.args = more;
    for (const std::string& a :
         {std::string("--png"), path, std::string("--frames"), std::to_string(frames)}) {
        options.args.push_back(a);
    }
    if (!keys.empty()) {
        options.args.push_back("--keys");
        options.args.push_back(keys);
    }
    const ProcessResult r =
        runProcess(FRICTIONVIB_PATH, input, {"LC_ALL=C.UTF-8"}, stepSeconds, false, options);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    fv::RgbPicture picture;
    std::string error;
    EXPECT_TRUE(fv::readPng(path, &picture, &error)) << error;
    EXPECT_EQ(picture.width, size);
    EXPECT_EQ(picture.height, size);
    return picture.rgb;
}

// The frames the window has drawn since the dialogue: the count for which --png draws
// the same picture, or 0 when none does before the time limit.
constexpr int maxStartFrames = 3;
int framesShown(const std::string& input);

// Number of pure-blue pixels in a window-coordinate rectangle.
int bluePixels(const std::vector<unsigned char>& shot, double x0, double x1, double y0, double y1) {
    int count = 0;
    for (double y = y0; y < y1; y += 0.0025) {
        for (double x = x0; x < x1; x += 0.0025) {
            count += isBlue(rgbOf(pixel(shot, x, y))) ? 1 : 0;
        }
    }
    return count;
}

// Polls the window until predicate holds for a screenshot, for at most seconds.
template <typename Predicate> bool waitForPicture(Predicate predicate, double seconds) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    while (std::chrono::steady_clock::now() < deadline) {
        if (predicate(screenshot())) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

int framesShown(const std::string& input) {
    std::vector<std::vector<unsigned char>> pictures;
    for (int frames = 1; frames <= maxStartFrames; ++frames) {
        pictures.push_back(pictureWithoutDisplay(input, frames));
    }
    int shown = 0;
    waitForPicture(
        [&](const auto& shot) {
            for (int k = 0; k < maxStartFrames && shown == 0; ++k) {
                shown = shot == pictures[static_cast<std::size_t>(k)] ? k + 1 : 0;
            }
            return shown != 0;
        },
        pictureSeconds);
    return shown;
}

void typeKey(const char* key) {
    const std::string id = std::to_string(window);
    const std::string command = "timeout 10 xdotool windowfocus --sync " + id + " key " + key;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// The program's window once it is there, moved to the origin for screenshots; 0 when
// none appears.
Window waitForWindow() {
    Window found = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (found == 0 && std::chrono::steady_clock::now() < deadline) {
        found = findWindow(display, fv::windowTitle);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (found != 0) {
        // The window library places it at (-1, -1); screenshots want it at the origin.
        XMoveWindow(display, found, 0, 0);
        XSync(display, False);
    }
    return found;
}

// The environment of a program in the test's X server, with leak detection on: the
// sanitizer build must end cleanly with it.
std::vector<std::string> windowEnvironment() {
    return {std::string("DISPLAY=") + std::getenv("DISPLAY"), "LC_ALL=C.UTF-8",
            "ASAN_OPTIONS=detect_leaks=1"};
}

// Samples on the strip chart: sample k lies at x = -0.99 + 0.005 k, the rightmost
// column that holds a pure red, green or blue pixel in the left half (below the
// legend, left of the mechanism's anchor).
int stripChartSamples(const std::vector<unsigned char>& shot) {
    for (double x = -0.0075; x > -0.99; x -= 0.0025) {
        for (double y = -0.7; y < 0.7; y += 0.0025) {
            const unsigned char* p = pixel(shot, x, y);
            const int full = (p[0] == 255) + (p[1] == 255) + (p[2] == 255);
            const int none = (p[0] == 0) + (p[1] == 0) + (p[2] == 0);
            if (full == 1 && none == 2) {
                return static_cast<int>(std::lround((x + 0.99) / 0.005));
            }
        }
    }
    return 0;
}

// A new program in the test's X server, given input, and its window (0 if none).
void startProgram(const std::string& input, const ChildOptions& options = {},
                  const std::vector<std::string>& environment = windowEnvironment()) {
    program = Child();
    window = 0;
    if (startChild(program, FRICTIONVIB_PATH, environment, options)) {
        sendInput(program, input);
        window = waitForWindow();
    }
}

// Answers the prompts from start on, in stages, each after its prompt has appeared.
void answer(const std::vector<std::pair<const char*, std::string>>& stages) {
    for (const auto& stage : stages) {
        ASSERT_TRUE(readUntil(program, stage.first, stepSeconds, 0)) << program.out;
        sendInput(program, stage.second);
    }
}

// Waits for the key help at or after from: the end of a dialogue pass; then a moment
// for the pass to return to the window, which drops the keys typed before.
constexpr auto passReturnMs = std::chrono::milliseconds(300);
void waitForPassEnd(std::size_t from) {
    ASSERT_TRUE(readUntil(program, helpText, stepSeconds, from)) << program.out.substr(from);
    std::this_thread::sleep_for(passReturnMs);
}

// A 'j' pass with the given initial conditions, to its end.
void restartWithInitialConditions(const std::string& answer) {
    const std::size_t from = program.out.size();
    typeKey("j");
    ASSERT_TRUE(readUntil(program, prompt4Text, stepSeconds, from));
    sendInput(program, answer);
    waitForPassEnd(from);
}

class RunningProgram : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        display = XOpenDisplay(nullptr);
        const char* name = std::getenv("DISPLAY");
        ASSERT_NE(name, nullptr);
        char folder[] = "/tmp/fv-window-XXXXXX";
        workFolder = mkdtemp(folder);
        programFolder = workFolder + "/cwd";
        ASSERT_EQ(mkdir(programFolder.c_str(), 0700), 0);
        ChildOptions options;
        options.cwd = programFolder;
        ASSERT_TRUE(startChild(program, FRICTIONVIB_PATH,
                               {std::string("DISPLAY=") + name, "LC_ALL=C.UTF-8"}, options));
    }
    static void TearDownTestSuite() {
        if (program.pid > 0) {
            waitExit(program, 0.0);
        }
        if (display != nullptr) {
            XCloseDisplay(display);
        }
        std::system(("rm -rf '" + workFolder + "'").c_str());
    }
};

TEST_F(RunningProgram, OpensItsWindowWithTheJapaneseTitle) {
    ASSERT_NE(display, nullptr);
    answer({{prompt1Text, "1 0.3 1\n"},
            {prompt2Text, "0.5 0.5\n"},
            {prompt3Text, "0.2\n"},
            {prompt4Text, "-0.5 0\n"}});
    waitForPassEnd(0);
    window = waitForWindow();
    ASSERT_NE(window, 0u) << "no window titled " << fv::windowTitle;
    for (const char* property : {"_NET_WM_NAME", "WM_NAME", "_NET_WM_ICON_NAME", "WM_ICON_NAME"}) {
        EXPECT_EQ(utf8Property(display, window, property), fv::windowTitle) << property;
    }
    EXPECT_TRUE(waitForPicture([](const auto& shot) { return isGreen(pixel(shot, 0.4102, 0.9)); },
                               pictureSeconds))
        << "green resonance line at x = 0.41";
}

// The window draws one or two frames as it maps, as its events come; the picture that
// --png draws without any display after the same number of frames equals it, and so
// it does after two more frames.
TEST_F(RunningProgram, PictureWithoutDisplayEqualsTheWindowAfterTheSameFrames) {
    ASSERT_NE(window, 0u);
    const int shown = framesShown(firstInput);
    ASSERT_GT(shown, 0) << "no frame count from 1 to " << maxStartFrames << " gives the window";
    typeKey("s");
    typeKey("s");
    const std::vector<unsigned char> later = pictureWithoutDisplay(firstInput, shown + 2);
    EXPECT_TRUE(waitForPicture([&](const auto& shot) { return shot == later; }, pictureSeconds))
        << differingPixels(screenshot(), later) << " pixels differ";
}

// 'p' writes what the window shows to a new file, names it on the console and draws
// no frame; a second 'p' never overwrites the first; a failure changes nothing.
TEST_F(RunningProgram, KeyPSavesThePictureShown) {
    ASSERT_NE(window, 0u);
    const std::vector<unsigned char> shown = screenshot();
    std::vector<std::string> names;
    for (int press = 0; press < 2; ++press) {
        const std::size_t from = program.out.size();
        typeKey("p");
        ASSERT_TRUE(readUntil(program, ".png\n", stepSeconds, from));
        const std::string name = program.out.substr(from, program.out.find('\n', from) - from);
        EXPECT_EQ(name.rfind("frictionvib-2", 0), 0u) << name;
        names.push_back(name);
        fv::RgbPicture saved;
        std::string error;
        ASSERT_TRUE(fv::readPng(programFolder + "/" + name, &saved, &error)) << error;
        EXPECT_EQ(differingPixels(saved.rgb, shown), 0) << name;
    }
    EXPECT_NE(names[0], names[1]);
    EXPECT_EQ(screenshot(), shown) << "no frame drawn";

    // Without its working folder the program cannot write.
    for (const std::string& name : names) {
        std::remove((programFolder + "/" + name).c_str());
    }
    ASSERT_EQ(rmdir(programFolder.c_str()), 0);
    const std::size_t errFrom = program.err.size();
    typeKey("p");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (program.err.find('\n', errFrom) == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        readUntil(program, "\x01", 0.05);
    }
    EXPECT_NE(program.err.find("No such file or directory", errFrom), std::string::npos)
        << program.err;
    EXPECT_EQ(screenshot(), shown) << "no frame drawn";
}

// 'e' lays the exact steady amplitudes over the chart: a dot where the exact motion
// says, in the colour of its kind of motion; 'e' again takes them away.
TEST_F(RunningProgram, KeyEShowsTheExactDots) {
    ASSERT_NE(window, 0u);
    const double z = 2.0; // dot 39
    const fv::ExactSteady s = fv::exactSteadyState({0.15, z, 0.5, 0.2});
    ASSERT_TRUE(s.converged);
    const double x = 0.01 + z * 0.4;
    const double y = s.amplitude;
    const unsigned char want[3] = {0, 0, static_cast<unsigned char>(s.stopsPerCycle > 0 ? 255 : 0)};
    auto dotAt = [&](const std::vector<unsigned char>& shot) {
        for (double dx : {-0.0025, 0.0, 0.0025}) {
            for (double dy : {-0.0025, 0.0, 0.0025}) {
                const unsigned char* p = pixel(shot, x + dx, y + dy);
                if (p[0] != want[0] || p[1] != want[1] || p[2] != want[2]) {
                    return false;
                }
            }
        }
        return true;
    };
    ASSERT_FALSE(dotAt(screenshot()));
    typeKey("e");
    EXPECT_TRUE(waitForPicture(dotAt, pictureSeconds)) << "dot at (" << x << ", " << y << ")";
    typeKey("e");
    EXPECT_TRUE(waitForPicture([&](const auto& shot) { return !dotAt(shot); }, pictureSeconds));
}

// The space bar plays the motion by itself at about ten frames a second, counted by
// the strip chart's samples; a second space stops it; a return to the console stops
// it for good.
// 'g' puts the regime map in the right half: cells in the colours of their kind of
// motion; 'g' again brings the frequency chart back.
TEST_F(RunningProgram, KeyGSwapsChartAndRegimeMap) {
    ASSERT_NE(window, 0u);
    auto is = [](const unsigned char* p, int r, int g, int b) { // within the rounding
        return std::abs(p[0] - r) <= 1 && std::abs(p[1] - g) <= 1 && std::abs(p[2] - b) <= 1;
    };
    // zeta = 0.15: z = 2.5 with Yc/Yf = 0.1 never stops; Yc/Yf = 1.1 never moves.
    auto mapShown = [&](const std::vector<unsigned char>& shot) {
        return is(pixel(shot, 0.085 + 0.0075 * 99.5, 0.0125 + 0.015 * 5.5), 255, 255, 140) &&
               is(pixel(shot, 0.085 + 0.0075 * 19.5, 0.0125 + 0.015 * 55.5), 178, 229, 178);
    };
    typeKey("g");
    EXPECT_TRUE(waitForPicture(mapShown, pictureSeconds));
    typeKey("g");
    EXPECT_TRUE(waitForPicture(
        [&](const auto& shot) { return !mapShown(shot) && isGreen(pixel(shot, 0.4102, 0.9)); },
        pictureSeconds))
        << "the chart is back";
}

TEST_F(RunningProgram, SpaceBarPlaysAndStops) {
    ASSERT_NE(window, 0u);
    restartWithInitialConditions("0.3 0\n"); // the strip chart starts again from sample 0
    const auto start = std::chrono::steady_clock::now();
    typeKey("space");
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    typeKey("space");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::vector<unsigned char> stopped = screenshot();
    const int frames = stripChartSamples(stopped);
    EXPECT_GT(frames, 0.6 * 10.0 * seconds) << frames << " frames in " << seconds << " s";
    EXPECT_LT(frames, 1.3 * 10.0 * seconds) << frames << " frames in " << seconds << " s";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(screenshot(), stopped) << "stopped";

    typeKey("space");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    restartWithInitialConditions("0.3 0\n");
    std::vector<unsigned char> afterPass; // the first frame, drawn as the pass ends
    ASSERT_TRUE(waitForPicture(
        [&](const auto& shot) {
            afterPass = shot;
            return stripChartSamples(shot) == 1;
        },
        pictureSeconds));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(screenshot(), afterPass) << "the 'j' pass stopped the playback";
}

TEST_F(RunningProgram, KeySAdvancesTheMotion) {
    ASSERT_NE(window, 0u);
    const std::vector<unsigned char> before = screenshot();
    typeKey("s");
    EXPECT_TRUE(waitForPicture([&](const auto& shot) { return shot != before; }, pictureSeconds));
}

TEST_F(RunningProgram, KeyZMovesTheResonanceLine) {
    ASSERT_NE(window, 0u);
    typeKey("z");
    EXPECT_TRUE(waitForPicture(
        [](const auto& shot) {
            return isGreen(pixel(shot, 0.3702, 0.9)) && !isGreen(pixel(shot, 0.4102, 0.9));
        },
        pictureSeconds))
        << "green line at x = 0.37";
}

TEST_F(RunningProgram, KeyJAsksForTheInitialConditionsAndRestarts) {
    ASSERT_NE(window, 0u);
    const std::size_t from = program.out.size();
    typeKey("j");
    ASSERT_TRUE(readUntil(program, prompt4Text, stepSeconds, from));
    EXPECT_EQ(program.out.find(prompt3Text, from), std::string::npos);
    sendInput(program, "0.3 0\n");
    waitForPassEnd(from);
    typeKey("s");
    // The next frame starts from y0 = 0.3 at t = 0 with the default scales again.
    EXPECT_TRUE(waitForPicture(
        [](const auto& shot) {
            return isRed(pixel(shot, 0.5, 0.3)) && isGreen(pixel(shot, 0.4102, 0.9));
        },
        pictureSeconds));
}

TEST_F(RunningProgram, KeyRRecomputesTheCurvesForNewFriction) {
    ASSERT_NE(window, 0u);
    const int blueBefore = bluePixels(screenshot(), 0.02, 0.45, 0.05, 0.95);
    const std::size_t from = program.out.size();
    typeKey("r");
    ASSERT_TRUE(readUntil(program, prompt3Text, stepSeconds, from));
    sendInput(program, "0.05\n");
    ASSERT_TRUE(readUntil(program, prompt4Text, stepSeconds, from));
    EXPECT_NE(program.out.find("Fric= 0.0500", from), std::string::npos);
    sendInput(program, "0.3 0\n");
    waitForPassEnd(from);
    typeKey("s");
    EXPECT_TRUE(waitForPicture(
        [&](const auto& shot) {
            const int blue = bluePixels(shot, 0.02, 0.45, 0.05, 0.95);
            return std::abs(blue - blueBefore) > blueBefore / 10;
        },
        pictureSeconds))
        << "blue stick-slip curves before: " << blueBefore;
}

TEST_F(RunningProgram, EscapeEndsWithStatusZero) {
    ASSERT_NE(window, 0u);
    const std::string id = std::to_string(window);
    ASSERT_EQ(std::system(("timeout 10 xdotool windowfocus --sync " + id).c_str()), 0);
    std::system("timeout 10 xdotool key Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

// A program started with standard output or input closed: the X connection must not
// become the console. A return to the console and then 's' still redraw, and ESC ends
// with status 0, with leak detection on in the sanitizer build.
TEST_F(RunningProgram, ClosedStandardOutputKeepsTheWindowWorking) {
    ChildOptions options;
    options.closeStdout = true;
    startProgram(std::string(firstInput) + "0.3 0\n", options);
    ASSERT_NE(window, 0u);
    typeKey("j");
    typeKey("s");
    EXPECT_TRUE(waitForPicture([](const auto& shot) { return isRed(pixel(shot, 0.5, 0.3)); },
                               pictureSeconds))
        << "the mass starts from y0 = 0.3 after the 'j' pass";
    typeKey("Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

TEST_F(RunningProgram, ClosedStandardInputKeepsTheWindowWorking) {
    ChildOptions options;
    options.closeStdin = true;
    startProgram("", options);
    ASSERT_NE(window, 0u);
    waitForPassEnd(0);
    // Six returns to the console in a row: every one is a pass, none reads X events.
    const std::size_t from = program.out.find(helpText) + 1;
    typeKey("m m m m m m");
    auto passes = [&] {
        std::size_t count = 0;
        for (std::size_t at = program.out.find(helpText, from); at != std::string::npos;
             at = program.out.find(helpText, at + 1)) {
            ++count;
        }
        return count;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (passes() < 6 && std::chrono::steady_clock::now() < deadline) {
        readUntil(program, "\x01", 0.1);
    }
    EXPECT_EQ(passes(), 6u);
    typeKey("z");
    EXPECT_TRUE(waitForPicture(
        [](const auto& shot) {
            return isGreen(pixel(shot, 0.3702, 0.9)) && !isGreen(pixel(shot, 0.4102, 0.9));
        },
        pictureSeconds))
        << "the 'z' frame moved the resonance line";
    typeKey("Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

// Another client destroys the window while the program waits for events: the program
// ends as after a close.
TEST_F(RunningProgram, DestroyedWindowEndsTheProgram) {
    startProgram(firstInput);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(waitForPicture([](const auto& shot) { return isGreen(pixel(shot, 0.4102, 0.9)); },
                               pictureSeconds));
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // idle in the event loop
    XDestroyWindow(display, window);
    XSync(display, False);
    EXPECT_EQ(waitExit(program, 5.0), 0) << program.err;
    program.pid = -1;
}

// Where the file system has no hard links (link() fails with EPERM, as on FAT), 'p'
// claims its names by creating them exclusively: two presses, two pictures.
TEST_F(RunningProgram, KeyPWithoutHardLinks) {
    ChildOptions options;
    options.cwd = workFolder + "/nolinks";
    ASSERT_EQ(mkdir(options.cwd.c_str(), 0700), 0);
    std::vector<std::string> environment = {std::string("DISPLAY=") + std::getenv("DISPLAY"),
                                            "LC_ALL=C.UTF-8",
                                            "ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0",
                                            std::string("LD_PRELOAD=") + NO_HARD_LINKS_PATH};
    startProgram(firstInput, options, environment);
    ASSERT_NE(window, 0u);
    waitForPassEnd(0);
    std::vector<std::string> names;
    for (int press = 0; press < 2; ++press) {
        const std::size_t from = program.out.size();
        typeKey("p");
        ASSERT_TRUE(readUntil(program, ".png\n", stepSeconds, from)) << program.err;
        names.push_back(program.out.substr(from, program.out.find('\n', from) - from));
        fv::RgbPicture saved;
        std::string error;
        EXPECT_TRUE(fv::readPng(options.cwd + "/" + names.back(), &saved, &error)) << error;
    }
    EXPECT_NE(names[0], names[1]);
    typeKey("Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

// Every view key pressed in the window gives the picture that --keys gives after the
// same frames and keys; what 'e' and 'g' show, computed off the event loop, reaches it.
// The clear view, its phase plane and its energy and the classic picture with the energy
// panel are drawn by the window as --png draws them.
TEST_F(RunningProgram, ViewKeysEqualTheirPicturesFromTheCommandLine) {
    const std::string input = "1 0.1 1\n1 1\n0.05\n0.1 0\n"; // a 9.4 m peak for 'a'
    startProgram(input);
    ASSERT_NE(window, 0u);
    const int shown = framesShown(input);
    ASSERT_GT(shown, 0);
    std::string keys;
    for (const char* key : {"s", "t", "T", "y", "Y", "z", "Z", "a", "e", "g", "c", "o", "w", "c"}) {
        typeKey(key);
        keys += key;
        const std::vector<unsigned char> expected = pictureWithoutDisplay(input, shown, keys);
        EXPECT_TRUE(
            waitForPicture([&](const auto& shot) { return shot == expected; }, pictureSeconds))
            << keys << ": " << differingPixels(screenshot(), expected) << " pixels differ";
    }
    typeKey("Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

// --view clear opens the window in the clear picture (its vermillion curves, none of the
// classic picture's pure colours), and 'c' then gives the classic picture that --png
// draws with the same option, frames and key.
TEST_F(RunningProgram, ViewOptionOpensTheClearPictureAndCGivesTheClassicOne) {
    const std::string input = "1 0.1 1\n1 1\n0.05\n0.1 0\n";
    ChildOptions options;
    options.args = {"--view", "clear"};
    startProgram(input, options);
    ASSERT_NE(window, 0u);
    auto inkOf = [](const std::vector<unsigned char>& shot, int r, int g, int b) {
        int count = 0;
        for (std::size_t k = 0; k + 2 < shot.size(); k += 3) {
            count += shot[k] == r && shot[k + 1] == g && shot[k + 2] == b;
        }
        return count;
    };
    EXPECT_TRUE(waitForPicture(
        [&](const auto& shot) {
            return inkOf(shot, 213, 94, 0) > 300 && inkOf(shot, 255, 0, 0) == 0;
        },
        pictureSeconds))
        << "the clear picture";
    std::vector<std::vector<unsigned char>> classic;
    for (int frames = 1; frames <= maxStartFrames; ++frames) {
        classic.push_back(pictureWithoutDisplay(input, frames, "c", {"--view", "clear"}));
    }
    typeKey("c");
    EXPECT_TRUE(waitForPicture(
        [&](const auto& shot) {
            return std::find(classic.begin(), classic.end(), shot) != classic.end();
        },
        pictureSeconds))
        << "the classic picture after c";
    typeKey("Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

// A return to the console: as soon as the dialogue ends the window draws the first frame
// of the new motion, as it does when it opens, and the keys typed while the dialogue
// waited are dropped. An exposure draws the same picture again.
TEST_F(RunningProgram, ReturnFromTheConsoleRedrawsAndDropsTheKeysTypedMeanwhile) {
    startProgram(firstInput);
    ASSERT_NE(window, 0u);
    waitForPassEnd(0);
    const std::size_t from = program.out.size();
    typeKey("j");
    ASSERT_TRUE(readUntil(program, prompt4Text, stepSeconds, from));
    typeKey("s s s s s y y");
    sendInput(program, "0.3 0\n");
    waitForPassEnd(from);
    const std::string input = "1 0.3 1\n0.5 0.5\n0.2\n0.3 0\n";
    const std::vector<unsigned char> first = pictureWithoutDisplay(input, 1);
    EXPECT_TRUE(waitForPicture([&](const auto& shot) { return shot == first; }, pictureSeconds))
        << differingPixels(screenshot(), first) << " pixels differ from the first frame";
    XClearArea(display, window, 0, 0, 0, 0, True);
    XSync(display, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(differingPixels(screenshot(), first), 0) << "no typed key, no step at an exposure";
    typeKey("s");
    const std::vector<unsigned char> second = pictureWithoutDisplay(input, 2);
    EXPECT_TRUE(waitForPicture([&](const auto& shot) { return shot == second; }, pictureSeconds));
    typeKey("Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

// The fit after the exact dots: what the window shows after 'e' (its dots computed off
// the event loop) and 'a' is the picture --keys draws for them.
TEST_F(RunningProgram, FitAfterTheExactDotsEqualsItsPictureFromTheCommandLine) {
    const std::string input = "1 0.1 1\n1 1\n0.05\n0 0\n";
    startProgram(input);
    ASSERT_NE(window, 0u);
    typeKey("e a");
    const std::vector<unsigned char> expected = pictureWithoutDisplay(input, 1, "ea");
    EXPECT_TRUE(waitForPicture([&](const auto& shot) { return shot == expected; }, pictureSeconds))
        << differingPixels(screenshot(), expected) << " pixels differ";
    typeKey("Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

// 'g' answers at once: right after the key the map's legend is there and its cells are
// still coming; 'g' again brings the chart back while the map is computed, and ESC
// during the computation ends the program with status 0.
TEST_F(RunningProgram, RegimeMapIsComputedWhileTheKeysWork) {
    const std::string input = "1 0 1\n1 0.5\n0.3\n0 0\n"; // zeta = 0: the slowest map
    startProgram(input);
    ASSERT_NE(window, 0u);
    auto legendShown = [](const std::vector<unsigned char>& shot) {
        const unsigned char* p = pixel(shot, -0.935, -0.597); // the "never stops" swatch
        return p[0] == 255 && p[1] == 255 && p[2] == 140;
    };
    auto cellsPending = [](const std::vector<unsigned char>& shot) {
        int white = 0;
        for (double y = 0.02; y < 0.92; y += 0.015) {
            const unsigned char* p = pixel(shot, 0.95, y); // a column of cells at z = 2.9
            white += p[0] == 255 && p[1] == 255 && p[2] == 255 ? 1 : 0;
        }
        return white > 0;
    };
    typeKey("g");
    std::vector<unsigned char> first;
    ASSERT_TRUE(waitForPicture(
        [&](const auto& shot) {
            first = shot;
            return legendShown(shot);
        },
        pictureSeconds));
    EXPECT_TRUE(cellsPending(first)) << "the frame of the key shows the map before its cells";
    typeKey("g");
    EXPECT_TRUE(waitForPicture([](const auto& shot) { return isGreen(pixel(shot, 0.4102, 0.9)); },
                               pictureSeconds))
        << "the chart is back";
    typeKey("g");
    EXPECT_TRUE(
        waitForPicture([&](const auto& shot) { return !cellsPending(shot); }, pictureSeconds))
        << "the map completes";
    const std::size_t passFrom = program.out.size(); // keys typed before its end are dropped
    typeKey("r");
    ASSERT_TRUE(readUntil(program, prompt3Text, stepSeconds, passFrom));
    sendInput(program, "0.4\n0 0\n");
    waitForPassEnd(program.out.find(prompt3Text, passFrom));
    typeKey("m");
    ASSERT_TRUE(readUntil(program, prompt1Text, stepSeconds, program.out.size() - 1));
    const std::size_t from = program.out.size();
    sendInput(program, "1 0.02 1\n1 0.5\n0.3\n0 0\n"); // a new zeta: a new map
    waitForPassEnd(from);
    typeKey("s Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

// A second parameter set in a new program: stick-slip at low frequency, zeta = 0.
TEST_F(RunningProgram, PictureWithoutDisplayEqualsTheWindowForASecondSystem) {
    const std::string input = "2 0 0.5\n0.3 0.1\n0.1\n0.2 0.1\n";
    startProgram(input);
    ASSERT_NE(window, 0u);
    EXPECT_GT(framesShown(input), 0);
    typeKey("Escape");
    EXPECT_EQ(waitExit(program, pictureSeconds), 0);
    program.pid = -1;
}

} // namespace

// The exact dots have a line of the legend under the chart's, while they are shown.
namespace {

TEST(ExactDotsLegend, ShownWithTheDotsOnly) {
    char folder[] = "/tmp/fv-legend-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    workFolder = folder;
    auto darkInLegendLine = [](const std::vector<unsigned char>& shot) {
        int dark = 0;
        for (double y = -0.36; y < -0.32; y += 0.0025) {
            for (double x = 0.02; x < 0.6; x += 0.0025) { // right of the strip chart's grid
                const unsigned char* p = pixel(shot, x, y);
                dark += p[0] < 100 && p[1] < 100 && p[2] < 100 ? 1 : 0;
            }
        }
        return dark;
    };
    EXPECT_EQ(darkInLegendLine(pictureWithoutDisplay(firstInput, 1)), 0);
    EXPECT_GT(darkInLegendLine(pictureWithoutDisplay(firstInput, 1, "e")), 200);
    std::system(("rm -rf '" + workFolder + "'").c_str());
}

} // namespace
