// The text formatter of the skill level texts: the script function StrFmt,
// so that a language's script can change how those texts read.
#pragma once

#include <string>

namespace qel {
class SysLua;
}

// The first result of the script global StrFmt called with `text`; the
// empty text when StrFmt is missing, fails or gives no string.
std::string StrFmt(qel::SysLua& lua, const std::string& text);
// The same in the game's Lua host.
std::string StrFmt(const std::string& text);
