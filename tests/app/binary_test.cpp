// The real program with real standard input: byte-exact transcripts of first passes,
// input that cannot be read or ends early, and prompts that reach a pipe before the
// program waits; the command-line options.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "console/transcripts.h"
#include "support/process.h"

namespace {

// The tests run the program without a display: after the dialogue the program finds
// that no window can open, says so and ends with status 1.
constexpr int noDisplayExit = 1;

constexpr double passLimitSeconds = 60.0; // a first pass takes well under a second

std::string firstPass(const std::string& group1, const std::string& group2,
                      const std::string& group3) {
    return std::string(headerText) + prompt1Text + group1 + prompt2Text + group2 + prompt3Text +
           group3 + noticeText + prompt4Text + helpText;
}

ProcessResult run(const std::string& input) {
    return runProcess(FRICTIONVIB_PATH, input, {"LC_ALL=C.UTF-8"}, passLimitSeconds);
}

void expectTranscript(const std::string& input, const std::string& expected) {
    const ProcessResult r = run(input);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, noDisplayExit);
    EXPECT_EQ(r.out, expected) << "input: " << input;
}

const std::string group1Default = "\n固有振動数   ω0= 1.0000[rad/s], 減衰比ζ= 0.1000";

TEST(FirstPassTranscript, ResonanceWithoutStickSlip) {
    expectTranscript(
        "1 0.2 1\n1 1\n0.2\n0 0\n",
        firstPass(group1Default,
                  "\n静撓み  Yf= 1.0000[m]"
                  "\n固体摩擦ないときの定常振幅 Ad= 5.0000[m], 位相遅れΦ= 90.00[deg]"
                  "\n       振幅比Ad/As= 5.0000",
                  "\n不感帯Yc[m]= 0.200"
                  "\n設定ζ= 0.100 z= 1.0000 F= 1.0000 Fric= 0.2000 無停止振動定常振幅 YZA= 3.7254"
                  "\n設定ζ= 0.100 z= 1.0000 Yf= 1.0000 Yc= 0.2000 一時停止振動振幅 YZB=-1.0000"));
}

TEST(FirstPassTranscript, StickSlipBelowResonance) {
    expectTranscript(
        "1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n",
        firstPass(group1Default,
                  "\n静撓み  Yf= 0.5000[m]"
                  "\n固体摩擦ないときの定常振幅 Ad= 0.6608[m], 位相遅れΦ=  7.59[deg]"
                  "\n       振幅比Ad/As= 1.3216",
                  "\n不感帯Yc[m]= 0.200"
                  "\n設定ζ= 0.100 z= 0.5000 F= 0.5000 Fric= 0.2000 無停止振動定常振幅 YZA= 0.5996"
                  "\n設定ζ= 0.100 z= 0.5000 Yf= 0.5000 Yc= 0.2000 一時停止振動振幅 YZB= 0.5914"));
}

TEST(FirstPassTranscript, OtherUnitsAllOnOneLine) {
    expectTranscript(
        "2 0.4 3 0.9 1.1 0.1 0.05 -0.2",
        firstPass("\n固有振動数   ω0= 1.2247[rad/s], 減衰比ζ= 0.0816",
                  "\n静撓み  Yf= 0.3000[m]"
                  "\n固体摩擦ないときの定常振幅 Ad= 1.2362[m], 位相遅れΦ= 37.18[deg]"
                  "\n       振幅比Ad/As= 4.1208",
                  "\n不感帯Yc[m]= 0.033"
                  "\n設定ζ= 0.082 z= 0.8981 F= 0.9000 Fric= 0.1000 無停止振動定常振幅 YZA= 1.1239"
                  "\n設定ζ= 0.082 z= 0.8981 Yf= 0.3000 Yc= 0.0333 一時停止振動振幅 YZB=-1.0000"));
}

