// Loads Lua chunks from script text only.
//
// What it keeps true: no precompiled chunk ever reaches Lua 5.1's undump,
// which trusts its input and corrupts memory on a crafted one. The host's
// own loads and the scripts' loaders (load, loadstring, loadfile, dofile,
// require)
// all pass through load(), which refuses any chunk starting with the
// bytecode signature's first byte (the byte Lua itself tests).
#pragma once

#include <cstddef>
#include <lua.hpp>

namespace qel {

class LuaTextLoader {
public:
    // As luaL_loadbuffer: 0 and the function pushed, or an error code and
    // the message pushed. A precompiled chunk gives LUA_ERRSYNTAX and
    // "<name>: precompiled chunk refused".
    static int load(lua_State* L, const char* text, std::size_t length, const char* chunkName);

    // Replaces the base library's load, loadstring, loadfile and dofile,
    // and require's searcher for Lua files, with versions that load through
    // load(). Files are found as the file layer finds every game file.
    // Raises Lua errors on memory failure.
    static void install(lua_State* L);

private:
    static int loadString(lua_State* L);
    static int loadPieces(lua_State* L);
    static int loadFile(lua_State* L);
    static int doFile(lua_State* L);
    static int searchPath(lua_State* L);
    static constexpr int kMissing = 1;
    static constexpr int kRefused = 2;
    // Pushes the file's chunk (0), or nil and the reason: kMissing when
    // the file cannot be read, kRefused when it does not load.
    static int pushFileChunk(lua_State* L, const char* path);
};

}  // namespace qel
