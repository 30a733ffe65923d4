// The physical system: the eight values the dialogue reads, named as the program prints
// them, and their table, through which every front end shows, reads and writes them by
// name. A new parameter is a new member here and a new row of the table.
#pragma once

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

// One parameter of the system as the front ends name it.
struct SystemParameter {
    const char* name; // as printed, in the files and on the page
    const char* unit; // as printed in brackets
    int group;        // the dialogue group that reads it, 1 to 4; 0 for one set by an
                      // option, written out only where it is given (positive)
    double PhysicalSystem::*value;
};

constexpr int systemParameterCount = 9;
inline constexpr SystemParameter systemParameters[systemParameterCount] = {
    {"m", "kg", 1, &PhysicalSystem::m},        {"lambda", "N/(m/s)", 1, &PhysicalSystem::lambda},
    {"K", "N/m", 1, &PhysicalSystem::K},       {"F", "N", 2, &PhysicalSystem::F},
    {"omf", "rad/s", 2, &PhysicalSystem::omf}, {"Fric", "N", 3, &PhysicalSystem::Fric},
    {"y0", "m", 4, &PhysicalSystem::y0},       {"v0", "m/s", 4, &PhysicalSystem::v0},
    {"Fs", "N", 0, &PhysicalSystem::Fs}};

// Whether a parameter of the table has a value to show: every dialogue parameter, an
// option's only where it was given.
inline bool parameterGiven(const SystemParameter& p, const PhysicalSystem& in) {
    return p.group != 0 || in.*p.value > 0.0;
}

} // namespace fv