TEST(FirstPassTranscript, NoForceDropsTheRatioLine) {
    expectTranscript(
        "1 0.2 1\n0 0.5\n0.2\n0 0\n",
        firstPass(group1Default,
                  "\n静撓み  Yf= 0.0000[m]"
                  "\n固体摩擦ないときの定常振幅 Ad= 0.0000[m], 位相遅れΦ=  7.59[deg]",
                  "\n不感帯Yc[m]= 0.200"
                  "\n設定ζ= 0.100 z= 0.5000 F= 0.0000 Fric= 0.2000 無停止振動定常振幅 YZA=-1.0000"
                  "\n設定ζ= 0.100 z= 0.5000 Yf= 0.0000 Yc= 0.2000 一時停止振動振幅 YZB=-1.0000"));
}

// omf = 0 gives ratio 0, where YZA keeps its previous value: 0 on the first pass.
TEST(FirstPassTranscript, ZeroForcingFrequencyKeepsYZA) {
    expectTranscript(
        "1 0.2 1\n1 0\n0.2\n0 0\n",
        firstPass(group1Default,
                  "\n静撓み  Yf= 1.0000[m]"
                  "\n固体摩擦ないときの定常振幅 Ad= 1.0000[m], 位相遅れΦ=  0.00[deg]"
                  "\n       振幅比Ad/As= 1.0000",
                  "\n不感帯Yc[m]= 0.200"
                  "\n設定ζ= 0.100 z= 0.0000 F= 1.0000 Fric= 0.2000 無停止振動定常振幅 YZA= 0.0000"
                  "\n設定ζ= 0.100 z= 0.0000 Yf= 1.0000 Yc= 0.2000 一時停止振動振幅 YZB=-1.0000"));
}

// Letters at a prompt leave that group's values unchanged and are discarded with
// their line; the next prompt reads the next line.
TEST(UnreadableInput, LettersAreDiscardedWithTheirLine) {
    expectTranscript(
        "1 0.2 1\nabc 7\n0.2\n0 0\n",
        firstPass(group1Default,
                  "\n静撓み  Yf= 0.0000[m]"
                  "\n固体摩擦ないときの定常振幅 Ad= 0.0000[m], 位相遅れΦ=  0.00[deg]",
                  "\n不感帯Yc[m]= 0.200"
                  "\n設定ζ= 0.100 z= 0.0000 F= 0.0000 Fric= 0.2000 無停止振動定常振幅 YZA= 0.0000"
                  "\n設定ζ= 0.100 z= 0.0000 Yf= 0.0000 Yc= 0.2000 一時停止振動振幅 YZB=-1.0000"));
}

// A read that fills some numbers keeps them; the rest of the line goes.
TEST(UnreadableInput, PartlyReadGroupKeepsWhatItRead) {
    const ProcessResult r = run("1 0.2 1\n0.5 x 9 9\n0.2\n0 0\n");
    EXPECT_EQ(r.exitCode, noDisplayExit);
    EXPECT_NE(r.out.find("\n静撓み  Yf= 0.5000[m]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Fric= 0.2000"), std::string::npos) << r.out;
}

TEST(UnreadableInput, InputEndingEarlyRunsToTheEnd) {
    const ProcessResult r = run("1 0.2 1\n");
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, noDisplayExit);
    EXPECT_NE(r.out.find(helpText), std::string::npos);
    EXPECT_NE(r.out.find("Fric= 0.0000 無停止振動定常振幅 YZA= 0.0000"), std::string::npos);

    const ProcessResult empty = run("");
    EXPECT_FALSE(empty.timedOut);
    EXPECT_EQ(empty.exitCode, noDisplayExit);
    EXPECT_NE(empty.out.find(helpText), std::string::npos);
}

// Zero mass and stiffness flow through IEEE arithmetic and print as the C library
// prints them.
TEST(UnreadableInput, NonFiniteValuesArePrinted) {
    const ProcessResult r = run("0 0 0\n1 1\n0.2\n0 0\n");
    EXPECT_EQ(r.exitCode, noDisplayExit);
    EXPECT_NE(r.out.find("nan[rad/s]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Yf=    inf[m]"), std::string::npos) << r.out;
}

TEST(Prompts, ReachAPipeBeforeTheProgramWaits) {
    const ProcessResult r =
        runProcess(FRICTIONVIB_PATH, "1 0.2 1\n", {"LC_ALL=C.UTF-8"}, 3.0, true);
    EXPECT_TRUE(r.timedOut) << "the program waits for group (2)";
    const std::string expected =
        std::string(headerText) + prompt1Text + group1Default + prompt2Text;
    EXPECT_EQ(r.out, expected);
}

