// The Lua host: owns the program's single Lua 5.1 state and is the only road
// from the program into the scripts.
//
// What it keeps true:
//   - Nothing it does raises a Lua error outside a protected call. Every
//     push, look-up and load runs inside lua_cpcall, so a script error, a
//     failing metamethod or an exhausted pool reaches the caller as false.
//   - Every operation leaves the Lua stack exactly as it found it.
//   - The state's memory comes from the script pool and nowhere else.
//   - Only script text is loaded, never a precompiled chunk (LuaTextLoader).
//   - Script errors are never shown or logged; the text of the last one is
//     kept for the scripts to read back (C_GetLuaError).
// The state is used by one thread at a time (the boot loader, then the game
// thread). While it runs the state (every call, load and the close) the
// host holds scriptStateLock(), so that objects freed on another thread
// edit the state only through the edits it defers (script_object_hook.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <lua.hpp>

#include "engine/core/core.h"
#include "engine/script/lua_param.h"

namespace qel {

class SysLua : public Core {
public:
    static constexpr std::size_t kLastErrorSize = 4096;

    // The game's host. Tests and tools may make their own hosts; each owns
    // its own state, all share the script pool.
    static SysLua& instance();

    SysLua() = default;
    ~SysLua() override;
    SysLua(const SysLua&) = delete;
    SysLua& operator=(const SysLua&) = delete;

    QEL_CLASS(SysLua, Core, Pool::Script);

    // Creates the state with the standard libraries, a silent print, loaders
    // that take text only and the traceback message handler. False (and no state) when the pool
    // cannot hold it. A second call keeps the existing state.
    bool init();
    // Closes the state (its collectors run; nothing runs scripts
    // meanwhile) and forgets the last error; the next init starts a fresh
    // one. The game closes it while the objects its collectors reach are
    // still alive.
    void close();

    // Calls the global function `name` with `args` (may be null) asking for
    // `resultCount` results, read into `results` (may be null; cleared
    // first). True when the global is a function and ran without error. A
    // global that is missing or not a function is not called: false, no
    // error kept. May be called from inside a binding that a script called.
    bool call(const char* name, int resultCount, const LuaParam* args, LuaParam* results);

    // Loads a chunk and runs it with no arguments and no results. The path
    // is found as the file layer finds every game file ('\\' separators,
    // case ignored when the name does not exist as written); a first line
    // starting with '#' is skipped, as Lua's own file loader does.
    bool runFile(const char* path);
    // `length` 0 means the text's string length; `chunkName` is the name Lua
    // reports the chunk under.
    bool runBuffer(const char* text, std::int32_t length, const char* chunkName);

    // Runs fn(L) with `userData` as its only argument (a light user data at
    // index 1) inside a protected call; for work such as registering
    // bindings that raises Lua errors on failure. Values fn leaves are
    // dropped; on error the text is kept and the answer is false.
    bool runProtected(lua_CFunction fn, void* userData);

    lua_State* state() const { return state_; }
    // The last script error (load, run or call), with its traceback when the
    // debug library provided one; null before the first error.
    const char* lastError() const { return hasLastError_ ? lastError_ : nullptr; }

    // Lua's allocation function over the script pool. A shrinking reallocation never
    // fails (Lua 5.1 relies on that).
    static void* allocate(void* userData, void* block, std::size_t oldSize, std::size_t newSize);
    // Replacement for the global print: converts each argument with the
    // global tostring (so __tostring still runs) and writes nothing.
    static int silentPrint(lua_State* L);
    // math.random and math.randomseed: Lua 5.1's formulas over the calling
    // thread's runtime-compatible generator (crtRand), which the scrambler
    // reseeds from the clock after every file it scrambles.
    static int mathRandom(lua_State* L);
    static int mathRandomSeed(lua_State* L);

private:
    struct CallContext;
    struct RunContext;
    static int openBody(lua_State* L);
    static int callBody(lua_State* L);
    static int runBody(lua_State* L);
    static int panic(lua_State* L);

    // Runs `body` under lua_cpcall and restores the stack; keeps the error
    // text when the protected call itself failed.
    bool protect(lua_CFunction body, void* context);
    // Pushes the message handler and returns its index, or 0 without one.
    int pushHandler(lua_State* L) const;
    void keepError(lua_State* L, int index);
    void keepText(const char* text, std::size_t length);

    lua_State* state_ = nullptr;
    // The native function behind debug.traceback at init; null without the
    // debug library. It is kept in the registry so a call pushes it without
    // allocating.
    lua_CFunction traceback_ = nullptr;
    int tracebackRef_ = LUA_NOREF;
    bool hasLastError_ = false;
    char lastError_[kLastErrorSize] = {};
};

}  // namespace qel
