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

// One parameter of the system as the front ends name it.
struct SystemParameter {
    const char* name; // as printed, in the files and on the page
    const char* unit; // as printed in brackets
    int group;        // the dialogue group that reads it, 1 to 4; 0 for one set by an
                      // option, written out only where it is given (positive)
    double PhysicalSystem::*value;
    ValueRule rule; // what its value must be
};

constexpr int systemParameterCount = 9;
inline constexpr SystemParameter systemParameters[systemParameterCount] = {
    {"m", "kg", 1, &PhysicalSystem::m, ValueRule::positive},
    {"lambda", "N/(m/s)", 1, &PhysicalSystem::lambda, ValueRule::nonNegative},
    {"K", "N/m", 1, &PhysicalSystem::K, ValueRule::positive},
    {"F", "N", 2, &PhysicalSystem::F, ValueRule::nonNegative},
    {"omf", "rad/s", 2, &PhysicalSystem::omf, ValueRule::nonZero},
    {"Fric", "N", 3, &PhysicalSystem::Fric, ValueRule::nonNegative},
    {"y0", "m", 4, &PhysicalSystem::y0, ValueRule::anyFinite},
    {"v0", "m/s", 4, &PhysicalSystem::v0, ValueRule::anyFinite},
    {"Fs", "N", 0, &PhysicalSystem::Fs, ValueRule::staticForce}};

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

// The one-line message for a system that breaks a rule ("m = -1 kg: must be above 0"),
// empty where it keeps them all.
std::string refusalMessage(const PhysicalSystem& in);

} // namespace fv
