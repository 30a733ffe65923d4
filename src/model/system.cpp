// The rules a system must keep for the model to mean something by it, one per parameter
// of the table, and the message that names the first one broken.
#include "model/system.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fv {

namespace {

constexpr int maxSignificantDigits = 17; // enough for any double to read back [digits]

// The shortest %g text that reads back to the same double ("0.1", "-1e+300", "inf").
std::string shortText(double value) {
    char text[32];
    for (int digits = 1; digits <= maxSignificantDigits; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value || std::isnan(value)) {
            break;
        }
    }
    return text;
}

} // namespace

bool valueKeepsRule(const SystemParameter& p, double value, double Fric) {
    if (!std::isfinite(value)) {
        return false;
    }
    switch (p.rule) {
    case ValueRule::anyFinite:
        return true;
    case ValueRule::positive:
        return value > 0.0;
    case ValueRule::nonNegative:
        return value >= 0.0;
    case ValueRule::nonZero:
        return value != 0.0;
    case ValueRule::staticForce:
        return value == 0.0 || (value > 0.0 && !(value < Fric));
    }
    return false;
}

const SystemParameter* findParameter(const char* name) {
    for (const SystemParameter& p : systemParameters) {
        if (std::strcmp(p.name, name) == 0) {
            return &p;
        }
    }
    return nullptr;
}

int refusedParameter(const PhysicalSystem& in) {
    for (int k = 0; k < systemParameterCount; ++k) {
        const SystemParameter& p = systemParameters[k];
        if (!valueKeepsRule(p, in.*p.value, in.Fric)) {
            return k;
        }
    }
    return -1;
}

const char* ruleText(ValueRule rule) {
    switch (rule) {
    case ValueRule::anyFinite:
        return "must be a finite number";
    case ValueRule::positive:
        return "must be above 0";
    case ValueRule::nonNegative:
        return "must be 0 or more";
    case ValueRule::nonZero:
        return "must not be 0";
    case ValueRule::staticForce:
        return "must be 0 (the mass is held by Fric) or at least Fric";
    }
    return "";
}

std::string ruleBreach(const SystemParameter& p, double value, double Fric) {
    if (valueKeepsRule(p, value, Fric)) {
        return std::string();
    }
    std::string text;
    if (!std::isfinite(value)) {
        text = "not a finite number";
        if (p.rule == ValueRule::anyFinite) {
            return text;
        }
        return text + "; " + p.name + " " + ruleText(p.rule);
    }
    if (p.rule == ValueRule::staticForce && value > 0.0) {
        text = "below Fric = " + shortText(Fric) + " N; " + p.name + " ";
    }
    return text + ruleText(p.rule);
}

std::string valueText(const SystemParameter& p, double value) {
    return std::string(p.name) + " = " + shortText(value) + " " + p.unit;
}

std::string refusalMessage(const PhysicalSystem& in) {
    const int k = refusedParameter(in);
    if (k < 0) {
        return std::string();
    }
    const SystemParameter& p = systemParameters[k];
    return valueText(p, in.*p.value) + ": " + ruleBreach(p, in.*p.value, in.Fric);
}

} // namespace fv
