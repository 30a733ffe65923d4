// The physical system: the eight values the dialogue reads, named as the program prints
// them, and their table, through which every front end shows, reads and writes them by
// name. A new parameter is a new member here and a new row of the table.
#pragma once

#include <string>

namespace fv {

struct PhysicalSystem {
    double m;      // mass [kg], group (1)
    double lambda; // viscous damping coefficient [N/(m/s)], group (1)
    double K;      // spring constant [N/m], group (1)
    double F;      // external force amplitude [N], group (2)
    double omf;    // external force angular frequency [rad/s], group (2)
    double Fric;   // Coulomb friction force magnitude [N], group (3)
    double y0;     // initial displacement [m], group (4)
    double v0;     // initial velocity [m/s], group (4)
    // Static friction force [N], which holds a resting mass (--static-friction, not read
    // by the dialogue). 0 unless given; at or below Fric the mass is held by Fric.
    double Fs = 0.0;
};

// What a value must be for the model to mean something by it. Every value must also be
// finite. The dialogue reads any number, as it always has; the files, the page and the
// Python module refuse a system that breaks one of these.
enum class ValueRule {
    anyFinite,   // any finite number
    positive,    // above 0
    nonNegative, // 0 or more
    nonZero,     // not 0 (a negative forcing frequency is the force of the other sign)
    staticForce, // 0 (not given: the mass is held by Fric) or at least Fric
};

// Marks a text that is shown in the reader's language (a catalog's msgid, in Japanese):
// the tables below hold them, the front ends translate them where they show them.
constexpr const char* catalogText(const char* text) {
    return text;
}

// How a slider moves a value over its physical range.
struct SliderRange {
    double low;    // [unit]
    double high;   // [unit]
    bool logScale; // the range spans decades: equal steps multiply
};

// An option's own words for a parameter the dialogue does not read.
struct ParameterOption {
    const char* name;     // the long option, without "--" (nullptr: none)
    const char* argument; // the value's name in --help
    const char* help;     // --help's description, its lines joined by '\n'
};

// One parameter of the system: everything a front end needs to show, read, check and
// write it. A new parameter is a new row here (and its member above).
struct SystemParameter {
    const char* name; // as printed, in the files, the page's fields and its address
    const char* unit; // as printed in brackets
    int group;        // the dialogue group that reads it, 1 to 4; 0 for one set by an
                      // option, written out only where it is given (positive)
    int formGroup;    // the page's group that shows it, 1 to 4
    double PhysicalSystem::*value;
    ValueRule rule;      // what its value must be
    const char* label;   // the dialogue's words for it (a catalog text)
    const char* keyword; // its name as a Python keyword ("lam" for lambda)
    double start;        // the page's starting value [unit]
    SliderRange slider;  // the page's slider
    ParameterOption option;
};

constexpr ParameterOption noOption = {nullptr, nullptr, nullptr};

constexpr int systemParameterCount = 9;
inline constexpr SystemParameter systemParameters[systemParameterCount] = {
    {"m",
     "kg",
     1,
     1,
     &PhysicalSystem::m,
     ValueRule::positive,
     catalogText("マスm[kg]"),
     "m",
     1.0,
     {0.1, 10.0, true},
     noOption},
    {"lambda",
     "N/(m/s)",
     1,
     1,
     &PhysicalSystem::lambda,
     ValueRule::nonNegative,
     catalogText("ダンパーλ[N/(m/s)]"),
     "lam",
     0.2,
     {0.0, 2.0, false},
     noOption},
    {"K",
     "N/m",
     1,
     1,
     &PhysicalSystem::K,
     ValueRule::positive,
     catalogText("ばね定数K[N/m]"),
     "K",
     1.0,
     {0.1, 10.0, true},
     noOption},
    {"F",
     "N",
     2,
     2,
     &PhysicalSystem::F,
     ValueRule::nonNegative,
     catalogText("強制振動振幅F[N]"),
     "F",
     1.0,
     {0.0, 5.0, false},
     noOption},
    {"omf",
     "rad/s",
     2,
     2,
     &PhysicalSystem::omf,
     ValueRule::nonZero,
     catalogText("振動数ωf[rad/s]"),
     "omf",
     0.8,
     {0.05, 5.0, true},
     noOption},
    {"Fric",
     "N",
     3,
     3,
     &PhysicalSystem::Fric,
     ValueRule::nonNegative,
     catalogText("固体摩擦力 Fric[N]"),
     "Fric",
     0.3,
     {0.0, 2.0, false},
     noOption},
    {"y0",
     "m",
     4,
     4,
     &PhysicalSystem::y0,
     ValueRule::anyFinite,
     catalogText("y0[m]"),
     "y0",
     0.0,
     {-2.0, 2.0, false},
     noOption},
    {"v0",
     "m/s",
     4,
     4,
     &PhysicalSystem::v0,
     ValueRule::anyFinite,
     catalogText("v0[m/s]"),
     "v0",
     0.0,
     {-2.0, 2.0, false},
     noOption},
    {"Fs",
     "N",
     0,
     3,
     &PhysicalSystem::Fs,
     ValueRule::staticForce,
     catalogText("静止摩擦力 Fs[N] (0: Fric と同じ)"),
     "Fs",
     0.0,
     {0.0, 3.0, false},
     {"static-friction", "FS",
      "the static friction force [N] that holds a resting mass,\n"
      "at least the sliding friction Fric (default: Fric)"}}};

// The dialogue's groups as the page shows them: each group's heading (a catalog text).
constexpr int dialogueGroupCount = 4;
inline constexpr const char* dialogueGroupTitles[dialogueGroupCount] = {
    catalogText("(1) ばねマスダンパー"), catalogText("(2) 外力・外力振動数"),
    catalogText("(3) 固体摩擦力"), catalogText("(4) 初期条件")};

// The parameter named name, or nullptr.
const SystemParameter* findParameter(const char* name);

// Whether a parameter of the table has a value to show: every dialogue parameter, an
// option's only where it was given.
inline bool parameterGiven(const SystemParameter& p, const PhysicalSystem& in) {
    return p.group != 0 || in.*p.value > 0.0;
}

// Whether value keeps p's rule; Fric is the sliding friction a static force is held to.
bool valueKeepsRule(const SystemParameter& p, double value, double Fric);

// The index of the first parameter of in that breaks its rule, or -1 where the system
// means something to the model.
int refusedParameter(const PhysicalSystem& in);

// What p's rule asks, in English words for messages ("must be above 0").
const char* ruleText(ValueRule rule);

// Why value breaks p's rule beside the sliding friction Fric, in English ("must be above
// 0", "not a finite number"), or empty where it keeps it.
std::string ruleBreach(const SystemParameter& p, double value, double Fric);

// The value as messages show it: "m = -1 kg".
std::string valueText(const SystemParameter& p, double value);

// The one-line message for a system that breaks a rule ("m = -1 kg: must be above 0"),
// empty where it keeps them all.
std::string refusalMessage(const PhysicalSystem& in);

} // namespace fv
