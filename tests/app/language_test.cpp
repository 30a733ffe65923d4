// The reader's language on the real program: --lang en words every line of the
// dialogue in English around the same symbols and values, --lang ja and no option are
// the Japanese transcript, an unknown language is a usage error that lists those there
// are, and a catalog compiled from a new PO file is offered and used.
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/process.h"

namespace {

constexpr double limitSeconds = 60.0;
const std::string passInput = "1 0.2 1\n1 0.8\n0.3\n0 0\n";

ProcessResult runIn(const std::vector<std::string>& args,
                    const std::vector<std::string>& env = {}) {
    ChildOptions options;
    options.args = args;
    options.args.insert(options.args.begin(), "--batch");
    std::vector<std::string> environment = {"LC_ALL=C.UTF-8"};
    environment.insert(environment.end(), env.begin(), env.end());
    return runProcess(FRICTIONVIB_PATH, passInput, environment, limitSeconds, false, options);
}

// Whether text holds a kana, kanji or full-width character.
bool hasJapanese(const std::string& text) {
    for (std::size_t i = 0; i + 2 < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead >= 0xE3 && lead <= 0xE9) { // U+3000 to U+9FFF
            return true;
        }
        if (lead == 0xEF && static_cast<unsigned char>(text[i + 1]) >= 0xBC) { // U+FF00 on
            return true;
        }
    }
    return false;
}

// The symbols with their values ("ω0= 1.0000", "Yc[m]= 0.300"), in order.
std::vector<std::string> valuesOf(const std::string& text) {
    static const std::regex value(R"(([A-Za-z0-9/ΦζωλYZ\[\]]+)=\s*(-?[0-9.]+|nan|inf))");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), value);
         it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[0]);
    }
    return found;
}

TEST(Language, EnglishWordsAroundTheSameSymbolsAndValues) {
    const ProcessResult ja = runIn({});
    const ProcessResult en = runIn({"--lang", "en"});
    ASSERT_EQ(en.exitCode, 0) << en.err;
    EXPECT_FALSE(hasJapanese(en.out)) << en.out;
    EXPECT_EQ(lines(en.out).size(), lines(ja.out).size());
    const std::vector<std::string> values = valuesOf(ja.out);
    EXPECT_GE(values.size(), 15u);
    EXPECT_EQ(valuesOf(en.out), values);
    for (const char* words : {"damping ratio ζ=", "Static deflection", "phase lag Φ=",
                              "Coulomb friction", "frequency response", "ESC key: quit"}) {
        EXPECT_NE(en.out.find(words), std::string::npos) << words;
    }
    EXPECT_EQ(runIn({"--lang", "ja"}).out, ja.out);
}

// The key help's second column starts at one place in every line that has one.
TEST(Language, EnglishKeyHelpKeepsTwoColumns) {
    const std::string out = runIn({"--lang", "en"}).out;
    std::vector<std::size_t> columns;
    for (const std::string& line : lines(out)) {
        for (const char* second : {"'Y' 'y'", "'T' 't'", "'z' 'Z'"}) {
            if (line.find(second) != std::string::npos) {
                columns.push_back(line.find(second));
            }
        }
    }
    ASSERT_EQ(columns.size(), 3u) << out;
    EXPECT_EQ(columns[0], columns[1]);
    EXPECT_EQ(columns[1], columns[2]);
}

TEST(Language, UnknownLanguageIsAUsageErrorThatListsThem) {
    for (const char* code : {"xx", "", "../en", "en.mo"}) {
        const ProcessResult r = runIn({"--lang", code});
        EXPECT_EQ(r.exitCode, 2) << code;
        EXPECT_EQ(r.out, "") << code;
        EXPECT_NE(r.err.find("(there are: ja en)"), std::string::npos) << r.err;
    }
    EXPECT_NE(runIn({"--help"}).out.find("--lang LANG"), std::string::npos);
}

// A test folder of compiled catalogs, removed at the end.
struct CatalogFolder {
    std::string path;
    CatalogFolder() {
        char name[] = "/tmp/fv_catalogs_XXXXXX";
        path = mkdtemp(name);
    }
    ~CatalogFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
    // Compiles po text into CODE.mo with GNU msgfmt, as the build does.
    bool compile(const std::string& code, const std::string& po) const {
        const std::string source = path + "/" + code + ".po";
        std::FILE* f = std::fopen(source.c_str(), "w");
        std::fputs(po.c_str(), f);
        std::fclose(f);
        return std::system(
                   ("msgfmt --check -o '" + path + "/" + code + ".mo' '" + source + "'").c_str()) ==
               0;
    }
};

// A new language is a new PO file: a copy of en.po with a text changed, compiled into a
// folder the program is pointed at, is offered by --lang and used.
TEST(Language, NewCatalogIsOfferedAndUsed) {
    std::string po = readFile(std::string(PO_FOLDER) + "/en.po");
    ASSERT_FALSE(po.empty());
    const std::string english = "msgstr \"English\"";
    const std::string deflection = "\"Static deflection  Yf=%7.4f[m]\"";
    ASSERT_NE(po.find(english), std::string::npos);
    ASSERT_NE(po.find(deflection), std::string::npos);
    po.replace(po.find(english), english.size(), "msgstr \"Testish\"");
    po.replace(po.find(deflection), deflection.size(), "\"Test deflection  Yf=%7.4f[m]\"");
    CatalogFolder folder;
    ASSERT_TRUE(folder.compile("xx", po));
    const std::string env = "FRICTIONVIB_LOCALEDIR=" + folder.path;
    const ProcessResult r = runIn({"--lang", "xx"}, {env});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\nTest deflection  Yf= 1.0000[m]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Natural angular frequency"), std::string::npos);
    const ProcessResult wrong = runIn({"--lang", "en"}, {env});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.err.find("(there are: ja xx)"), std::string::npos) << wrong.err;
}

// A damaged catalog is left out, with why when its language is asked for; the others
// stay usable. A translation with other conversions than its msgid's is not used.
TEST(Language, DamagedCatalogIsLeftOut) {
    CatalogFolder folder;
    std::FILE* f = std::fopen((folder.path + "/zz.mo").c_str(), "w");
    std::fputs("not a catalog", f);
    std::fclose(f);
    ASSERT_TRUE(folder.compile("yy", "msgid \"\"\nmsgstr \"Content-Type: text/plain; "
                                     "charset=UTF-8\\n\"\n\n"
                                     "msgid \"\\n静撓み  Yf=%7.4f[m]\"\n"
                                     "msgstr \"\\nDeflection %s\"\n"));
    const std::string env = "FRICTIONVIB_LOCALEDIR=" + folder.path;
    const ProcessResult zz = runIn({"--lang", "zz"}, {env});
    EXPECT_EQ(zz.exitCode, 2);
    EXPECT_NE(zz.err.find("zz.mo: not a compiled catalog"), std::string::npos) << zz.err;
    const ProcessResult yy = runIn({"--lang", "yy"}, {env});
    EXPECT_EQ(yy.exitCode, 0) << yy.err;
    EXPECT_EQ(yy.out, runIn({}).out);
}

} // namespace
