// The batch outputs. The export's files are those of the pass the state holds; the
// pictures are drawn by the window module without a display.
#include "app/outputs.h"

#include <cstdlib>
#include <vector>

#include "app/window_loader.h"
#include "export/atomic_file.h"
#include "export/pass_files.h"
#include "export/report.h"
#include "picture/clear.h"
#include "picture/svg.h"
#include "session/keys.h"
#include "session/motion.h"

namespace fv {

namespace {

constexpr const char* svgTitle = catalogText("固体摩擦のある強制振動");

// The motion's integration could not have its working memory: the export's report, then
// the end with the failure status, as in the window.
[[noreturn]] void endForMemory() {
    std::exit(reportMemoryOverflow());
}

} // namespace

int exportFirstPass(State& s, TemporaryFiles* temporaries, const std::string& dir, double seconds) {
    std::string error;
    std::vector<std::string> created;
    if (!makeFolder(dir, &created, &error)) {
        return reportFailure("create", error);
    }
    std::string texts[passFileCount];
    if (!passFileTexts(s, seconds, texts)) {
        endForMemory();
    }
    FileContent files[passFileCount];
    for (int k = 0; k < passFileCount; ++k) {
        files[k] = {dir + "/" + passFileNames[k], std::move(texts[k])};
    }
    if (!writeFileSet(temporaries, files, passFileCount, &error)) {
        std::string cleanup;
        if (!removeFolders(created, &cleanup)) {
            error += "; " + cleanup; // the folders an export made go with it
        }
        return reportFailure("write", error);
    }
    return 0;
}

namespace {

// The window's picture after the frames and the keys the options ask for, drawn without
// a display by the window module; false after one line on standard error naming what.
bool drawPicture(State& s, const Options& options, const char* what, RgbPicture* picture) {
    std::string error;
    const WindowModule* window = loadWindowModule(&error);
    if (window == nullptr || !window->renderPictureOffscreen(&s, options.pictureFrames,
                                                             options.viewKeys, picture, &error)) {
        reportFailure(what, error);
        return false;
    }
    return true;
}

// The picture written to the --png path.
int writePicture(State& s, TemporaryFiles* temporaries, const Options& options) {
    RgbPicture picture;
    if (!drawPicture(s, options, "draw the picture:", &picture)) {
        return failureStatus;
    }
    FileContent file = {options.picturePath, ""};
    std::string error;
    if (!encodePng(picture, &file.bytes, &error)) {
        return reportFailure("write", options.picturePath + ": " + error);
    }
    if (!writeFileSet(temporaries, &file, 1, &error)) {
        return reportFailure("write", error);
    }
    return 0;
}

// The regime map of the entered damping ratio into PREFIX.csv and PREFIX.png (the window
// with the map shown), both or neither.
int writeRegimeMap(State& s, TemporaryFiles* temporaries, const Options& options) {
    const std::string& prefix = options.regimeMapPrefix;
    s.view.showRegimeMap = true;
    prepareRegimeMap(s);
    RgbPicture picture;
    if (!drawPicture(s, options, "draw the regime map:", &picture)) {
        return failureStatus;
    }
    std::string error;
    FileContent files[2] = {{prefix + ".csv", regimeCsv(s.session.regimeMap)},
                            {prefix + ".png", ""}};
    if (!encodePng(picture, &files[1].bytes, &error)) {
        return reportFailure("write", prefix + ".png: " + error);
    }
    if (!writeFileSet(temporaries, files, 2, &error)) {
        return reportFailure("write", error);
    }
    return 0;
}

// The clear picture after the frames and keys the options ask for, as the window would
// show it, written to the --svg path. No GL is needed: the picture is built as shapes.
int writeSvg(State& s, TemporaryFiles* temporaries, const Options& options) {
    for (long k = 0; k < options.pictureFrames; ++k) {
        if (!stepMotion(s)) {
            endForMemory();
        }
    }
    prepareExactDots(s);
    for (const char key : options.viewKeys) {
        applyKey(s, static_cast<unsigned char>(key));
        prepareExactDots(s);
        prepareRegimeMap(s);
        if (!stepMotion(s)) {
            endForMemory();
        }
    }
    FileContent file = {options.svgPath,
                        sceneSvg(clearPicture(s), translate(s.console.catalog, svgTitle))};
    std::string error;
    if (!writeFileSet(temporaries, &file, 1, &error)) {
        return reportFailure("write", error);
    }
    return 0;
}

} // namespace

int writeBatchOutputs(State& s, TemporaryFiles* temporaries, const Options& options) {
    int status = 0;
    if (!options.exportDir.empty()) {
        status = exportFirstPass(s, temporaries, options.exportDir, options.exportSeconds);
    }
    if (status == 0 && !options.picturePath.empty()) {
        status = writePicture(s, temporaries, options);
    }
    if (status == 0 && !options.regimeMapPrefix.empty()) {
        status = writeRegimeMap(s, temporaries, options);
    }
    if (status == 0 && !options.svgPath.empty()) {
        status = writeSvg(s, temporaries, options); // last: it moves the state on
    }
    return status;
}

} // namespace fv
