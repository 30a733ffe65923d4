// Entry point: the command-line options, the first console dialogue over all four
// groups, then either what the options asked for (files, a picture) or the window and
// its event loop for the rest of the run. The window and the pictures come from the
// window module, loaded only then.
#include <cstdio>
#include <cstring>

#include "control/console.h"
#include "control/dialogue.h"
#include "control/export_pass.h"
#include "control/keys.h"
#include "control/options.h"
#include "control/params.h"
#include "control/streams.h"
#include "control/window_loader.h"
#include "export/atomic_file.h"
#include "export/interrupt.h"
#include "export/picture_file.h"
#include "export/tables.h"

namespace {

constexpr int usageStatus = 2;

// The window's picture after frames frames, drawn without a display by the window
// module; false after one line on standard error naming what.
bool drawPicture(long frames, const std::string& keys, const char* what, fv::RgbPicture* picture) {
    std::string error;
    const fv::WindowModule* window = fv::loadWindowModule(&error);
    if (window == nullptr || !window->renderPictureOffscreen(frames, keys, picture, &error)) {
        std::fprintf(stderr, "frictionvib: cannot draw %s: %s\n", what, error.c_str());
        return false;
    }
    return true;
}

// The window's picture after the asked frames, written to path: 0, or 1 after one line
// on standard error.
int writeOffscreenPicture(const std::string& path, long frames, const std::string& keys) {
    fv::RgbPicture picture;
    std::string error;
    if (!drawPicture(frames, keys, "the picture", &picture)) {
        return 1;
    }
    if (!fv::writePictureFile(picture, path, &error)) {
        std::fprintf(stderr, "frictionvib: cannot write %s\n", error.c_str());
        return 1;
    }
    return 0;
}

// The regime map of the entered damping ratio into PREFIX.csv and PREFIX.png (the window
// with the map shown), both or neither: 0, or 1 after one line on standard error.
int writeRegimeMap(const std::string& prefix, long frames, const std::string& keys) {
    fv::showRegimeMap = true;
    fv::prepareRegimeMap();
    fv::RgbPicture picture;
    if (!drawPicture(frames, keys, "the regime map", &picture)) {
        return 1;
    }
    std::string error;
    fv::FileContent files[2] = {{prefix + ".csv", fv::regimeCsv(fv::regimeMap)},
                                {prefix + ".png", ""}};
    if (!fv::encodePng(picture, &files[1].bytes, &error)) {
        error = prefix + ".png: " + error;
    } else if (fv::writeFileSet(files, 2, &error)) {
        return 0;
    }
    std::fprintf(stderr, "frictionvib: cannot write %s\n", error.c_str());
    return 1;
}

// One line on standard error for standard input that cannot be read: 1.
int reportUnreadableInput(int code) {
    std::fprintf(stderr, "frictionvib: cannot read standard input: %s\n", std::strerror(code));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    fv::openClosedStandardStreams();
    fv::checkStandardOutputAtExit();
    fv::installInterruptCleanup();
    fv::consoleInit();
    static fv::Options options;
    switch (fv::parseOptions(argc, argv, &options, stdout, stderr)) {
    case fv::OptionsOutcome::done:
        return 0;
    case fv::OptionsOutcome::usage:
        return usageStatus;
    case fv::OptionsOutcome::run:
        break;
    }
    int inputCode = 0;
    if (!fv::standardInputReadable(&inputCode)) {
        return reportUnreadableInput(inputCode);
    }
    fv::currentKey = 'm';
    fv::consoleDialogue();
    if (fv::standardInputError() != 0) {
        return reportUnreadableInput(fv::standardInputError());
    }
    if (!options.batch) {
        std::string error;
        const fv::WindowModule* window = fv::loadWindowModule(&error);
        if (window == nullptr) {
            std::fprintf(stderr, "frictionvib: cannot open the window: %s\n", error.c_str());
            return 1;
        }
        window->runWindow(&options.glutArgc, options.glutArgv);
        return 0;
    }
    int status = 0;
    if (!options.exportDir.empty()) {
        status = fv::exportFirstPass(options.exportDir, options.exportSeconds);
    }
    if (status == 0 && !options.picturePath.empty()) {
        status =
            writeOffscreenPicture(options.picturePath, options.pictureFrames, options.viewKeys);
    }
    if (status == 0 && !options.regimeMapPrefix.empty()) {
        status = writeRegimeMap(options.regimeMapPrefix, options.pictureFrames, options.viewKeys);
    }
    return status;
}
