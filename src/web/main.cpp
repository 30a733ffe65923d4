// The web page's program: the desktop program's state, dialogue, drawing and numerics,
// driven by the page's script. The form's numbers go through the console dialogue as
// typed input and its output comes back as text; the canvas is GLUT's window; the keys
// the canvas receives are the window's keys. Work that would hold the page is done off
// its thread: the regime map's rows by the page's workers (each running this module
// without its main), the exact dots (and the map where there are no workers) in slices
// between the browser's events.
#include <GL/glut.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <emscripten.h>
#include <string>

#include "console/console.h"
#include "console/dialogue.h"
#include "driver/driver.h"
#include "export/pass_files.h"
#include "export/tables.h"
#include "graphics/display.h"
#include "graphics/gl_port.h"
#include "session/background.h"
#include "session/keys.h"
#include "session/motion.h"
#include "session/pass.h"
#include "session/playback.h"
#include "text/languages.h"

namespace fv {

// The texts the page takes from the program, kept until the next call that makes one
// of the same kind, and the canvas's last frame.
struct PageTexts {
    std::string console; // what the last console pass wrote, UTF-8
    std::string file;    // the last file asked for
    std::string text;    // the last text looked up in the catalog
    int passes;          // console passes run
};

// A row of the regime map on its way between a worker and the page, as bytes: both
// sides run the same module, so that the cells' layout is the same.
struct MapRowTransfer {
    // The system of the row, as the job under way has it; until a row comes, the system of
    // a worker's warm-up row (light damping: every kind of motion in a row).
    RegimeSystem system = {0.05, 1.0};
    RegimeCell row[regimeColumns]; // the row the page puts, or the one a worker computed
    RegimeMap map;                 // a worker's map, whose rows it computes one at a time
};

// The page's process-wide values, one object: the state every layer is handed, and
// what the page keeps of its own.
struct Page {
    State state;
    PageTexts texts;
    FrameRecord frame;
    DriverContext driver; // the driver's view of the page, set when main runs
    MapRowTransfer mapRows;
    Verdict verdict; // the motion at the entered ratio of pass verdictPass
    int verdictPass; // the pass the verdict is of (0: none yet)
};

Page page = {};
State& state = page.state;

} // namespace fv

namespace {

constexpr int canvasSize = 800;                    // the canvas's drawing buffer [pixels]
constexpr char groupKeys[] = {'m', 'f', 'r', 'j'}; // the window keys of groups (1) to (4)
constexpr int groupCount = 4;
constexpr const char* regimeFileName = "regime-map.csv"; // fvFileText's name of the map
constexpr const char* pageCatalogFolder = "/locale";     // where the build embeds the catalogs

// The page's catalogs, read on first use: the page asks for them as soon as the
// runtime is ready, before main has run. The console points into them.
const fv::Languages& pageLanguages() {
    static const fv::Languages languages = fv::loadLanguages(pageCatalogFolder);
    return languages;
}

void endFrame() {
    glFlush();
}

// Without working memory for a frame's step the frame is not drawn, and the page's log
// says why.
void failFrame(fv::State* /*s*/) {
    std::fputs("memory overflow\n", stdout);
}

// The page's part of the driver: its frames are flushed, and the rows its workers put are
// looked at about once a frame.
constexpr unsigned workerPollMs = 16;
const fv::FrontEndOps pageOps = {endFrame, failFrame, workerPollMs};

// The verdict on the motion at the entered ratio of the last pass, computed once a pass.
const fv::Verdict& passVerdict() {
    fv::Page& p = fv::page;
    if (p.verdictPass != p.texts.passes) {
        p.verdict = fv::givenPointVerdict(p.state.derived, fv::enteredExactSteady(p.state.derived));
        p.verdictPass = p.texts.passes;
    }
    return p.verdict;
}

} // namespace

namespace fv {

// The page's driver context, made on first use: the page may call in before main runs.
DriverContext* driverContext() {
    if (page.driver.state == nullptr) {
        page.driver = {&page.state, &page.frame, &pageOps, false, 0};
    }
    return &page.driver;
}

} // namespace fv

