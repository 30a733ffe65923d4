// Command-line options. Every short option has a long form (GNU conventions); numbers
// must be read whole, and a wrong option or value ends the program with status 2
// before any dialogue.
#include "app/options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <getopt.h>
#include <sys/stat.h>
#include <vector>

#include "export/shown_text.h"
#include "export/tables.h"
#include "session/keys.h"
#include "session/views.h"

namespace fv {

namespace {

constexpr const char* programName = "frictionvib";

enum LongOnly {
    optDuration = 256,
    optPng,
    optFrames,
    optRegimeMap,
    optKeys,
    optLang,
    optSvg,
    optView,
    optParameter // + the parameter table's index, for a parameter set by an option
};

// The program's own options, then one for every parameter of the table that is set by
// an option, then the end mark.
std::vector<option> longOptions() {
    std::vector<option> all = {{"help", no_argument, nullptr, 'h'},
                               {"version", no_argument, nullptr, 'V'},
                               {"batch", no_argument, nullptr, 'b'},
                               {"export", required_argument, nullptr, 'o'},
                               {"duration", required_argument, nullptr, optDuration},
                               {"png", required_argument, nullptr, optPng},
                               {"frames", required_argument, nullptr, optFrames},
                               {"regime-map", required_argument, nullptr, optRegimeMap},
                               {"keys", required_argument, nullptr, optKeys},
                               {"lang", required_argument, nullptr, optLang},
                               {"svg", required_argument, nullptr, optSvg},
                               {"view", required_argument, nullptr, optView}};
    for (int k = 0; k < systemParameterCount; ++k) {
        if (systemParameters[k].option.name != nullptr) {
            all.push_back(
                {systemParameters[k].option.name, required_argument, nullptr, optParameter + k});
        }
    }
    all.push_back({nullptr, 0, nullptr, 0});
    return all;
}
constexpr const char* shortOptions = ":hVbo:";
constexpr int helpColumn = 25; // where --help's descriptions start [characters]

const char* const usageHead =
    "Usage: frictionvib [OPTION]...\n"
    "Forced vibration of a spring-mass-damper with Coulomb friction: asks for the\n"
    "parameters on the console, prints the closed-form amplitudes and opens a window\n"
    "with the animated motion and the frequency characteristic.\n"
    "\n"
    "  -h, --help             show this help and exit\n"
    "  -V, --version          show the name and version and exit\n"
    "  -b, --batch            run the dialogue on standard input as usual, then end\n"
    "                         with status 0 instead of opening the window\n"
    "  -o, --export DIR       after the first pass, write DIR/summary.json,\n"
    "                         DIR/frequency.csv and DIR/time.csv (DIR is created if\n"
    "                         missing); implies --batch\n"
    "      --duration SECONDS length of time.csv (default %g, at most %g);\n"
    "                         needs --export\n"
    "      --png FILE         draw the window's picture (800 x 800) after --frames\n"
    "                         frames and write it to FILE as PNG; implies --batch\n"
    "      --frames N         frames of motion before the picture is taken (default %ld,\n"
    "                         at most %ld); needs --png, --svg or --regime-map\n"
    "      --regime-map PREFIX\n"
    "                         write the regime map of the entered damping ratio to\n"
    "                         PREFIX.csv and PREFIX.png (the window with the map, after\n"
    "                         --frames frames); implies --batch\n"
    "      --keys KEYS        press the window's view keys KEYS (%s) in\n"
    "                         order before the picture is taken; needs --png, --svg\n"
    "                         or --regime-map\n"
    "      --svg FILE         write the clear view's picture after --frames frames as\n"
    "                         SVG (text as text, curves as paths); implies --batch\n"
    "      --view VIEW        the picture the window starts with: classic (the\n"
    "                         default) or clear (numbered axes, labelled curves)\n";
const char* const usageLanguage =
    "      --lang LANG        the language of the console and the window: ja (the\n"
    "                         default), en, or any other catalog in the program's\n"
    "                         locale folder (an unknown one lists those there)\n";
const char* const usageTail =
    "\n"
    "GLUT's X options (-display NAME, -geometry WxH+X+Y, -iconic, -direct, -indirect,\n"
    "-gldebug, -sync) are passed on to the window. The keys of the window are listed\n"
    "at the end of every dialogue and in the README.\n";

// --help's text: the options, the parameters set by options and the window's keys, each
// from its table.
std::string usageText() {
    char keys[2048];
    std::snprintf(keys, sizeof keys, usageHead, defaultExportSeconds, maxExportSeconds,
                  defaultPictureFrames, maxPictureFrames, viewKeyList());
    std::string text = keys;
    for (const SystemParameter& p : systemParameters) {
        if (p.option.name == nullptr) {
            continue;
        }
        text += "      --" + std::string(p.option.name) + " " + p.option.argument + "\n";
        std::string help = p.option.help;
        for (std::size_t at = 0; at != std::string::npos;) {
            const std::size_t end = help.find('\n', at);
            text += std::string(helpColumn, ' ') + help.substr(at, end - at) + "\n";
            at = end == std::string::npos ? end : end + 1;
        }
    }
    text += usageLanguage;
    text += usageTail;
    text += "\nKeys in the window:\n";
    for (const WindowKey& k : windowKeys) {
        std::string name = k.key == ' ' ? "space" : k.name;
        name.resize(std::max<std::size_t>(name.size() + 1, 6), ' ');
        text += "  " + name + k.help + "\n";
    }
    return text;
}

// GLUT's options, and whether each takes a value.
struct GlutOption {
    const char* name;
    bool takesValue;
};
const GlutOption glutOptions[] = {{"-display", true}, {"-geometry", true},  {"-iconic", false},
                                  {"-direct", false}, {"-indirect", false}, {"-gldebug", false},
                                  {"-sync", false}};

const GlutOption* findGlutOption(const char* arg) {
    for (const GlutOption& g : glutOptions) {
        if (std::strcmp(arg, g.name) == 0) {
            return &g;
        }
    }
    return nullptr;
}

// One line, whatever bytes the user's values hold.
void reportUsage(std::FILE* err, const std::string& what) {
    std::fprintf(err, "%s: %s; try '%s --help'\n", programName, shownText(what).c_str(),
                 programName);
}

// Whether a regime map prefix names a folder, so that PREFIX.csv would be a hidden file
// in it ("DIR/", ".", "..", "DIR/..") or a file beside an existing folder of that name.
bool namesFolder(const std::string& prefix) {
    const std::size_t slash = prefix.rfind('/');
    const std::string last = slash == std::string::npos ? prefix : prefix.substr(slash + 1);
    struct stat st = {};
    return last.empty() || last == "." || last == ".." ||
           (stat(prefix.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

// The option as the user wrote it, for messages: "-o" or "--export".
std::string optionName(int code, const char* text) {
    if (code > 0 && code < 256 && std::strncmp(text, "--", 2) != 0) {
        return std::string("-") + static_cast<char>(code);
    }
    for (const option& o : longOptions()) {
        if (o.name != nullptr && o.val == code) {
            return std::string("--") + o.name;
        }
    }
    return text;
}

// A finite number written whole, such as "20" or "2.5e1". A subnormal value such as
// 1e-320 is a number like any other: strtod reports ERANGE for it, but only a value that
// overflows or underflows all the way to zero is out of range.
bool readSeconds(const char* text, double* value) {
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    const bool outOfRange = errno == ERANGE && (v == 0.0 || !std::isfinite(v));
    if (end == text || *end != '\0' || outOfRange || !std::isfinite(v)) {
        return false;
    }
    *value = v;
    return true;
}

// A decimal whole number written whole, such as "12".
bool readCount(const char* text, long* value) {
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno == ERANGE) {
        return false;
    }
    *value = v;
    return true;
}

// Moves GLUT's options out of argv into options->glutArgv; what is left for getopt
// goes to rest. False when a GLUT option lacks its value or there are too many.
bool splitGlutOptions(int argc, char** argv, Options* options, char** rest, int* restCount,
                      std::FILE* err) {
    options->glutArgv[0] = argv[0];
    options->glutArgc = 1;
    rest[0] = argv[0];
    *restCount = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            for (; i < argc; ++i) {
                rest[(*restCount)++] = argv[i];
            }
            break;
        }
        const GlutOption* g = findGlutOption(argv[i]);
        if (g == nullptr) {
            rest[(*restCount)++] = argv[i];
            continue;
        }
        const int needed = g->takesValue ? 2 : 1;
        if (g->takesValue && i + 1 >= argc) {
            reportUsage(err, std::string("option '") + g->name + "' needs a value");
            return false;
        }
        if (options->glutArgc + needed > maxGlutArguments) {
            reportUsage(err, "too many window options");
            return false;
        }
        options->glutArgv[options->glutArgc++] = argv[i];
        if (g->takesValue) {
            options->glutArgv[options->glutArgc++] = argv[++i];
        }
    }
    options->glutArgv[options->glutArgc] = nullptr;
    rest[*restCount] = nullptr;
    return true;
}

// The value of parameter k from its option: a finite number that keeps its rule beside
// no sliding friction (the dialogue reads Fric later, and optionParametersHold checks
// the value against it then).
OptionsOutcome readOptionParameter(int k, const char* text, Options* options, std::FILE* err) {
    const SystemParameter& p = systemParameters[k];
    double& value = options->parameterValues[k];
    options->parameterGiven[k] = true;
    if (!readSeconds(text, &value)) {
        reportUsage(err, "--" + std::string(p.option.name) + ": '" + text + "' is not a number");
        return OptionsOutcome::usage;
    }
    const std::string breach = ruleBreach(p, value, 0.0);
    if (!breach.empty()) {
        reportUsage(err,
                    "--" + std::string(p.option.name) + ": " + valueText(p, value) + ": " + breach);
        return OptionsOutcome::usage;
    }
    return OptionsOutcome::run;
}

} // namespace

void applyOptionParameters(const Options& options, PhysicalSystem* in) {
    for (int k = 0; k < systemParameterCount; ++k) {
        if (options.parameterGiven[k]) {
            in->*systemParameters[k].value = options.parameterValues[k];
        }
    }
}

bool optionParametersHold(const Options& options, const PhysicalSystem& in, std::FILE* err) {
    for (int k = 0; k < systemParameterCount; ++k) {
        const SystemParameter& p = systemParameters[k];
        const double value = options.parameterValues[k];
        if (!options.parameterGiven[k] || valueKeepsRule(p, value, in.Fric)) {
            continue;
        }
        reportUsage(err, "--" + std::string(p.option.name) + ": " + valueText(p, value) + ": " +
                             ruleBreach(p, value, in.Fric));
        return false;
    }
    return true;
}

bool filesMeanSomething(const Options& options, const PhysicalSystem& in, std::FILE* err) {
    const bool writesFiles = !options.exportDir.empty() || !options.picturePath.empty() ||
                             !options.regimeMapPrefix.empty() || !options.svgPath.empty();
    const std::string refusal = refusalMessage(in);
    if (!writesFiles || refusal.empty()) {
        return true;
    }
    std::fprintf(err, "%s: %s; no file written\n", programName, shownText(refusal).c_str());
    return false;
}

OptionsOutcome parseOptions(int argc, char** argv, Options* options, std::FILE* out,
                            std::FILE* err) {
    std::vector<char*> restArgs(static_cast<std::size_t>(argc) + 1, nullptr);
    char** rest = restArgs.data();
    int restCount = 0;
    if (!splitGlutOptions(argc, argv, options, rest, &restCount, err)) {
        return OptionsOutcome::usage;
    }
    OptionsOutcome outcome = OptionsOutcome::run;
    bool durationGiven = false; // options that mean something only with another
    bool framesGiven = false;
    bool keysGiven = false;
    opterr = 0;
    optind = 0; // 0 also resets getopt's own state for a second parse
    int code = 0;
    const std::vector<option> table = longOptions();
    while (outcome == OptionsOutcome::run &&
           (code = getopt_long(restCount, rest, shortOptions, table.data(), nullptr)) != -1) {
        const char* arg = rest[optind - 1];
        switch (code) {
        case 'h':
            std::fputs(usageText().c_str(), out);
            outcome = OptionsOutcome::done;
            break;
        case 'V':
            std::fprintf(out, "%s %s\n", programName, FV_VERSION);
            outcome = OptionsOutcome::done;
            break;
        case 'b':
            options->batch = true;
            break;
        case 'o':
            options->exportDir = optarg;
            options->batch = true;
            if (options->exportDir.empty()) {
                reportUsage(err, "--export: the folder name is empty");
                outcome = OptionsOutcome::usage;
            }
            break;
        case optDuration:
            durationGiven = true;
            if (!readSeconds(optarg, &options->exportSeconds) || options->exportSeconds < 0.0 ||
                options->exportSeconds > maxExportSeconds) {
                reportUsage(err, std::string("--duration: '") + optarg +
                                     "' is not a number of seconds from 0 to " +
                                     formatNumber(maxExportSeconds));
                outcome = OptionsOutcome::usage;
            }
            break;
        case optPng:
            options->picturePath = optarg;
            options->batch = true;
            if (options->picturePath.empty()) {
                reportUsage(err, "--png: the file name is empty");
                outcome = OptionsOutcome::usage;
            }
            break;
        case optFrames:
            framesGiven = true;
            if (!readCount(optarg, &options->pictureFrames) || options->pictureFrames < 0 ||
                options->pictureFrames > maxPictureFrames) {
                reportUsage(err, std::string("--frames: '") + optarg +
                                     "' is not a frame count from 0 to " +
                                     std::to_string(maxPictureFrames));
                outcome = OptionsOutcome::usage;
            }
            break;
        case optRegimeMap:
            options->regimeMapPrefix = optarg;
            options->batch = true;
            if (options->regimeMapPrefix.empty()) {
                reportUsage(err, "--regime-map: the prefix is empty");
                outcome = OptionsOutcome::usage;
            } else if (namesFolder(options->regimeMapPrefix)) {
                reportUsage(err, std::string("--regime-map: '") + optarg +
                                     "' is a folder; give a file name prefix");
                outcome = OptionsOutcome::usage;
            }
            break;
        case optKeys:
            keysGiven = true;
            options->viewKeys = optarg;
            for (std::size_t at = 0; at < options->viewKeys.size(); ++at) {
                if (!isViewKey(static_cast<unsigned char>(options->viewKeys[at]))) {
                    // The whole character, not its first byte.
                    const std::string key =
                        options->viewKeys.substr(at, characterLength(options->viewKeys, at));
                    reportUsage(err,
                                "--keys: '" + key + "' is not a view key (" + viewKeyList() + ")");
                    outcome = OptionsOutcome::usage;
                    break;
                }
            }
            break;
        case optLang:
            options->language = optarg;
            break;
        case optSvg:
            options->svgPath = optarg;
            options->batch = true;
            if (options->svgPath.empty()) {
                reportUsage(err, "--svg: the file name is empty");
                outcome = OptionsOutcome::usage;
            }
            break;
        case optView:
            if (std::strcmp(optarg, "clear") == 0 || std::strcmp(optarg, "classic") == 0) {
                options->clearView = std::strcmp(optarg, "clear") == 0;
            } else {
                reportUsage(err,
                            std::string("--view: '") + optarg + "' is not a view (classic, clear)");
                outcome = OptionsOutcome::usage;
            }
            break;
        case ':':
            reportUsage(err, "option '" + optionName(optopt, arg) + "' needs a value");
            outcome = OptionsOutcome::usage;
            break;
        default:
            if (code >= optParameter && code < optParameter + systemParameterCount) {
                outcome = readOptionParameter(code - optParameter, optarg, options, err);
                break;
            }
            if (std::strncmp(arg, "--", 2) == 0 && std::strchr(arg, '=') != nullptr &&
                optopt != 0) {
                reportUsage(err, "option '" + optionName(optopt, arg) + "' takes no value");
                outcome = OptionsOutcome::usage;
                break;
            }
            reportUsage(err, "unknown option '" +
                                 (optopt > 0 && optopt < 256
                                      ? std::string("-") + static_cast<char>(optopt)
                                      : std::string(arg)) +
                                 "'");
            outcome = OptionsOutcome::usage;
            break;
        }
    }
    if (outcome == OptionsOutcome::run && optind < restCount) {
        reportUsage(err, std::string("unexpected argument '") + rest[optind] + "'");
        outcome = OptionsOutcome::usage;
    } else if (outcome == OptionsOutcome::run && durationGiven && options->exportDir.empty()) {
        reportUsage(err, "option '--duration' needs --export");
        outcome = OptionsOutcome::usage;
    } else if (outcome == OptionsOutcome::run && (framesGiven || keysGiven) &&
               options->picturePath.empty() && options->regimeMapPrefix.empty() &&
               options->svgPath.empty()) {
        reportUsage(err, std::string("option '") + (framesGiven ? "--frames" : "--keys") +
                             "' needs --png, --svg or --regime-map");
        outcome = OptionsOutcome::usage;
    }
    return outcome;
}

} // namespace fv
