// Console text: output conversion to the console's encoding.
#include "console/console.h"

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>

namespace fv {

namespace {

constexpr std::size_t formatBufferSize = 4096; // longest formatted text, with inf/nan
constexpr std::size_t convertBufferSize = 8192;
constexpr std::size_t codesetNameSize = 64;

// Codeset name reduced to upper case letters and digits: "Shift_JIS" -> "SHIFTJIS".
void normaliseCodeset(const char* name, char* out, std::size_t outSize) {
    std::size_t n = 0;
    for (const char* p = name; *p != '\0' && n + 1 < outSize; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (std::isalnum(c)) {
            out[n++] = static_cast<char>(std::toupper(c));
        }
    }
    out[n] = '\0';
}

// Length of the UTF-8 sequence that starts with byte c (1 for a stray byte).
std::size_t utf8Length(unsigned char c) {
    if (c >= 0xF0) {
        return 4;
    }
    if (c >= 0xE0) {
        return 3;
    }
    if (c >= 0xC0) {
        return 2;
    }
    return 1;
}

void writeBytes(const Console& console, const char* text, std::size_t length) {
    std::fwrite(text, 1, length, console.out);
}

} // namespace

bool isJapaneseLegacyCodeset(const char* codeset) {
    static const char* const names[] = {"SHIFTJIS", "SJIS",   "CP932",         "WINDOWS31J",
                                        "MSKANJI",  "EUCJP",  "SHIFTJISX0213", "EUCJISX0213",
                                        "EUCJPMS",  "IBM943", "IBM932"};
    char normal[codesetNameSize];
    normaliseCodeset(codeset, normal, sizeof normal);
    for (const char* name : names) {
        if (std::strcmp(normal, name) == 0) {
            return true;
        }
    }
    return false;
}

long convertText(const char* utf8, const char* codeset, char* out, std::size_t outSize) {
    if (outSize == 0) {
        return -1;
    }
    iconv_t cd = iconv_open(codeset, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out[0] = '\0';
        return -1;
    }
    char* in = const_cast<char*>(utf8);
    std::size_t inLeft = std::strlen(utf8);
    char* dst = out;
    std::size_t dstLeft = outSize - 1;
    while (inLeft > 0 && dstLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1)) {
            break;
        }
        if (errno != EILSEQ && errno != EINVAL) {
            break; // out of room: the text is cut where it stands
        }
        // A character the codeset lacks: show '?' and go on after it.
        std::size_t skip = utf8Length(static_cast<unsigned char>(*in));
        skip = skip < inLeft ? skip : inLeft;
        in += skip;
        inLeft -= skip;
        *dst++ = '?';
        --dstLeft;
    }
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    iconv_close(cd);
    *dst = '\0';
    return static_cast<long>(dst - out);
}

void consoleInit(ConsoleState* console) {
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    if (codeset != nullptr && isJapaneseLegacyCodeset(codeset) &&
        std::strlen(codeset) < sizeof console->codeset) {
        std::strcpy(console->codeset, codeset);
    } else {
        console->codeset[0] = '\0';
    }
}

void consolePrintf(const Console& console, const char* format, ...) {
    char text[formatBufferSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (console.state->codeset[0] != '\0') {
        char converted[convertBufferSize];
        const long n = convertText(text, console.state->codeset, converted, sizeof converted);
        if (n >= 0) {
            writeBytes(console, converted, static_cast<std::size_t>(n));
            return;
        }
    }
    writeBytes(console, text, std::strlen(text));
}

void flushConsole(const Console& console) {
    errno = 0;
    if (std::fflush(console.out) != 0 && console.state->outputError == 0) {
        console.state->outputError = errno != 0 ? errno : EIO;
    }
}

} // namespace fv
