// A translator's catalog: the texts of one language, read from a GNU gettext .mo file
// (what msgfmt compiles from a PO file), and the lookup of a text by its Japanese msgid.
#pragma once

#include <string>
#include <unordered_map>

// Marks a text for xgettext where it is defined; it is looked up where it is shown.
#define N_(text) text

namespace fv {

struct Catalog {
    // msgid -> msgstr, the translated entries only (an untranslated text keeps its msgid).
    std::unordered_map<std::string, std::string> texts;
};

// Reads the .mo file's bytes into *catalog. False, with *error saying why, when the
// bytes are not a .mo file or point outside themselves. A translation whose printf
// conversions differ from its msgid's is left out, so that it can never be handed
// arguments of other types.
bool parseCatalog(const std::string& bytes, Catalog* catalog, std::string* error);

// The text of msgid in catalog; msgid itself without a catalog (Japanese, the source
// language) or without a translation. The result lives as long as catalog.
const char* translate(const Catalog* catalog, const char* msgid);

// Whether two printf formats take the same arguments (the same conversions in order).
bool sameConversions(const std::string& a, const std::string& b);

} // namespace fv
