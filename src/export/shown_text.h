// Text as a one-line message shows it: a path or a value the user gave may hold any
// byte, and a message must stay one line of text on a terminal.
#pragma once

#include <string>

namespace fv {

// text with every byte that is not printable written as an escape: "\n", "\t", "\r",
// "\\" for the backslash itself, and "\xHH" for any other control byte, DEL, a C1
// control, any byte that is not part of a whole UTF-8 character, and each byte of a
// Unicode format character or separator (U+200B, U+202E, U+2028, U+FEFF, ...).
// Printable UTF-8 (Japanese file names, say) stays as it is.
std::string shownText(const std::string& text);

// The length in bytes of the whole UTF-8 character that starts at text[at], or 1 when
// no whole character starts there.
std::size_t characterLength(const std::string& text, std::size_t at);

} // namespace fv
