// Command-line options: what the user asked for before the first dialogue, parsed with
// getopt_long. GLUT's own X options (-display, -geometry, ...) are set aside for
// glutInit, which has always received the command line.
#pragma once

#include <cstdio>
#include <string>

#include "export/pass_files.h"
#include "text/languages.h"

namespace fv {

constexpr double defaultExportSeconds = passFileSeconds; // length of time.csv [s]
constexpr double maxExportSeconds = maxResponseSeconds;  // longest time.csv [s]
constexpr long defaultPictureFrames = 1;
// Most frames drawn before a picture: about five minutes of drawing.
constexpr long maxPictureFrames = 100000;
constexpr int maxGlutArguments = 64; // GLUT's options and their values, with argv[0]

struct Options {
    bool batch = false;    // end after the first dialogue instead of opening the window
    std::string exportDir; // write summary.json, frequency.csv, time.csv here
    double exportSeconds = defaultExportSeconds;
    std::string picturePath; // draw the window's picture into this PNG file
    long pictureFrames = defaultPictureFrames;
    std::string regimeMapPrefix;           // write the regime map to PREFIX.csv and PREFIX.png
    std::string viewKeys;                  // view keys pressed before the picture is taken
    std::string svgPath;                   // write the clear picture into this SVG file
    bool clearView = false;                // start in the clear view (--view clear)
    std::string language = sourceLanguage; // the catalog of the console and the window
    // The parameters set by options (the table's rows that have one): their values and
    // whether each was given.
    double parameterValues[systemParameterCount] = {};
    bool parameterGiven[systemParameterCount] = {};
    // The command line as glutInit receives it: argv[0] and GLUT's own options.
    int glutArgc = 0;
    char* glutArgv[maxGlutArguments + 1] = {};
};

enum class OptionsOutcome {
    run,   // go on with the dialogue
    done,  // --help or --version answered: end with status 0
    usage, // a wrong option or value was reported: end with status 2
};

// Parses argv into *options. Help and version go to out; a wrong option is reported on
// err as one line with a hint to --help.
OptionsOutcome parseOptions(int argc, char** argv, Options* options, std::FILE* out,
                            std::FILE* err);

// The values of the parameters the options gave, into *in.
void applyOptionParameters(const Options& options, PhysicalSystem* in);

// After the dialogue has read the rest of the system: false, after one usage line on
// err, when an option gave a value its rule refuses beside it (a static friction force
// below Fric).
bool optionParametersHold(const Options& options, const PhysicalSystem& in, std::FILE* err);

// Whether the files the options ask for (--export, --png, --regime-map) describe a system
// the model means something by; false after one line on err naming the parameter and
// its rule. Without such files any system goes, as the dialogue takes it.
bool filesMeanSomething(const Options& options, const PhysicalSystem& in, std::FILE* err);

} // namespace fv
