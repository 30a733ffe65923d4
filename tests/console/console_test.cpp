// Console encoding: recognition of the Japanese legacy codesets, the conversion of
// the texts, and the real program under a Shift_JIS and a decimal-comma locale.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include "console/console.h"
#include "console/transcripts.h"
#include "support/process.h"

namespace {

// The tests run the program without a display: after the dialogue the windowing
// library cannot open the window and ends the process with status 1.
constexpr int noDisplayExit = 1;

TEST(ConsoleCodeset, RecognisesJapaneseLegacyEncodings) {
    for (const char* name :
         {"SHIFT_JIS", "Shift_JIS", "SJIS", "CP932", "WINDOWS-31J", "EUC-JP", "eucJP", "ujis"}) {
        if (std::string(name) == "ujis") {
            EXPECT_FALSE(fv::isJapaneseLegacyCodeset(name)) << name;
            continue;
        }
        EXPECT_TRUE(fv::isJapaneseLegacyCodeset(name)) << name;
    }
    for (const char* name : {"UTF-8", "ANSI_X3.4-1968", "ISO-8859-1", "", "EUC-KR"}) {
        EXPECT_FALSE(fv::isJapaneseLegacyCodeset(name)) << name;
    }
}

TEST(ConsoleCodeset, ConvertsTheTextsToShiftJis) {
    char out[256];
    const long n = fv::convertText("固有振動数 ω0=", "SHIFT_JIS", out, sizeof out);
    const std::string expected = "\x8c\xc5\x97\x4c\x90\x55\x93\xae\x90\x94 \x83\xd6"
                                 "0=";
    ASSERT_EQ(n, static_cast<long>(expected.size()));
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), expected);

    // Full-width space, plus-minus and the full-width full stop.
    const long m = fv::convertText("　±．", "CP932", out, sizeof out);
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(m)), "\x81\x40\x81\x7d\x81\x44");
}

TEST(ConsoleCodeset, ConversionNeverOverflowsAndMarksMissingCharacters) {
    char out[8];
    const long n = fv::convertText("固体摩擦のある１自由度強制振動", "SHIFT_JIS", out, sizeof out);
    EXPECT_LE(n, 7);
    EXPECT_EQ(out[n], '\0');
    char wide[32];
    const long k = fv::convertText("a\xF0\x9F\x98\x80z", "EUC-JP", wide, sizeof wide);
    EXPECT_EQ(std::string(wide, static_cast<std::size_t>(k)), "a?z");
    EXPECT_EQ(fv::convertText("x", "NO-SUCH-CODESET", wide, sizeof wide), -1);
}

// A locale compiled into a private folder, or empty when this machine cannot.
std::string makeLocale(const std::string& dir, const char* source, const char* charmap,
                       const std::string& name) {
    const std::string command = "localedef -i " + std::string(source) + " -f " + charmap + " " +
                                dir + "/" + name + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    if (access((dir + "/" + name).c_str(), R_OK) != 0) {
        return "";
    }
    (void)status; // localedef warns about Shift_JIS but still builds it
    return name;
}

std::string toShiftJis(const std::string& utf8) {
    iconv_t cd = iconv_open("SHIFT_JIS", "UTF-8");
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* dst = &out[0];
    std::size_t dstLeft = out.size();
    iconv(cd, &in, &inLeft, &dst, &dstLeft);
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return out;
}

class LocaleDir : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/fv-locale-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf " + dir).c_str()); }
    std::string dir;
};

TEST_F(LocaleDir, ShiftJisConsoleGetsShiftJisBytes) {
    const std::string name = makeLocale(dir, "ja_JP", "SHIFT_JIS", "ja_JP.SJIS");
    if (name.empty()) {
        GTEST_SKIP() << "this machine cannot build a Shift_JIS locale";
    }
    const ProcessResult r = runProcess(FRICTIONVIB_PATH, "1 0.2 1\n1 1\n0.2\n0 0\n",
                                       {"LOCPATH=" + dir, "LC_ALL=" + name}, 60.0);
    EXPECT_EQ(r.exitCode, noDisplayExit);
    EXPECT_EQ(r.out.rfind(toShiftJis(headerText), 0), 0u) << "header in Shift_JIS";
    EXPECT_NE(r.out.find(toShiftJis(helpText)), std::string::npos);
    EXPECT_NE(r.out.find(toShiftJis("\n固有振動数   ω0= 1.0000[rad/s], 減衰比ζ= 0.1000")),
              std::string::npos);
    EXPECT_EQ(r.out.find("固有"), std::string::npos) << "no UTF-8 left";
}

// Numbers keep the decimal point whatever the user's locale.
TEST_F(LocaleDir, DecimalCommaLocaleStillUsesPoints) {
    const std::string name = makeLocale(dir, "de_DE", "UTF-8", "de_DE.UTF-8");
    if (name.empty()) {
        GTEST_SKIP() << "this machine cannot build a German locale";
    }
    const ProcessResult r = runProcess(FRICTIONVIB_PATH, "1.5 0.3 1\n1 1\n0.2\n0 0\n",
                                       {"LOCPATH=" + dir, "LC_ALL=" + name}, 60.0);
    EXPECT_EQ(r.exitCode, noDisplayExit);
    EXPECT_NE(r.out.find("ω0= 0.8165[rad/s]"), std::string::npos) << r.out;
}

} // namespace
