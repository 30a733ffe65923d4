// The catalog reader on .mo bytes made here: the lookup, the byte orders, damaged files
// refused whole, and translations whose printf conversions differ left out.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "text/catalog.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

void putWord(std::string* bytes, std::uint32_t value, bool bigEndian) {
    for (int k = 0; k < 4; ++k) {
        const int shift = bigEndian ? 24 - 8 * k : 8 * k;
        bytes->push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

// A .mo file of entries (msgids in sorted order, as msgfmt writes them).
std::string moFile(const Entries& entries, bool bigEndian = false) {
    const auto n = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t idsAt = 28;
    const std::uint32_t textsAt = idsAt + 8 * n;
    const std::uint32_t stringsAt = textsAt + 8 * n;
    std::string header;
    std::string strings;
    std::string ids;
    std::string texts;
    for (int column = 0; column < 2; ++column) {
        std::string& table = column == 0 ? ids : texts;
        for (const auto& entry : entries) {
            const std::string& s = column == 0 ? entry.first : entry.second;
            putWord(&table, static_cast<std::uint32_t>(s.size()), bigEndian);
            putWord(&table, stringsAt + static_cast<std::uint32_t>(strings.size()), bigEndian);
            strings += s;
            strings.push_back('\0');
        }
    }
    for (std::uint32_t word : {0x950412deu, 0u, n, idsAt, textsAt, 0u, stringsAt}) {
        putWord(&header, word, bigEndian);
    }
    return header + ids + texts + strings;
}

const Entries english = {{"", "Content-Type: text/plain; charset=UTF-8\n"},
                         {"\n静撓み  Yf=%7.4f[m]", "\nStatic deflection  Yf=%7.4f[m]"},
                         {"日本語", "English"}};

TEST(Catalog, LooksUpTranslationsAndKeepsTheRestInJapanese) {
    for (bool bigEndian : {false, true}) {
        fv::Catalog catalog;
        std::string error;
        ASSERT_TRUE(fv::parseCatalog(moFile(english, bigEndian), &catalog, &error)) << error;
        EXPECT_STREQ(fv::translate(&catalog, "日本語"), "English");
        EXPECT_STREQ(fv::translate(&catalog, "\n静撓み  Yf=%7.4f[m]"),
                     "\nStatic deflection  Yf=%7.4f[m]");
        EXPECT_STREQ(fv::translate(&catalog, "未訳"), "未訳");
        EXPECT_STREQ(fv::translate(&catalog, ""), ""); // the header is no text
        EXPECT_EQ(catalog.texts.size(), 2u);
    }
    EXPECT_STREQ(fv::translate(nullptr, "日本語"), "日本語");
}

TEST(Catalog, TranslationWithOtherConversionsIsLeftOut) {
    const Entries entries = {{"a %7.4f b %6.2f", "x %s y %6.2f"}, // %s would read a double
                             {"c %6.3f", "z %6.3f %d"},           // one argument more
                             {"d %d%%", "w %d %%"},               // the same, %% takes none
                             {"e %*d", "v %d"},                   // the width is an argument
                             {"f %ld", "u %d"}};                  // another size
    fv::Catalog catalog;
    std::string error;
    ASSERT_TRUE(fv::parseCatalog(moFile(entries), &catalog, &error));
    EXPECT_STREQ(fv::translate(&catalog, "a %7.4f b %6.2f"), "a %7.4f b %6.2f");
    EXPECT_STREQ(fv::translate(&catalog, "c %6.3f"), "c %6.3f");
    EXPECT_STREQ(fv::translate(&catalog, "d %d%%"), "w %d %%");
    EXPECT_STREQ(fv::translate(&catalog, "e %*d"), "e %*d");
    EXPECT_STREQ(fv::translate(&catalog, "f %ld"), "f %ld");
    EXPECT_TRUE(fv::sameConversions("%7.4f[m] %6.2f", "%6.2f x %8.1f"));
}

TEST(Catalog, DamagedFilesAreRefusedWhole) {
    const std::string good = moFile(english);
    std::vector<std::string> damaged = {"", "not a catalog", good.substr(0, 19),
                                        good.substr(0, good.size() - 10)};
    std::string badMagic = good;
    badMagic[0] = 'X';
    damaged.push_back(badMagic);
    std::string hugeCount = good;
    hugeCount[8] = hugeCount[9] = hugeCount[10] = hugeCount[11] = '\xff';
    damaged.push_back(hugeCount);
    std::string farOffset = good;
    farOffset[28 + 8 + 7] = '\x7f'; // the second msgid's offset, far past the end
    damaged.push_back(farOffset);
    std::string newRevision = good;
    newRevision[6] = '\x01';
    damaged.push_back(newRevision);
    for (std::size_t k = 0; k < damaged.size(); ++k) {
        fv::Catalog catalog;
        catalog.texts["kept"] = "as it was";
        std::string error;
        EXPECT_FALSE(fv::parseCatalog(damaged[k], &catalog, &error)) << k;
        EXPECT_FALSE(error.empty()) << k;
        EXPECT_EQ(catalog.texts.size(), 1u) << k; // nothing half-read
    }
}

} // namespace
