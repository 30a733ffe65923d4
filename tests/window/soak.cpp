// Soak of the window: drives the real window code as fast as it draws, with the
// keyboard callback itself: mostly 's', zoom keys now and then, and a return to the
// console every few thousand frames, answered from a prepared input. Checks after
// every key that the ring index stays inside its rows and the capacity inside the
// ring, that time and state stay finite, that every redraw advanced the motion, and
// at the end that the resident memory stayed flat; then ends with ESC (status 0).
//
//   fv_soak [frames] [frames between console passes]
#include <GL/freeglut.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "console/dialogue.h"
#include "session/keys.h"
#include "state/state.h"
#include "window/keyboard.h"
#include "window/window.h"

namespace {

constexpr long defaultFrames = 100000;
constexpr long defaultConsoleInterval = 2500;
constexpr long warmUpFrames = 1000;     // resident memory is measured from here on
constexpr long maxGrowthKiB = 8 * 1024; // allowed growth of the resident set
#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer holds freed memory in quarantine on purpose: report, do not judge.
constexpr bool judgeMemory = false;
#else
constexpr bool judgeMemory = true;
#endif
constexpr long eventInterval = 64; // frames between pumps of the X event queue
constexpr long zoomInterval = 97;  // frames between zoom keys
constexpr char zoomKeys[] = {'t', 'y', 'z', 'T', 'Y', 'Z'};
constexpr char consoleKeys[] = {'r', 'j', 'f', 'm'};

// The soak's state: its own, as a program has one.
fv::State s;

// The window's dialogue: the console passes read the prepared input.
void soakDialogue(fv::State* st) {
    fv::consoleDialogue(*st, {stdin, stdout, &st->console});
}

long residentKiB() {
    long pages = 0;
    long resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return 0;
    }
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
        resident = 0;
    }
    std::fclose(statm);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

[[noreturn]] void fail(long frame, const char* what) {
    std::fprintf(stderr, "soak: frame %ld: %s (index %d, capacity %d, t %g, y %g, v %g)\n", frame,
                 what, s.motion.timeRingIndex, s.view.timeRingCapacity, s.motion.simTime,
                 s.motion.stateY[0], s.motion.stateY[1]);
    std::exit(2);
}

void checkInvariants(long frame) {
    if (s.view.timeRingCapacity < 0 || s.view.timeRingCapacity > fv::maxTimeRingCapacity) {
        fail(frame, "ring capacity outside the ring");
    }
    if (s.motion.timeRingIndex < 0 || s.motion.timeRingIndex > s.view.timeRingCapacity) {
        fail(frame, "ring index outside its rows");
    }
    if (!std::isfinite(s.motion.simTime) || !std::isfinite(s.motion.stateY[0]) ||
        !std::isfinite(s.motion.stateY[1])) {
        fail(frame, "time or state not finite");
    }
}

// Answers for every console pass the soak makes: by key, the numbers its groups read.
std::string consoleAnswers(long passes) {
    std::string text = "1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n"; // the first pass
    for (long p = 0; p < passes; ++p) {
        const double fric = 0.05 + 0.05 * static_cast<double>(p % 5);
        char line[160];
        switch (consoleKeys[p % 4]) {
        case 'r':
            std::snprintf(line, sizeof line, "%g\n0.2 0\n", fric);
            break;
        case 'j':
            std::snprintf(line, sizeof line, "-0.1 0.5\n");
            break;
        case 'f':
            std::snprintf(line, sizeof line, "0.6 %g\n%g\n0 0\n", 0.4 + 0.1 * (p % 7), fric);
            break;
        default:
            std::snprintf(line, sizeof line, "1.5 0.3 2\n0.5 0.8\n%g\n0.05 0\n", fric);
            break;
        }
        text += line;
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::atol(argv[1]) : defaultFrames;
    const long interval = argc > 2 ? std::max(1L, std::atol(argv[2])) : defaultConsoleInterval;
    static std::string answers = consoleAnswers(frames / interval + 1);
    FILE* input = fmemopen(&answers[0], answers.size(), "r");
    if (input == nullptr || std::freopen("/dev/null", "w", stdout) == nullptr) {
        return 3;
    }
    stdin = input;

    s.session.currentKey = 'm';
    soakDialogue(&s); // the first dialogue, as the entry point runs it
    int glutArgc = 1;
    char* glutArgv[] = {argv[0], nullptr};
    static fv::TemporaryFiles temporaries = {};
    const fv::WindowCallbacks callbacks = {soakDialogue, &temporaries};
    fv::WindowContext context = {&s, &callbacks};
    fv::createWindow(&context, &glutArgc, glutArgv);
    glutMainLoopEvent();

    const auto start = std::chrono::steady_clock::now();
    long startKiB = 0;
    long drawn = 0;
    long passes = 0;
    for (long frame = 1; frame <= frames; ++frame) {
        if (frame == warmUpFrames) {
            startKiB = residentKiB();
        }
        if (frame % interval == 0) {
            fv::keyboard(static_cast<unsigned char>(consoleKeys[passes % 4]), 0, 0);
            passes = passes + 1;
            // The pass ends with the first frame of the new motion, as the window opens.
            if (!(s.motion.simTime > 0.0) || s.motion.timeRingIndex != 1 ||
                s.view.timeRingCapacity != 200) {
                fail(frame, "a console pass did not restart the motion and the view");
            }
        } else {
            const char key = frame % zoomInterval == 0 ? zoomKeys[(frame / zoomInterval) % 6] : 's';
            const double before = s.motion.simTime;
            fv::keyboard(static_cast<unsigned char>(key), 0, 0);
            if (!(s.motion.simTime > before)) {
                fail(frame, "a redraw did not advance the motion");
            }
            drawn = drawn + 1;
        }
        checkInvariants(frame);
        if (frame % eventInterval == 0) {
            glutMainLoopEvent();
        }
    }
    const long endKiB = residentKiB();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr,
                 "soak: %ld frames drawn, %ld console passes, %.1f s (%.0f frames/s), resident "
                 "%ld KiB at frame %ld, %ld KiB at the end\n",
                 drawn, passes, seconds, static_cast<double>(drawn) / seconds, startKiB,
                 warmUpFrames, endKiB);
    if (judgeMemory && frames >= warmUpFrames && endKiB - startKiB > maxGrowthKiB) {
        fail(frames, "resident memory grew");
    }
    std::fflush(stderr);
    fv::keyboard(fv::escapeKey, 0, 0); // ESC: ends the process with status 0
    return 4;                          // not reached
}
