// Reading of GNU gettext .mo files: the header of five 32-bit words (magic, revision,
// count, offsets of the msgid and msgstr tables), each table count pairs of length and
// offset. Every length and offset is checked against the file's size.
#include "text/catalog.h"

#include <cstdint>
#include <cstring>

namespace fv {

namespace {

constexpr std::uint32_t moMagic = 0x950412de;        // as written on the compiling machine
constexpr std::uint32_t moMagicSwapped = 0xde120495; // written on one of the other byte order
constexpr std::size_t moHeaderBytes = 20;            // magic, revision, count, two offsets
constexpr std::uint32_t moMajorRevision = 0;         // the only major revision there is
constexpr char contextSeparator = '\x04';            // msgctxt EOT msgid: not used here

struct MoReader {
    const std::string& bytes;
    bool swapped;

    bool word(std::size_t at, std::uint32_t* value) const {
        if (at > bytes.size() || bytes.size() - at < 4) {
            return false;
        }
        std::uint32_t v = 0;
        std::memcpy(&v, bytes.data() + at, 4);
        *value = swapped ? __builtin_bswap32(v) : v;
        return true;
    }

    // String k of the table at tableAt; its first form when it holds plural forms.
    bool string(std::uint32_t tableAt, std::uint32_t k, std::string* text) const {
        std::uint32_t length = 0;
        std::uint32_t offset = 0;
        const std::size_t entry = std::size_t{tableAt} + std::size_t{k} * 8;
        if (!word(entry, &length) || !word(entry + 4, &offset) || offset > bytes.size() ||
            bytes.size() - offset < std::size_t{length}) {
            return false;
        }
        text->assign(bytes.data() + offset, length);
        text->resize(std::strlen(text->c_str()));
        return true;
    }
};

// The conversion letters of a printf format in order ('*' for a width or precision
// taken from the arguments); "%%" takes none.
std::string conversions(const std::string& format) {
    std::string letters;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            continue;
        }
        ++i;
        while (i < format.size() && std::strchr("-+ #0123456789.*hlLqjzt'", format[i])) {
            if (format[i] == '*') {
                letters += '*';
            } else if (std::strchr("hlLqjzt", format[i])) {
                letters += format[i]; // a length changes the argument's type
            }
            ++i;
        }
        if (i < format.size() && format[i] != '%') {
            letters += format[i];
            letters += ' ';
        }
    }
    return letters;
}

} // namespace

bool sameConversions(const std::string& a, const std::string& b) {
    return conversions(a) == conversions(b);
}

bool parseCatalog(const std::string& bytes, Catalog* catalog, std::string* error) {
    std::uint32_t magic = 0;
    MoReader reader{bytes, false};
    if (bytes.size() < moHeaderBytes || !reader.word(0, &magic) ||
        (magic != moMagic && magic != moMagicSwapped)) {
        *error = "not a compiled catalog (.mo)";
        return false;
    }
    reader.swapped = magic == moMagicSwapped;
    std::uint32_t revision = 0;
    std::uint32_t count = 0;
    std::uint32_t idsAt = 0;
    std::uint32_t textsAt = 0;
    reader.word(4, &revision);
    reader.word(8, &count);
    reader.word(12, &idsAt);
    reader.word(16, &textsAt);
    if ((revision >> 16) != moMajorRevision) {
        *error = "unknown .mo revision";
        return false;
    }
    Catalog read;
    for (std::uint32_t k = 0; k < count; ++k) {
        std::string id;
        std::string text;
        if (!reader.string(idsAt, k, &id) || !reader.string(textsAt, k, &text)) {
            *error = "truncated or damaged .mo file";
            return false;
        }
        if (!id.empty() && id.find(contextSeparator) == std::string::npos && !text.empty() &&
            sameConversions(id, text)) {
            read.texts.emplace(std::move(id), std::move(text));
        }
    }
    *catalog = std::move(read);
    return true;
}

const char* translate(const Catalog* catalog, const char* msgid) {
    if (catalog == nullptr) {
        return msgid;
    }
    const auto found = catalog->texts.find(msgid);
    return found == catalog->texts.end() ? msgid : found->second.c_str();
}

} // namespace fv
