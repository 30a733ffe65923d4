// The page's tables, made by the desktop build for the web build: the system's
// parameters, the dialogue's groups and the window's keys, as JSON on standard output.
// The page's form, sliders, notes, address keys and key buttons are written from it, so
// that the page shows a new row without a word of its own.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "model/system.h"
#include "session/views.h"

namespace {

const char* ruleName(fv::ValueRule rule) {
    switch (rule) {
    case fv::ValueRule::anyFinite:
        return "anyFinite";
    case fv::ValueRule::positive:
        return "positive";
    case fv::ValueRule::nonNegative:
        return "nonNegative";
    case fv::ValueRule::nonZero:
        return "nonZero";
    case fv::ValueRule::staticForce:
        return "staticForce";
    }
    return "";
}

nlohmann::json parameters() {
    nlohmann::json rows = nlohmann::json::array();
    for (const fv::SystemParameter& p : fv::systemParameters) {
        rows.push_back(
            {{"name", p.name},
             {"unit", p.unit},
             {"group", p.group},
             {"formGroup", p.formGroup},
             {"rule", ruleName(p.rule)},
             {"label", p.label},
             {"start", p.start},
             {"slider",
              {{"low", p.slider.low}, {"high", p.slider.high}, {"log", p.slider.logScale}}}});
    }
    return rows;
}

nlohmann::json keys() {
    nlohmann::json rows = nlohmann::json::array();
    for (const fv::WindowKey& k : fv::windowKeys) {
        rows.push_back({{"key", std::string(1, static_cast<char>(k.key))},
                        {"name", k.name},
                        {"words", k.words != nullptr ? nlohmann::json(k.words) : nullptr},
                        {"view", k.view},
                        {"kept", k.kept}});
    }
    return rows;
}

} // namespace

int main() {
    const nlohmann::json tables = {
        {"parameters", parameters()}, {"groups", fv::dialogueGroupTitles}, {"keys", keys()}};
    std::puts(tables.dump(1).c_str());
    return std::ferror(stdout) != 0 || std::fflush(stdout) != 0 ? 1 : 0;
}
