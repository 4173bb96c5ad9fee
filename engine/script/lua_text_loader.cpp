#include "engine/script/lua_text_loader.h"

#include <string>
#include <vector>

#include "engine/file/file.h"

namespace qel {

int LuaTextLoader::load(lua_State* L, const char* text, std::size_t length, const char* chunkName) {
    if (length > 0 && text[0] == LUA_SIGNATURE[0]) {
        const char* name = chunkName ? chunkName : "?";
        if (*name == '=' || *name == '@') ++name;
        lua_pushfstring(L, "%s: precompiled chunk refused (only script text loads)", name);  // +1
        return LUA_ERRSYNTAX;
    }
    return luaL_loadbuffer(L, text, length, chunkName);  // +1 chunk or message
}

namespace {

// As the base library: a failed load answers nil and the message.
int loadResult(lua_State* L, int status) {
    if (status == 0) return 1;
    lua_pushnil(L);     // +1
    lua_insert(L, -2);  // nil under the message
    return 2;
}

}  // namespace

int LuaTextLoader::loadString(lua_State* L) {
    std::size_t length = 0;
    const char* text = luaL_checklstring(L, 1, &length);
    const char* name = luaL_optstring(L, 2, text);
    return loadResult(L, load(L, text, length, name));
}

// load(f [, name]): the pieces f returns are gathered first, so the whole
// chunk is judged before Lua sees any of it.
int LuaTextLoader::loadPieces(lua_State* L) {
    luaL_checktype(L, 1, LUA_TFUNCTION);
    const char* name = luaL_optstring(L, 2, "=(load)");
    lua_settop(L, 2);
    luaL_Buffer buffer;
    luaL_buffinit(L, &buffer);
    for (;;) {
        lua_pushvalue(L, 1);  // +1 f
        lua_call(L, 0, 1);    // -1 +1 piece
        if (lua_isnil(L, -1)) {
            lua_pop(L, 1);  // -1
            break;
        }
        if (!lua_isstring(L, -1)) return luaL_error(L, "reader function must return a string");
        if (lua_objlen(L, -1) == 0) {
            lua_pop(L, 1);  // -1
            break;
        }
        luaL_addvalue(&buffer);  // -1 into the buffer
    }
    luaL_pushresult(&buffer);  // +1 the whole chunk
    std::size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    return loadResult(L, load(L, text, length, name));
}

int LuaTextLoader::pushFileChunk(lua_State* L, const char* path) {
    std::vector<unsigned char> text;
    if (!File::readWhole(path, text)) {
        lua_pushnil(L);                              // +1
        lua_pushfstring(L, "cannot open %s", path);  // +1
        return kMissing;
    }
    // A '#' first line is dropped, its newline kept, as Lua's own loader does.
    std::size_t start = 0;
    if (!text.empty() && text[0] == '#') {
        while (start < text.size() && text[start] != '\n') ++start;
    }
    const std::string chunkName = std::string("@") + path;
    const int status = load(L, reinterpret_cast<const char*>(text.data()) + start,
                            text.size() - start, chunkName.c_str());  // +1
    if (status == 0) return 0;
    lua_pushnil(L);     // +1
    lua_insert(L, -2);  // nil under the message
    return kRefused;
}

int LuaTextLoader::loadFile(lua_State* L) {
    const char* path = luaL_checkstring(L, 1);
    return pushFileChunk(L, path) == 0 ? 1 : 2;
}

int LuaTextLoader::doFile(lua_State* L) {
    const char* path = luaL_checkstring(L, 1);
    lua_settop(L, 1);
    if (pushFileChunk(L, path) != 0) return lua_error(L);  // the message on top
    lua_call(L, 0, LUA_MULTRET);
    return lua_gettop(L) - 1;
}

// require's searcher for Lua files, in the place of the standard one: the
// templates of package.path with '?' replaced by the module name, its dots
// made separators.
int LuaTextLoader::searchPath(lua_State* L) {
    const char* name = luaL_gsub(L, luaL_checkstring(L, 1), ".", "/");  // +1
    lua_getglobal(L, "package");                                        // +1
    lua_getfield(L, -1, "path");                                        // +1
    const char* path = lua_tostring(L, -1);
    if (!path) return luaL_error(L, "'package.path' must be a string");
    std::string tried;
    for (const char* at = path; *at;) {
        const char* end = at;
        while (*end && *end != ';') ++end;
        if (end > at) {
            lua_pushlstring(L, at, static_cast<std::size_t>(end - at));       // +1 template
            const char* file = luaL_gsub(L, lua_tostring(L, -1), "?", name);  // +1
            const int status = pushFileChunk(L, file);  // +1 chunk or +2 nil, message
            if (status == 0) return 1;
            if (status == kRefused) {
                return luaL_error(L, "error loading module '%s' from file '%s':\n\t%s",
                                  lua_tostring(L, 1), file, lua_tostring(L, -1));
            }
            tried += "\n\tno file '" + std::string(file) + "'";
            lua_pop(L, 4);  // -4 template, file, nil, message
        }
        at = *end ? end + 1 : end;
    }
    lua_pushlstring(L, tried.data(), tried.size());  // +1
    return 1;
}

void LuaTextLoader::install(lua_State* L) {
    static const luaL_Reg kLoaders[] = {{"load", &LuaTextLoader::loadPieces},
                                        {"loadstring", &LuaTextLoader::loadString},
                                        {"loadfile", &LuaTextLoader::loadFile},
                                        {"dofile", &LuaTextLoader::doFile},
                                        {nullptr, nullptr}};
    for (const luaL_Reg* r = kLoaders; r->name; ++r) lua_register(L, r->name, r->func);
    lua_getglobal(L, "package");  // +1
    if (lua_istable(L, -1)) {
        lua_getfield(L, -1, "loaders");  // +1
        if (lua_istable(L, -1)) {
            lua_pushcfunction(L, &LuaTextLoader::searchPath);  // +1
            lua_rawseti(L, -2, 2);                             // -1 the Lua file searcher
        }
        lua_pop(L, 1);  // -1 loaders
    }
    lua_pop(L, 1);  // -1 package
}

}  // namespace qel