extern "C" {

// A console pass from group (1 to 4) with input as the typed lines; returns what the
// console wrote (UTF-8), or null when the input cannot be read. The first pass is the
// program's first dialogue; later ones are those of the keys m, f, r and j.
EMSCRIPTEN_KEEPALIVE const char* fvPass(int group, const char* input) {
    fv::State& s = fv::state;
    if (group < 1 || group > groupCount || input == nullptr || input[0] == '\0') {
        return nullptr;
    }
    const char key = groupKeys[group - 1];
    if (fv::page.texts.passes > 0) {
        fv::driverKey(*fv::driverContext(), static_cast<unsigned char>(key)); // as the window's key
    }
    fv::beforeDialogue(*fv::driverContext());
    s.session.currentKey = key;
    std::FILE* in = fmemopen(const_cast<char*>(input), std::strlen(input), "r");
    if (in == nullptr) {
        return nullptr;
    }
    char* text = nullptr;
    std::size_t length = 0;
    std::FILE* out = open_memstream(&text, &length);
    if (out == nullptr) {
        std::fclose(in);
        return nullptr;
    }
    fv::consoleDialogue(s, {in, out, &s.console});
    std::fclose(in);
    std::fclose(out);
    fv::page.texts.console.assign(text, length);
    std::free(text);
    fv::page.texts.passes = fv::page.texts.passes + 1;
    fv::afterDialogue(*fv::driverContext()); // the canvas keeps its picture until the next frame
    return fv::page.texts.console.c_str();
}

// A frame, as the window draws when it opens and at 's'.
EMSCRIPTEN_KEEPALIVE void fvDrawFrame() {
    if (fv::page.texts.passes > 0) {
        fv::driverFrame(*fv::driverContext());
    }
}

// The last frame drawn again, into a drawing buffer the page has resized (the clear
// view at the device's pixel ratio, the classic one at its 800 pixels).
EMSCRIPTEN_KEEPALIVE void fvRedrawPicture() {
    if (fv::page.texts.passes > 0) {
        fv::redrawLastFrame(fv::state, fv::page.frame);
    }
}

// Chooses the clear view (1) or the classic one (0) for the frames that follow.
EMSCRIPTEN_KEEPALIVE void fvSetClearView(int clear) {
    fv::state.view.clear = clear != 0;
}

// Whether the picture is the clear view.
EMSCRIPTEN_KEEPALIVE int fvClearView() {
    return fv::state.view.clear ? 1 : 0;
}

// A window key that changes the picture (a view key of the key table) or the space bar;
// the others are the page's. Returns 1 when the key was taken.
EMSCRIPTEN_KEEPALIVE int fvKey(int key) {
    const auto k = static_cast<unsigned char>(key);
    if (fv::page.texts.passes == 0 || (k != fv::playbackKey && !fv::isViewKey(k))) {
        return 0;
    }
    fv::driverKey(*fv::driverContext(), k);
    return 1;
}

EMSCRIPTEN_KEEPALIVE void fvStopPlayback() {
    fv::state.session.playback.playing = false;
}

EMSCRIPTEN_KEEPALIVE int fvPlaying() {
    return fv::state.session.playback.playing ? 1 : 0;
}

// The motion of the last pass restarted in its steady motion, as the model finds its
// start: 1, or 0 where there is none (the motion then starts from y0 and v0) or no pass.
EMSCRIPTEN_KEEPALIVE int fvStartSteady() {
    if (fv::page.texts.passes == 0) {
        return 0;
    }
    return fv::startInSteadyMotion(fv::state) ? 1 : 0;
}

// Whether text is one number as the console reads it, blanks around it allowed.
EMSCRIPTEN_KEEPALIVE int fvReadsAsNumber(const char* text) {
    double value = 0.0;
    int used = 0;
    return std::sscanf(text, " %lf %n", &value, &used) == 1 && text[used] == '\0' ? 1 : 0;
}

// The number text reads as at the console (inf for 1e400, nan for nan), or NaN when it
// is not one number: the page checks the value before it hands the text to a pass.
EMSCRIPTEN_KEEPALIVE double fvNumberValue(const char* text) {
    double value = 0.0;
    int used = 0;
    return std::sscanf(text, " %lf %n", &value, &used) == 1 && text[used] == '\0' ? value
                                                                                  : std::nan("");
}

// The typed value of the parameter named name in use now (0 for no such parameter).
EMSCRIPTEN_KEEPALIVE double fvInputValue(const char* name) {
    const fv::SystemParameter* p = fv::findParameter(name);
    return p != nullptr ? fv::state.input.*p->value : 0.0;
}

// The value of a parameter the dialogue does not read (one set by an option on the
// desktop), by its name, for the next pass: the page checks it before it calls.
EMSCRIPTEN_KEEPALIVE void fvSetParameter(const char* name, double value) {
    const fv::SystemParameter* p = fv::findParameter(name);
    if (p != nullptr && p->group == 0) {
        fv::state.input.*p->value = value;
    }
}

// The page's readouts of the last pass, by name: omega0 [rad/s], zeta, z = omf/omega0, Yf
// [m], ratio (Yc/Yf), amplitude (at the entered ratio [m]) and kind (its motion: 0
// unknown, 1 continuous, 2 stick-slip, 3 at rest, 4 grows without bound), as the
// export's verdict, and y, the motion's displacement now [m]. NaN where there is no
// value: no pass yet, none known, no such readout, or Yc/Yf without a force.
EMSCRIPTEN_KEEPALIVE double fvReadout(const char* name) {
    const fv::Derived& d = fv::state.derived;
    const double none = std::nan("");
    if (fv::page.texts.passes == 0 || name == nullptr) {
        return none;
    }
    const std::string readout = name;
    if (readout == "amplitude" || readout == "kind") {
        const fv::Verdict& v = passVerdict();
        return readout == "amplitude" ? v.amplitude
                                      : static_cast<double>(static_cast<int>(v.motion));
    }
    const std::pair<const char*, double> values[] = {{"omega0", d.omega0},
                                                     {"zeta", d.zeta},
                                                     {"z", d.givenRatio},
                                                     {"Yf", d.Yf},
                                                     {"ratio", d.Yf != 0.0 ? d.Yc / d.Yf : none},
                                                     {"y", fv::state.motion.stateY[0]}};
    for (const auto& [key, value] : values) {
        if (readout == key) {
            return value;
        }
    }
    return none;
}

// Why value means nothing to the model as the parameter named name beside the sliding
// friction Fric: 0 where it is fine (or there is no such parameter), 1 not finite, else
// 2 + the rule it breaks (above 0, 0 or more, not 0, a static force of 0 or at least Fric).
EMSCRIPTEN_KEEPALIVE int fvValueRefusal(const char* name, double value, double Fric) {
    const fv::SystemParameter* p = fv::findParameter(name);
    if (p == nullptr || fv::valueKeepsRule(*p, value, Fric)) {
        return 0;
    }
    return std::isfinite(value) ? 1 + static_cast<int>(p->rule) : 1;
}

// The text of the file named name: summary.json, frequency.csv or time.csv of the pass
// the state holds, or regime-map.csv once the map is ready; null otherwise.
EMSCRIPTEN_KEEPALIVE const char* fvFileText(const char* name) {
    fv::State& s = fv::state;
    if (fv::page.texts.passes == 0 || name == nullptr) {
        return nullptr;
    }
    if (std::strcmp(name, regimeFileName) == 0) {
        if (!fv::regimeMapCurrent(s)) {
            return nullptr;
        }
        fv::page.texts.file = fv::regimeCsv(s.session.regimeMap);
        return fv::page.texts.file.c_str();
    }
    for (int k = 0; k < fv::passFileCount; ++k) {
        if (std::strcmp(name, fv::passFileNames[k]) == 0) {
            std::string texts[fv::passFileCount];
            if (!fv::passFileTexts(s, fv::passFileSeconds, texts)) {
                return nullptr;
            }
            fv::page.texts.file = std::move(texts[k]);
            return fv::page.texts.file.c_str();
        }
    }
    return nullptr;
}

// The regime map's rows for the page's workers: the next row of the map under way that
// no worker has, or -1; then slices leave the map to the workers.
EMSCRIPTEN_KEEPALIVE int fvTakeMapRow() {
    return fv::takeRegimeMapRow(fv::state.session);
}

// The system of the map under way, copied into the system's buffer: 1, or 0 without a
// map under way. The page hands a worker the buffer's bytes with each row.
EMSCRIPTEN_KEEPALIVE int fvMapJobSystem() {
    const fv::RegimeSystem* sys = fv::regimeMapJobSystem(fv::state.session);
    if (sys == nullptr) {
        return 0;
    }
    fv::page.mapRows.system = *sys;
    return 1;
}

// The system's and a row's bytes, and where they are put or found in the module's
// memory: both sides run this module, so that the layout is the same.
EMSCRIPTEN_KEEPALIVE int fvMapSystemBytes() {
    return static_cast<int>(sizeof fv::page.mapRows.system);
}

EMSCRIPTEN_KEEPALIVE fv::RegimeSystem* fvMapSystemBuffer() {
    return &fv::page.mapRows.system;
}

EMSCRIPTEN_KEEPALIVE int fvMapRowBytes() {
    return static_cast<int>(sizeof fv::page.mapRows.row);
}

EMSCRIPTEN_KEEPALIVE fv::RegimeCell* fvMapRowBuffer() {
    return fv::page.mapRows.row;
}

// The row in the buffer, computed for the system in the buffer, into the map under way;
// 0 when that map is no longer under way (the row is then dropped).
EMSCRIPTEN_KEEPALIVE int fvPutMapRow(int row) {
    fv::MapRowTransfer& t = fv::page.mapRows;
    return fv::putRegimeMapRow(fv::state.session, t.system, row, t.row) ? 1 : 0;
}

// In a worker: row of the map of the system in the buffer, computed whole into the row
// buffer (also the page's way to compute a row a worker could not).
EMSCRIPTEN_KEEPALIVE fv::RegimeCell* fvComputeMapRow(int row) {
    fv::MapRowTransfer& t = fv::page.mapRows;
    if (row < 0 || row >= fv::regimeRows) {
        return nullptr;
    }
    fv::computeRegimeMapRow(t.system, row, &t.map, t.row);
    return t.row;
}

// Whether the regime map of the parameters in use is ready, so that fvFileText can write
// its CSV (which takes the browser a long moment: only when it is asked for).
EMSCRIPTEN_KEEPALIVE int fvMapReady() {
    return fv::page.texts.passes > 0 && fv::regimeMapCurrent(fv::state) ? 1 : 0;
}

// The part of the background work done, 0 to 1, or -1 when none is under way.
EMSCRIPTEN_KEEPALIVE double fvWorkProgress() {
    const fv::State& s = fv::state;
    if (!fv::backgroundWorkRunning(s.session)) {
        return -1.0;
    }
    const fv::JobProgress map = fv::regimeMapJobProgress(s.session, fv::regimeSystem(s.derived));
    if (map.running) {
        return map.fraction;
    }
    return fv::exactDotsJobProgress(s.session, fv::closedFormSystem(s)).fraction;
}

// The languages of the page's catalogs, Japanese first: how many, and the code and
// the name in itself of language k.
EMSCRIPTEN_KEEPALIVE int fvLanguageCount() {
    return static_cast<int>(pageLanguages().list.size());
}

EMSCRIPTEN_KEEPALIVE const char* fvLanguageCode(int k) {
    return k >= 0 && k < fvLanguageCount() ? pageLanguages().list[k].code.c_str() : nullptr;
}

EMSCRIPTEN_KEEPALIVE const char* fvLanguageName(int k) {
    return k >= 0 && k < fvLanguageCount() ? pageLanguages().list[k].name.c_str() : nullptr;
}

// Makes the language of code the one of the console and of fvText; 0 when there is none.
EMSCRIPTEN_KEEPALIVE int fvSetLanguage(const char* code) {
    const fv::Language* language = fv::findLanguage(pageLanguages(), code);
    if (language == nullptr) {
        return 0;
    }
    fv::state.console.catalog = &language->catalog;
    return 1;
}

// The page's text msgid (Japanese) in the language in use.
EMSCRIPTEN_KEEPALIVE const char* fvText(const char* msgid) {
    fv::page.texts.text = fv::translate(fv::state.console.catalog, msgid);
    return fv::page.texts.text.c_str();
}

} // extern "C"

int main(int argc, char** argv) {
    fv::State& s = fv::state;
    fv::consoleInit(&s.console);
    glutInit(&argc, argv);
    glutInitWindowSize(canvasSize, canvasSize);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("frictionvib");
    fv::setViewport(0, 0, canvasSize, canvasSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    fv::page.frame.startLineWidth = 1.0f;
    return 0; // the page calls in from here on
}
