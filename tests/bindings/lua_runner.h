// Runs Lua snippets for the binding tests and shows what they returned:
// "a, b, ..." of the results, or "error: <text>" without the
// "snippet:<line>: " position Lua puts before errors raised on behalf of
// the snippet (any other position stays visible). Numbers are shown with
// 17 significant digits, so floats compare bit for bit.
#pragma once

#include <cstring>
#include <lua.hpp>
#include <string>

namespace lua_runner {

inline constexpr const char* kRunner = R"lua(
function show(v)
    local t = type(v)
    if t == "number" then return string.format("%.17g", v) end
    if t == "userdata" then return tolua.type(v) end
    return tostring(v)
end
local function shown(ok, ...)
    if not ok then return "error: " .. (string.gsub(tostring(...), "^snippet:%d+: ", "")) end
    local out = {}
    for i = 1, select("#", ...) do out[i] = show((select(i, ...))) end
    return table.concat(out, ", ")
end
function run(chunk)
    return shown(pcall(chunk))
end
)lua";

// One snippet of a table of cases, with the exact text it must show.
struct LuaCase {
    const char* name;
    const char* chunk;
    const char* expected;
};

// Runs `chunk` through the runner (loaded with kRunner first) and returns
// what it shows; the stack is left as it was.
inline std::string run(lua_State* L, const char* chunk) {
    const int top = lua_gettop(L);
    std::string shown;
    lua_getglobal(L, "run");                                               // +1
    if (luaL_loadbuffer(L, chunk, std::strlen(chunk), "=snippet") != 0) {  // +1
        shown = std::string("load error: ") + lua_tostring(L, -1);
    } else if (lua_pcall(L, 1, 1, 0) != 0) {  // -2 +1
        shown = std::string("runner error: ") + lua_tostring(L, -1);
    } else {
        shown = lua_tostring(L, -1);
    }
    lua_settop(L, top);
    return shown;
}

}  // namespace lua_runner