// Display columns of UTF-8 text: two per character outside ASCII.
int displayColumns(const std::string& text) {
    int columns = 0;
    for (unsigned char c : text) {
        if (c < 0x80) {
            columns += 1;
        } else if (c >= 0xC0) {
            columns += 2;
        }
    }
    return columns;
}

TEST(Prompts, HelpSecondColumnStartsAfter38Columns) {
    const ProcessResult r = run("1 0.2 1\n1 1\n0.2\n0 0\n");
    const std::string keys[] = {"'s'キーで", "'m'キーで", "'f'キーで"};
    const std::string second[] = {"'Y' 'y'", "'T' 't'", "'z' 'Z'"};
    for (int i = 0; i < 3; ++i) {
        const std::size_t start = r.out.find("\n" + keys[i]);
        ASSERT_NE(start, std::string::npos) << keys[i];
        const std::size_t column = r.out.find(second[i], start);
        ASSERT_NE(column, std::string::npos) << second[i];
        EXPECT_EQ(displayColumns(r.out.substr(start + 1, column - start - 1)), 38) << keys[i];
    }
}

} // namespace

// Command-line options of the real binary: help and version answer and end with 0; a
// wrong option or value is one line on standard error and status 2 before any
// dialogue; --batch prints exactly the interactive first pass and ends with 0.
namespace {

ProcessResult runWith(const std::vector<std::string>& args, const std::string& input = "") {
    ChildOptions options;
    options.args = args;
    return runProcess(FRICTIONVIB_PATH, input, {"LC_ALL=C.UTF-8"}, passLimitSeconds, false,
                      options);
}

TEST(CommandLine, HelpAndVersion) {
    for (const char* flag : {"--help", "-h"}) {
        const ProcessResult r = runWith({flag});
        EXPECT_EQ(r.exitCode, 0) << flag;
        EXPECT_EQ(r.out.rfind("Usage: frictionvib [OPTION]...\n", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("--export DIR"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
    for (const char* flag : {"--version", "-V"}) {
        const ProcessResult r = runWith({flag});
        EXPECT_EQ(r.exitCode, 0) << flag;
        EXPECT_EQ(r.out.rfind("frictionvib ", 0), 0u) << r.out;
        EXPECT_EQ(r.out.back(), '\n');
    }
}

// The README lists the options as --help does, word for word.
TEST(CommandLine, ReadmeListsTheOptionsAsHelpDoes) {
    std::ifstream in(README_PATH);
    std::stringstream text;
    text << in.rdbuf();
    const std::string readme = text.str();
    const std::size_t start = readme.find("frictionvib [OPTION]...\n");
    ASSERT_NE(start, std::string::npos);
    const std::size_t from = start + std::string("frictionvib [OPTION]...\n").size();
    const std::string block = readme.substr(from, readme.find("```", from) - from);
    const std::string help = runWith({"--help"}).out;
    EXPECT_NE(help.find(block), std::string::npos) << block;
}

TEST(CommandLine, WrongOptionsEndWithStatusTwoBeforeTheDialogue) {
    const std::vector<std::vector<std::string>> wrong = {{"--bogus"},
                                                         {"-x"},
                                                         {"--png"},
                                                         {"-o"},
                                                         {"--frames", "-1"},
                                                         {"--frames", "2x"},
                                                         {"--duration", "abc"},
                                                         {"--duration", "-5"},
                                                         {"--duration", "nan"},
                                                         {"--duration", ""},
                                                         {"stray"},
                                                         {"-display"}};
    for (const auto& args : wrong) {
        const ProcessResult r = runWith(args, "1 0.2 1\n1 1\n0.2\n0 0\n");
        const std::string shown = args[0] + (args.size() > 1 ? " " + args[1] : "");
        EXPECT_EQ(r.exitCode, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << shown << ": " << r.err;
        EXPECT_NE(r.err.find(args[0] == "stray" ? "stray" : args[0]), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("--help"), std::string::npos) << r.err;
    }
}

// A subnormal value is a number like any other; one that underflows to zero is not.
TEST(CommandLine, SubnormalValuesAreNumbers) {
    const std::string noFriction = "1 0.2 1\n0.5 0.5\n0\n0.1 0\n";
    EXPECT_EQ(runWith({"-b", "--static-friction", "1e-320"}, noFriction).exitCode, 0);
    const ProcessResult below =
        runWith({"-b", "--static-friction", "1e-320"}, "1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n");
    EXPECT_EQ(below.exitCode, 2);
    EXPECT_NE(below.err.find("Fs = 1e-320 N: below Fric = 0.2 N"), std::string::npos) << below.err;
    const ProcessResult zero = runWith({"-b", "--static-friction", "1e-400"}, noFriction);
    EXPECT_EQ(zero.exitCode, 2);
    EXPECT_NE(zero.err.find("'1e-400' is not a number"), std::string::npos) << zero.err;
    char folder[] = "/tmp/fv-subnormal-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const ProcessResult e = runWith({"-o", folder, "--duration", "1e-320"}, noFriction);
    EXPECT_EQ(e.exitCode, 0) << e.err;
    EXPECT_EQ(lines(readFile(std::string(folder) + "/time.csv")).size(), 2u);
    std::system(("rm -rf '" + std::string(folder) + "'").c_str());
}

TEST(CommandLine, BatchPrintsTheFirstPassAndEndsWithZero) {
    const std::string input = "1 0.2 1\n0.5 0.5\n0.2\n0.1 0\n";
    const ProcessResult interactive = run(input);
    ASSERT_EQ(interactive.exitCode, noDisplayExit);
    for (const char* flag : {"--batch", "-b"}) {
        const ProcessResult r = runWith({flag}, input);
        EXPECT_EQ(r.exitCode, 0) << flag;
        EXPECT_EQ(r.out, interactive.out) << flag;
        EXPECT_EQ(r.err, "");
    }
    // GLUT's own options are still GLUT's: they pass the option parser.
    EXPECT_EQ(runWith({"-b", "-display", ":99", "-iconic"}, input).exitCode, 0);
}

} // namespace

// The window comes from libfvwindow.so beside the program: without it the dialogue
// still runs, and the program says why there is no window and ends with status 1.
namespace {

TEST(WindowModule, MissingModuleIsReported) {
    char folder[] = "/tmp/fv-alone-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string copy = std::string(folder) + "/frictionvib";
    ASSERT_EQ(std::system(("cp '" FRICTIONVIB_PATH "' '" + copy + "'").c_str()), 0);
    const ProcessResult r =
        runProcess(copy, "1 0.2 1\n1 1\n0.2\n0 0\n", {"LC_ALL=C.UTF-8"}, passLimitSeconds);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find(helpText), std::string::npos);
    EXPECT_NE(r.err.find("cannot open the window"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("libfvwindow.so"), std::string::npos) << r.err;
    std::system(("rm -rf '" + std::string(folder) + "'").c_str());
}

// Without a display the dialogue runs and prints its results as ever, then one line of
// the program's own (not the windowing library's) says why no window opens and what
// works without one; a -display that cannot be opened is named.
TEST(WindowModule, NoDisplayIsReportedAfterTheDialogue) {
    const std::string input = "1 0.2 1\n1 1\n0.2\n0 0\n";
    const ProcessResult batch = runWith({"--batch"}, input);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, std::vector<std::string>{"-display", ":987"}}) {
        const ProcessResult r = runWith(args, input);
        EXPECT_EQ(r.exitCode, noDisplayExit);
        EXPECT_EQ(r.out, batch.out);
        EXPECT_EQ(r.err.rfind("frictionvib: cannot open the window: no display: '", 0), 0u)
            << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        for (const char* works : {"--batch", "--export", "--png", "web page"}) {
            EXPECT_NE(r.err.find(works), std::string::npos) << r.err;
        }
    }
    EXPECT_NE(runWith({"-display", ":987"}, input).err.find("':987'"), std::string::npos);
}

} // namespace
