// Entry point: the command-line options, the first console dialogue over all four
// groups, then either what the options asked for (files, a picture) or the window and
// its event loop for the rest of the run. The window and the pictures come from the
// window module, loaded only then. The program's one state is named here, and handed
// to everything else.
#include <cstdio>
#include <cstring>

#include "control/console.h"
#include "control/dialogue.h"
#include "control/export_pass.h"
#include "control/keys.h"
#include "control/options.h"
#include "control/report.h"
#include "control/signals.h"
#include "control/streams.h"
#include "control/window_loader.h"
#include "export/atomic_file.h"
#include "export/tables.h"
#include "state/state.h"

namespace {

// The program's console: standard input and output.
fv::Console standardConsole(fv::State* s) {
    return {stdin, stdout, &s->console};
}

// The dialogue the window runs when a key returns to the console.
void windowDialogue(fv::State* s) {
    fv::consoleDialogue(*s, standardConsole(s));
}

// The window's picture after frames frames and the keys, drawn without a display by the
// window module; false after one line on standard error naming what.
bool drawPicture(fv::State& s, long frames, const std::string& keys, const char* what,
                 fv::RgbPicture* picture) {
    std::string error;
    const fv::WindowModule* window = fv::loadWindowModule(&error);
    if (window == nullptr || !window->renderPictureOffscreen(&s, frames, keys, picture, &error)) {
        fv::reportFailure(what, error);
        return false;
    }
    return true;
}

// The window's picture after the asked frames, written to path: 0, or 1 after one line
// on standard error.
int writeOffscreenPicture(fv::State& s, const fv::Options& options) {
    fv::RgbPicture picture;
    if (!drawPicture(s, options.pictureFrames, options.viewKeys, "draw the picture:", &picture)) {
        return fv::failureStatus;
    }
    fv::FileContent file = {options.picturePath, ""};
    std::string error;
    if (!fv::encodePng(picture, &file.bytes, &error)) {
        return fv::reportFailure("write", options.picturePath + ": " + error);
    }
    if (!fv::writeFileSet(&s.files, &file, 1, &error)) {
        return fv::reportFailure("write", error);
    }
    return 0;
}

// The regime map of the entered damping ratio into PREFIX.csv and PREFIX.png (the window
// with the map shown), both or neither: 0, or 1 after one line on standard error.
int writeRegimeMap(fv::State& s, const fv::Options& options) {
    const std::string& prefix = options.regimeMapPrefix;
    s.view.showRegimeMap = true;
    fv::prepareRegimeMap(s);
    fv::RgbPicture picture;
    if (!drawPicture(s, options.pictureFrames, options.viewKeys,
                     "draw the regime map:", &picture)) {
        return fv::failureStatus;
    }
    std::string error;
    fv::FileContent files[2] = {{prefix + ".csv", fv::regimeCsv(s.session.regimeMap)},
                                {prefix + ".png", ""}};
    if (!fv::encodePng(picture, &files[1].bytes, &error)) {
        return fv::reportFailure("write", prefix + ".png: " + error);
    }
    if (!fv::writeFileSet(&s.files, files, 2, &error)) {
        return fv::reportFailure("write", error);
    }
    return 0;
}

// What the options asked for after the first pass: 0, or 1 after one line.
int batchOutputs(fv::State& s, const fv::Options& options) {
    int status = 0;
    if (!options.exportDir.empty()) {
        status = fv::exportFirstPass(s, options.exportDir, options.exportSeconds);
    }
    if (status == 0 && !options.picturePath.empty()) {
        status = writeOffscreenPicture(s, options);
    }
    if (status == 0 && !options.regimeMapPrefix.empty()) {
        status = writeRegimeMap(s, options);
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    fv::State& s = fv::state;
    fv::openClosedStandardStreams();
    fv::checkStandardOutputAtExit();
    fv::installInterruptCleanup();
    fv::consoleInit(&s.console);
    fv::Options options;
    switch (fv::parseOptions(argc, argv, &options, stdout, stderr)) {
    case fv::OptionsOutcome::done:
        return 0;
    case fv::OptionsOutcome::usage:
        return fv::usageStatus;
    case fv::OptionsOutcome::run:
        break;
    }
    int inputCode = 0;
    if (!fv::standardInputReadable(&inputCode)) {
        return fv::reportFailure("read standard input:", std::strerror(inputCode));
    }
    s.session.currentKey = 'm';
    fv::consoleDialogue(s, standardConsole(&s));
    if (s.console.inputError != 0) {
        return fv::reportFailure("read standard input:", std::strerror(s.console.inputError));
    }
    if (!options.batch) {
        std::string error;
        const fv::WindowModule* window = fv::loadWindowModule(&error);
        if (window == nullptr) {
            return fv::reportFailure("open the window:", error);
        }
        const fv::WindowCallbacks callbacks = {windowDialogue};
        window->runWindow(&s, &callbacks, &options.glutArgc, options.glutArgv);
        return 0;
    }
    return batchOutputs(s, options);
}
