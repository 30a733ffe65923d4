// The parameter table and the key table as every front end reads them: each parameter's
// rule refuses what it says and keeps the rest, the real program's --help, --keys and
// option parameters follow the tables, and the page's tool writes every row.
#include <cmath>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "model/system.h"
#include "session/keys.h"
#include "session/views.h"
#include "support/process.h"

namespace {

constexpr double limitSeconds = 60.0;

ProcessResult run(const std::string& program, const std::vector<std::string>& args,
                  const std::string& input = "") {
    ChildOptions options;
    options.args = args;
    return runProcess(program, input, {"LC_ALL=C.UTF-8"}, limitSeconds, false, options);
}

TEST(ParameterTable, EachRuleRefusesWhatItSaysAndKeepsTheRest) {
    const double inf = INFINITY;
    const double nan = std::nan("");
    const double subnormal = 1e-320;
    // value, and whether each rule keeps it beside Fric = 0.5.
    struct Case {
        double value;
        bool anyFinite, positive, nonNegative, nonZero, staticForce;
    };
    const Case cases[] = {{-1.0, true, false, false, true, false},
                          {0.0, true, false, true, false, true},
                          {subnormal, true, true, true, true, false},
                          {0.4, true, true, true, true, false},
                          {0.5, true, true, true, true, true},
                          {inf, false, false, false, false, false},
                          {nan, false, false, false, false, false}};
    const fv::ValueRule rules[] = {fv::ValueRule::anyFinite, fv::ValueRule::positive,
                                   fv::ValueRule::nonNegative, fv::ValueRule::nonZero,
                                   fv::ValueRule::staticForce};
    for (const Case& c : cases) {
        const bool kept[] = {c.anyFinite, c.positive, c.nonNegative, c.nonZero, c.staticForce};
        for (int r = 0; r < 5; ++r) {
            fv::SystemParameter p = fv::systemParameters[0];
            p.rule = rules[r];
            EXPECT_EQ(fv::valueKeepsRule(p, c.value, 0.5), kept[r]) << c.value << " rule " << r;
            EXPECT_EQ(fv::ruleBreach(p, c.value, 0.5).empty(), kept[r]) << c.value << " rule " << r;
        }
    }
    for (const fv::SystemParameter& p : fv::systemParameters) {
        EXPECT_EQ(fv::findParameter(p.name), &p);
        EXPECT_TRUE(fv::valueKeepsRule(p, p.start, 0.0)) << p.name << ": its page start";
        EXPECT_LT(p.slider.low, p.slider.high) << p.name;
        EXPECT_TRUE(!p.slider.logScale || p.slider.low > 0.0) << p.name;
        EXPECT_EQ(p.group == 0, p.option.name != nullptr) << p.name << ": read or set by option";
    }
}

TEST(KeyTable, TheProgramsHelpAndKeysFollowIt) {
    std::string views;
    for (const fv::WindowKey& k : fv::windowKeys) {
        EXPECT_EQ(fv::findWindowKey(k.key), &k);
        EXPECT_EQ(fv::isViewKey(k.key), k.view) << k.name;
        EXPECT_TRUE(!k.kept || k.view) << k.name << ": kept in the address, so a view key";
        views += k.view ? std::string(1, static_cast<char>(k.key)) : "";
    }
    EXPECT_EQ(views, "stTyYzZaegcow");
    const std::string help = run(FRICTIONVIB_PATH, {"--help"}).out;
    EXPECT_NE(help.find("(s t T y Y z Z a e g c o w)"), std::string::npos);
    for (const fv::WindowKey& k : fv::windowKeys) {
        EXPECT_NE(help.find(k.help), std::string::npos) << k.name;
    }
    for (const fv::SystemParameter& p : fv::systemParameters) {
        if (p.option.name != nullptr) {
            EXPECT_NE(help.find(std::string("--") + p.option.name), std::string::npos);
        }
    }
    const ProcessResult wrong = run(FRICTIONVIB_PATH, {"--png", "/tmp/fv-never.png", "--keys", "sm"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.err.find("'m' is not a view key (s t T y Y z Z a e g c o w)"), std::string::npos)
        << wrong.err;
}

// The page is written from the tables that this tool writes: every parameter, group and
// key, with the values the program's tables hold.
TEST(PageTables, EveryRowReachesThePage) {
    const ProcessResult r = run(PAGE_TABLES_PATH, {});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json tables = nlohmann::json::parse(r.out);
    ASSERT_EQ(tables["parameters"].size(), static_cast<std::size_t>(fv::systemParameterCount));
    for (int k = 0; k < fv::systemParameterCount; ++k) {
        const fv::SystemParameter& p = fv::systemParameters[k];
        const nlohmann::json& row = tables["parameters"][k];
        EXPECT_EQ(row["name"], p.name);
        EXPECT_EQ(row["label"], p.label);
        EXPECT_EQ(row["formGroup"], p.formGroup);
        EXPECT_EQ(row["start"], p.start);
        EXPECT_EQ(row["slider"]["log"], p.slider.logScale);
    }
    EXPECT_EQ(tables["groups"].size(), static_cast<std::size_t>(fv::dialogueGroupCount));
    EXPECT_EQ(tables["keys"].size(), static_cast<std::size_t>(fv::windowKeyCount));
}

} // namespace
