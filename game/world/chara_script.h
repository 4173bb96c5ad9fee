// How the chain's links hand characters and values to the scripts and read
// their answers, in one place: a character goes under its own class name
// (nil for none), a missing text as nil, and a number answer is truncated
// and wrapped to 32 bits as the bindings convert numbers (NaN and infinities
// give 0). A missing function or a script error gives the empty answer;
// the host keeps the error's text for the scripts to read back.
#pragma once

#include <cstdint>

#include "engine/script/lua_param.h"
#include "game/world/script_callbacks.h"

class ObjectChara;

namespace chara_script {

void addChara(qel::LuaParam& args, ObjectChara* chara);
void addText(qel::LuaParam& args, const char* text);
std::int32_t toInt32(double value);

// A hook: called only when the global is a function, nothing read back.
void hook(const char* name, const qel::LuaParam& args);
bool askBoolean(const char* name, const qel::LuaParam& args);
std::int32_t askNumber(const char* name, const qel::LuaParam& args);

inline void hook(const ScriptCallback& callback, const qel::LuaParam& args) {
    hook(callback.name, args);
}
inline bool askBoolean(const ScriptCallback& callback, const qel::LuaParam& args) {
    return askBoolean(callback.name, args);
}
inline std::int32_t askNumber(const ScriptCallback& callback, const qel::LuaParam& args) {
    return askNumber(callback.name, args);
}

}  // namespace chara_script
