// Loading of the catalog folder: every CODE.mo in it is a language, read whole.
#include "text/languages.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <dirent.h>

namespace fv {

namespace {

constexpr const char* catalogSuffix = ".mo";
constexpr std::size_t catalogSuffixLength = 3;
constexpr std::size_t maxCatalogBytes = 16u << 20; // far above any catalog of this program
constexpr std::size_t readBlockBytes = 4096;

// The whole file, in C stdio: the page's build would otherwise carry iostreams.
bool readFile(const std::string& path, std::string* bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char block[readBlockBytes];
    std::size_t n = 0;
    bytes->clear();
    while ((n = std::fread(block, 1, sizeof block, file)) > 0 && bytes->size() <= maxCatalogBytes) {
        bytes->append(block, n);
    }
    const bool whole = std::ferror(file) == 0 && bytes->size() <= maxCatalogBytes;
    std::fclose(file);
    return whole;
}

// The codes of the folder's catalogs, sorted.
std::vector<std::string> catalogCodes(const std::string& folder) {
    std::vector<std::string> codes;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return codes;
    }
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > catalogSuffixLength &&
            name.compare(name.size() - catalogSuffixLength, catalogSuffixLength, catalogSuffix) ==
                0) {
            const std::string code = name.substr(0, name.size() - catalogSuffixLength);
            if (isLanguageCode(code)) {
                codes.push_back(code);
            }
        }
    }
    closedir(dir);
    std::sort(codes.begin(), codes.end());
    return codes;
}

} // namespace

bool isLanguageCode(const std::string& code) {
    return !code.empty() && std::all_of(code.begin(), code.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '@';
    });
}

Languages loadLanguages(const std::string& folder) {
    Languages languages;
    languages.list.push_back({sourceLanguage, languageNameText, {}});
    for (const std::string& code : catalogCodes(folder)) {
        const std::string path = folder + "/" + code + catalogSuffix;
        std::string bytes;
        std::string error = "cannot be read";
        Catalog catalog;
        if (!readFile(path, &bytes) || !parseCatalog(bytes, &catalog, &error)) {
            languages.unreadable.push_back(path + ": " + error);
            continue;
        }
        if (code == sourceLanguage) {
            languages.list.front().catalog = std::move(catalog);
            continue;
        }
        const std::string name = translate(&catalog, languageNameText);
        languages.list.push_back(
            {code, name == languageNameText ? code : name, std::move(catalog)});
    }
    return languages;
}

const Language* findLanguage(const Languages& languages, const std::string& code) {
    for (const Language& language : languages.list) {
        if (language.code == code) {
            return &language;
        }
    }
    return nullptr;
}

std::string languageCodes(const Languages& languages) {
    std::string codes;
    for (const Language& language : languages.list) {
        codes += (codes.empty() ? "" : " ") + language.code;
    }
    return codes;
}

} // namespace fv
