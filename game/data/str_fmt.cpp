#include "game/data/str_fmt.h"

#include "engine/script/lua_param.h"
#include "engine/script/sys_lua.h"

std::string StrFmt(qel::SysLua& lua, const std::string& text) {
    qel::LuaParam args;
    qel::LuaParam results;
    if (!args.addString(text.c_str()) || !lua.call("StrFmt", 1, &args, &results)) return {};
    const char* formatted = results.item(0).string();
    return formatted ? formatted : "";
}

std::string StrFmt(const std::string& text) {
    return StrFmt(qel::SysLua::instance(), text);
}
