// The languages the program speaks: Japanese, the language its texts are written in,
// and one more for every compiled catalog (CODE.mo) in the catalog folder.
#pragma once

#include <string>
#include <vector>

#include "text/catalog.h"

namespace fv {

constexpr const char* sourceLanguage = "ja"; // the texts' own language, and the default
// The name of a language in itself, as the page's menu shows it: the one text that every
// catalog translates into its own language's name.
constexpr const char* languageNameText = N_("日本語");
// The environment variable that names another catalog folder (for new catalogs).
constexpr const char* catalogFolderVariable = "FRICTIONVIB_LOCALEDIR";

struct Language {
    std::string code; // the catalog's file name without .mo: "en", "pt_BR"
    std::string name; // the language's name in itself
    Catalog catalog;
};

struct Languages {
    std::vector<Language> list;          // Japanese first, then by code
    std::vector<std::string> unreadable; // catalogs left out, each "FILE: why"
};

// Japanese and every readable CODE.mo in folder (a missing folder gives Japanese alone).
Languages loadLanguages(const std::string& folder);

// The language of code, or nullptr when there is none.
const Language* findLanguage(const Languages& languages, const std::string& code);

// The codes, separated by spaces: "ja en".
std::string languageCodes(const Languages& languages);

// Whether code can name a catalog file: letters, digits, '_', '-' and '@', not empty.
bool isLanguageCode(const std::string& code);

} // namespace fv
