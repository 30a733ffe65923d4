// Text as a one-line message shows it. A UTF-8 character counts as whole when its lead
// byte, its continuation bytes and its value agree (no overlong form, no surrogate, at
// most U+10FFFF). Which characters are format characters or separators (the general
// categories Cf, Zl and Zp: U+200B, U+2028, U+202E, U+FEFF, ...) is ICU's to say, so
// that the list follows the Unicode version of the system's ICU.
#include "export/shown_text.h"

#include <cstdio>
#include <unicode/uchar.h>

namespace fv {

namespace {

constexpr unsigned firstPrintableUnicode = 0xa0; // after the C1 controls
constexpr unsigned lastUnicode = 0x10ffff;
constexpr unsigned surrogateFirst = 0xd800;
constexpr unsigned surrogateLast = 0xdfff;
constexpr unsigned char asciiDelete = 0x7f;

// The code point of the whole character of length n at text[at].
unsigned codePoint(const std::string& text, std::size_t at, std::size_t n) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned leadBits[] = {0, 0x7f, 0x1f, 0x0f, 0x07};
    unsigned value = b(0) & leadBits[n];
    for (std::size_t k = 1; k < n; ++k) {
        value = (value << 6) | (b(k) & 0x3fu);
    }
    return value;
}

// Whether the character is shown as it is: not a format character, which would
// reorder or hide what follows it, nor a line or paragraph separator, which would break
// the line.
bool showsAsItIs(unsigned value) {
    const auto category = static_cast<UCharCategory>(u_charType(static_cast<UChar32>(value)));
    return value >= firstPrintableUnicode && category != U_FORMAT_CHAR &&
           category != U_LINE_SEPARATOR && category != U_PARAGRAPH_SEPARATOR;
}

std::string escaped(unsigned char byte) {
    switch (byte) {
    case '\n':
        return "\\n";
    case '\t':
        return "\\t";
    case '\r':
        return "\\r";
    default:
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02x", byte);
        return hex;
    }
}

} // namespace

std::size_t characterLength(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t n = lead < 0x80    ? 1
                          : lead >= 0xf0 ? 4
                          : lead >= 0xe0 ? 3
                          : lead >= 0xc0 ? 2
                                         : 0;
    if (n <= 1 || lead > 0xf4 || at + n > text.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((static_cast<unsigned char>(text[at + k]) & 0xc0) != 0x80) {
            return 1;
        }
    }
    const unsigned value = codePoint(text, at, n);
    const unsigned shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < shortest[n] || value > lastUnicode ||
        (value >= surrogateFirst && value <= surrogateLast)) {
        return 1;
    }
    return n;
}

std::string shownText(const std::string& text) {
    std::string shown;
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t n = characterLength(text, at);
        if (byte == '\\') {
            shown += "\\\\";
        } else if (n == 1 && byte >= ' ' && byte < asciiDelete) {
            shown += text[at];
        } else if (n > 1 && showsAsItIs(codePoint(text, at, n))) {
            shown.append(text, at, n);
        } else {
            for (std::size_t k = 0; k < n; ++k) {
                shown += escaped(static_cast<unsigned char>(text[at + k]));
            }
        }
        at += n;
    }
    return shown;
}

} // namespace fv
