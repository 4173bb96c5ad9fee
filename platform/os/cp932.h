// Conversion between the program's Shift-JIS (code page 932) text and the
// UTF-8 the operating system speaks. Used only where text leaves or enters
// the process (window titles, message boxes, the log on the error stream).
#pragma once

#include <string>
#include <string_view>

namespace qel {

class Cp932 {
public:
    // Bytes that do not convert become '?', so a bad byte never loses the
    // rest of the text.
    static std::string toUtf8(std::string_view sjis);
    static std::string fromUtf8(std::string_view utf8);
    // False, `out` left empty, when a character has no Shift-JIS form or
    // the text is not UTF-8: nothing is mangled.
    static bool fromUtf8Strict(std::string_view utf8, std::string& out);
};

}  // namespace qel
