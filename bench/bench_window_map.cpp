// Benchmark of the key 'g' in the real window: from the key to the first change of the
// picture (the map's frame, its cells still coming) and to the complete map, for three
// damping ratios. Needs a display: tests/support/with_xvfb.sh build/bench/bench_window_map
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/process.h"
#include "support/xwindow.h"
#include "window/window.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int size = fv::windowSize;
constexpr double limitSeconds = 60.0;

Display* display = nullptr;

// The pixels of the window, as X gives them.
std::vector<unsigned long> picture(Window w) {
    std::vector<unsigned long> pixels(static_cast<std::size_t>(size * size), 0);
    XImage* image = XGetImage(display, w, 0, 0, size, size, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return pixels;
    }
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            pixels[static_cast<std::size_t>(y * size + x)] = XGetPixel(image, x, y);
        }
    }
    XDestroyImage(image);
    return pixels;
}

// Whether every cell of the map is coloured: none is the white of a cell not done.
bool mapComplete(const std::vector<unsigned long>& p) {
    for (int row = 0; row < 61; ++row) {
        for (int column = 0; column < 120; ++column) {
            const int x = 434 + 3 * column + 1;
            const int y = size - 1 - (405 + 6 * row + 3);
            if ((p[static_cast<std::size_t>(y * size + x)] & 0xffffff) == 0xffffff) {
                return false;
            }
        }
    }
    return true;
}

// A key press and release sent straight to the window (no helper process to start, so
// that the time counts from the key itself).
void pressKey(Window w, KeySym key) {
    XKeyEvent event = {};
    event.display = display;
    event.window = w;
    event.root = DefaultRootWindow(display);
    event.same_screen = True;
    event.keycode = XKeysymToKeycode(display, key);
    event.type = KeyPress;
    XSendEvent(display, w, True, KeyPressMask, reinterpret_cast<XEvent*>(&event));
    event.type = KeyRelease;
    XSendEvent(display, w, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&event));
    XFlush(display);
}

double secondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

void measure(double zeta) {
    const std::string input = "1 " + std::to_string(2.0 * zeta) + " 1\n1 0.5\n0.3\n0 0\n";
    Child program;
    ChildOptions options;
    startChild(program, FRICTIONVIB_PATH,
               {std::string("DISPLAY=") + std::getenv("DISPLAY"), "LC_ALL=C.UTF-8"}, options);
    sendInput(program, input);
    Window w = 0;
    const auto start = Clock::now();
    while ((w = findWindow(display, fv::windowTitle)) == 0 && secondsSince(start) < limitSeconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    XMoveWindow(display, w, 0, 0); // placed at (-1, -1): X reads no pixel off the screen
    XSync(display, False);
    readUntil(program, "ESC", limitSeconds);
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // the window settles
    std::system(("xdotool windowfocus --sync " + std::to_string(w)).c_str());
    // A frame of 's' first, for comparison: the same drawing without the map's work.
    std::vector<unsigned long> before = picture(w);
    const auto frameKey = Clock::now();
    pressKey(w, XK_s);
    while (picture(w) == before && secondsSince(frameKey) < limitSeconds) {
    }
    const double frameSeconds = secondsSince(frameKey);
    before = picture(w);
    const auto pressed = Clock::now();
    pressKey(w, XK_g);
    double firstChange = -1.0;
    double complete = -1.0;
    while (complete < 0.0 && secondsSince(pressed) < limitSeconds) {
        const std::vector<unsigned long> now = picture(w);
        if (firstChange < 0.0 && now != before) {
            firstChange = secondsSince(pressed);
        }
        if (firstChange >= 0.0 && mapComplete(now)) {
            complete = secondsSince(pressed);
        }
    }
    std::printf("%-8g %14.0f ms %14.0f ms %14.0f ms\n", zeta, 1e3 * frameSeconds, 1e3 * firstChange,
                1e3 * complete);
    std::system(("xdotool windowfocus --sync " + std::to_string(w) + " key Escape").c_str());
    waitExit(program, limitSeconds);
}

} // namespace

int main() {
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "bench_window_map: no display\n");
        return 1;
    }
    std::printf("%-8s %17s %17s %17s\n", "zeta", "frame of 's'", "first change", "complete map");
    for (double zeta : {0.05, 1.0, 10.0}) {
        measure(zeta);
    }
    XCloseDisplay(display);
    return 0;
}
