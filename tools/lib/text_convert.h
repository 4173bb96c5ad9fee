// The content's texts on their way into the game: sources are UTF-8, the
// game reads Shift-JIS (code page 932). The conversion is strict, so a
// character the game could not show stops the build naming its line, and
// Lua sources are checked for the one trap the encoding sets for them: a
// two-byte character whose second byte is 0x5C ('\\') inside a short
// string, where Lua would read it as an escape.
#pragma once

#include <string>
#include <string_view>

namespace qel::tools {

// False with "line N: ..." for bytes that are not UTF-8 or a character
// without a Shift-JIS form; `out` then holds what converted before it.
bool utf8ToCp932(std::string_view utf8, std::string& out, std::string& error);

// False with "line N: ..." when a '...' or "..." string of the Shift-JIS
// Lua text holds a two-byte character ending in 0x5C (write such texts in
// [[...]] strings). Comments and long strings are skipped.
bool checkLuaShortStrings(std::string_view sjis, std::string& error);

}  // namespace qel::tools
