// The reader's language: the catalog folder and the choice of --lang.
#include "app/language.h"

#include <cstdlib>

#include "app/window_loader.h"
#include "export/shown_text.h"

namespace fv {

namespace {

constexpr const char* catalogSubfolder = "locale"; // beside the program, as the build makes it

} // namespace

std::string catalogFolder() {
    const char* folder = std::getenv(catalogFolderVariable);
    if (folder != nullptr && folder[0] != '\0') {
        return folder;
    }
    return programFolder() + catalogSubfolder;
}

bool chooseLanguage(const Languages& languages, const std::string& code, ConsoleState* console,
                    std::FILE* err) {
    const Language* language = findLanguage(languages, code);
    if (language == nullptr) {
        std::fprintf(err,
                     "frictionvib: --lang: '%s' is not a language here (there are: %s); try "
                     "'frictionvib --help'\n",
                     shownText(code).c_str(), languageCodes(languages).c_str());
        for (const std::string& unreadable : languages.unreadable) {
            std::fprintf(err, "frictionvib: catalog left out: %s\n", shownText(unreadable).c_str());
        }
        return false;
    }
    console->catalog = language->code == sourceLanguage && language->catalog.texts.empty()
                           ? nullptr
                           : &language->catalog;
    return true;
}

} // namespace fv
