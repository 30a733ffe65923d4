// Entry point: the command-line options, the first console dialogue over all four
// groups, then either what the options asked for (files, a picture) or the window and
// its event loop for the rest of the run. The window and the pictures come from the
// window module, loaded only then. The program's one state is defined here and handed
// to everything else.
#include <cstdio>
#include <cstring>

#include "app/language.h"
#include "app/options.h"
#include "app/outputs.h"
#include "app/program.h"
#include "app/signals.h"
#include "app/streams.h"
#include "app/window_loader.h"
#include "console/console.h"
#include "console/dialogue.h"
#include "export/report.h"

namespace fv {

Program program = {};

} // namespace fv

namespace {

// The program's console: standard input and output.
fv::Console standardConsole(fv::State* s) {
    return {stdin, stdout, &s->console};
}

// The dialogue the window runs when a key returns to the console.
void windowDialogue(fv::State* s) {
    fv::consoleDialogue(*s, standardConsole(s));
}

} // namespace

int main(int argc, char** argv) {
    fv::State& s = fv::program.state;
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
    fv::program.languages = fv::loadLanguages(fv::catalogFolder());
    if (!fv::chooseLanguage(fv::program.languages, options.language, &s.console, stderr)) {
        return fv::usageStatus;
    }
    int inputCode = 0;
    if (!fv::standardInputReadable(&inputCode)) {
        return fv::reportFailure("read standard input:", std::strerror(inputCode));
    }
    s.session.currentKey = 'm';
    s.view.clear = options.clearView;
    fv::applyOptionParameters(options, &s.input);
    fv::consoleDialogue(s, standardConsole(&s));
    if (s.console.inputError != 0) {
        return fv::reportFailure("read standard input:", std::strerror(s.console.inputError));
    }
    if (!fv::optionParametersHold(options, s.input, stderr) ||
        !fv::filesMeanSomething(options, s.input, stderr)) {
        return fv::usageStatus;
    }
    if (options.batch) {
        return fv::writeBatchOutputs(s, &fv::program.temporaries, options);
    }
    std::string error;
    const fv::WindowModule* window = fv::loadWindowModule(&error);
    if (window == nullptr || !window->displayOpens(options.glutArgc, options.glutArgv, &error)) {
        return fv::reportFailure("open the window:", error);
    }
    const fv::WindowCallbacks callbacks = {windowDialogue, &fv::program.temporaries};
    window->runWindow(&s, &callbacks, &options.glutArgc, options.glutArgv);
    return 0;
}
