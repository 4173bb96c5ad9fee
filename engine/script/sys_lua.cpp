#include "engine/script/sys_lua.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "engine/core/object_operation.h"
#include "engine/file/file.h"
#include "engine/file/scramble_bytes.h"
#include "engine/file/string_util.h"
#include "engine/script/lua_stack_guard.h"
#include "engine/script/lua_text_loader.h"
#include "engine/script/script_object_hook.h"

namespace qel {

struct SysLua::CallContext {
    SysLua* host;
    const char* name;
    int resultCount;
    const LuaParam* args;
    LuaParam* results;
    bool succeeded = false;
};

struct SysLua::RunContext {
    SysLua* host;
    const char* text;
    std::size_t length;
    const char* chunkName;
    bool succeeded = false;
};

SysLua& SysLua::instance() {
    static SysLua lua;
    return lua;
}

SysLua::~SysLua() {
    close();
}

void SysLua::close() {
    if (!state_) return;
    {
        ScopedLock running(scriptStateLock());
        // What the collectors delete may try to call scripts: nothing runs.
        lua_State* closing = state_;
        state_ = nullptr;
        lua_close(closing);  // its collectors forget objects: no other thread may edit it meanwhile
    }
    traceback_ = nullptr;
    tracebackRef_ = LUA_NOREF;
    hasLastError_ = false;
    lastError_[0] = '\0';
}

void* SysLua::allocate(void*, void* block, std::size_t oldSize, std::size_t newSize) {
    if (newSize == 0) {
        poolFree(block);
        return nullptr;
    }
    if (!block) return poolAllocate(Pool::Script, newSize);
    void* moved = poolReallocate(block, newSize);
    // The pool shrinks in place; should it ever refuse, the old block is
    // still large enough, and Lua cannot handle a failed shrink.
    if (!moved && newSize <= oldSize) return block;
    return moved;
}

int SysLua::silentPrint(lua_State* L) {
    const int n = lua_gettop(L);
    lua_getglobal(L, "tostring");  // +1 tostring
    for (int i = 1; i <= n; ++i) {
        lua_pushvalue(L, -1);  // +1 tostring
        lua_pushvalue(L, i);   // +1 argument
        lua_call(L, 1, 1);     // -2 +1 its text
        lua_pop(L, 1);         // -1 the text, unseen
    }
    return 0;
}

// Reached only by an error outside every protected call, which the host never
// lets happen. It must not raise again (that would re-enter the panic), so it
// touches nothing; Lua then ends the process with exit code 1.
int SysLua::panic(lua_State*) {
    return 0;
}

int SysLua::pushHandler(lua_State* L) const {
    if (tracebackRef_ == LUA_NOREF || tracebackRef_ == LUA_REFNIL) return 0;
    lua_rawgeti(L, LUA_REGISTRYINDEX, tracebackRef_);  // +1 handler
    return lua_gettop(L);
}

void SysLua::keepError(lua_State* L, int index) {
    char scratch[64];
    const char* text = scratch;
    std::size_t length = 0;
    switch (lua_type(L, index)) {
        case LUA_TSTRING:
            text = lua_tolstring(L, index, &length);  // a string: no conversion
            break;
        case LUA_TNUMBER:
            length = static_cast<std::size_t>(
                std::snprintf(scratch, sizeof scratch, "%.14g", lua_tonumber(L, index)));
            break;
        default:
            length = static_cast<std::size_t>(std::snprintf(
                scratch, sizeof scratch, "(error object is a %s value)", luaL_typename(L, index)));
            break;
    }
    keepText(text, length);
}

void SysLua::keepText(const char* text, std::size_t length) {
    length = sjisPrefixLength(std::string_view(text, length), kLastErrorSize - 1);
    std::memcpy(lastError_, text, length);
    lastError_[length] = '\0';
    hasLastError_ = true;
}

bool SysLua::protect(lua_CFunction body, void* context) {
    // Every run of a script is an operation on objects: what it deletes
    // waits for the outermost one (the caller may go on with it), and goes
    // after the state is released.
    const ObjectOperation operation;
    lua_State* L = state_;
    ScopedLock running(scriptStateLock());
    applyDeferredScriptEdits();  // objects freed elsewhere since the last run
    const LuaStackGuard guard(L);
    const int status = lua_cpcall(L, body, context);  // +1 error object on failure
    if (status != 0) keepError(L, -1);
    applyDeferredScriptEdits();
    return status == 0;
}

int SysLua::openBody(lua_State* L) {
    auto* host = static_cast<SysLua*>(lua_touserdata(L, 1));
    luaL_openlibs(L);           // base, package, table, io, os, string, math, debug
    lua_getglobal(L, "debug");  // +1 debug
    if (lua_istable(L, -1)) {
        lua_getfield(L, -1, "traceback");  // +1 traceback
        if (lua_iscfunction(L, -1)) host->traceback_ = lua_tocfunction(L, -1);
        lua_pop(L, 1);  // -1 traceback
    }
    lua_pop(L, 1);  // -1 debug
    if (host->traceback_) {
        lua_pushcfunction(L, host->traceback_);                // +1 handler
        host->tracebackRef_ = luaL_ref(L, LUA_REGISTRYINDEX);  // -1 into the registry
    }
    lua_register(L, "print", &SysLua::silentPrint);
    // The scripts draw from the calling thread's runtime generator, the one
    // the scrambler reseeds from the clock, so runs differ from each other.
    lua_getglobal(L, "math");  // +1 math
    if (lua_istable(L, -1)) {
        lua_pushcfunction(L, &SysLua::mathRandom);
        lua_setfield(L, -2, "random");
        lua_pushcfunction(L, &SysLua::mathRandomSeed);
        lua_setfield(L, -2, "randomseed");
    }
    lua_pop(L, 1);  // -1 math
    LuaTextLoader::install(L);
    return 0;
}

namespace {

// luaL_checkint with a defined result for every number: truncated toward
// zero and wrapped to 32 bits (NaN and infinities give 0).
int checkInt(lua_State* L, int narg) {
    const double d = luaL_checknumber(L, narg);
    if (!std::isfinite(d)) return 0;
    const double wrapped = std::fmod(std::trunc(d), 4294967296.0);
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::int64_t>(wrapped)));
}

}  // namespace

// Lua 5.1's own formulas over a generator of 15-bit draws (RAND_MAX 32767).
int SysLua::mathRandom(lua_State* L) {
    constexpr int kRandMax = 32767;
    const double r = static_cast<double>(crtRand() % kRandMax) / kRandMax;
    switch (lua_gettop(L)) {
        case 0:
            lua_pushnumber(L, r);
            break;
        case 1: {
            const int u = checkInt(L, 1);
            luaL_argcheck(L, 1 <= u, 1, "interval is empty");
            lua_pushnumber(L, std::floor(r * u) + 1);
            break;
        }
        case 2: {
            const int l = checkInt(L, 1);
            const int u = checkInt(L, 2);
            luaL_argcheck(L, l <= u, 2, "interval is empty");
            lua_pushnumber(L, std::floor(r * (static_cast<double>(u) - l + 1)) + l);
            break;
        }
        default:
            return luaL_error(L, "wrong number of arguments");
    }
    return 1;
}

int SysLua::mathRandomSeed(lua_State* L) {
    crtSeed(static_cast<std::uint32_t>(checkInt(L, 1)));
    return 0;
}

bool SysLua::init() {
    if (state_) return true;
    lua_State* L = lua_newstate(&SysLua::allocate, nullptr);
    if (!L) return false;
    lua_atpanic(L, &SysLua::panic);
    state_ = L;
    if (!protect(&SysLua::openBody, this)) {
        lua_close(L);
        state_ = nullptr;
        traceback_ = nullptr;
        tracebackRef_ = LUA_NOREF;
        return false;
    }
    return true;
}

int SysLua::callBody(lua_State* L) {
    auto* c = static_cast<CallContext*>(lua_touserdata(L, 1));
    const int handler = c->host->pushHandler(L);  // +1 handler, or nothing
    lua_getglobal(L, c->name);                    // +1 the global
    if (!lua_isfunction(L, -1)) return 0;         // a callback the scripts do not define
    const int below = lua_gettop(L) - 1;
    const int argc = c->args ? c->args->push(L) : 0;  // +argc
    // Cleared only now: the results list may be the arguments list itself.
    if (c->results) c->results->clear();
    const int wanted = c->resultCount < 0 ? LUA_MULTRET : c->resultCount;
    if (lua_pcall(L, argc, wanted, handler) != 0) {  // -1-argc +results or +error
        c->host->keepError(L, -1);
        return 0;
    }
    if (c->results) c->results->readResults(lua_gettop(L) - below, L);
    c->succeeded = true;
    return 0;
}

bool SysLua::call(const char* name, int resultCount, const LuaParam* args, LuaParam* results) {
    CallContext context{this, name, resultCount, args, results};
    const bool ran = state_ && name && protect(&SysLua::callBody, &context);
    if (results && !(ran && context.succeeded)) results->clear();
    return ran && context.succeeded;
}

int SysLua::runBody(lua_State* L) {
    auto* c = static_cast<RunContext*>(lua_touserdata(L, 1));
    const int handler = c->host->pushHandler(L);  // +1 handler, or nothing
    const int loaded = LuaTextLoader::load(L, c->text, c->length, c->chunkName);  // +1
    if (loaded != 0) {
        c->host->keepError(L, -1);
        return 0;
    }
    if (lua_pcall(L, 0, 0, handler) != 0) {  // -1 chunk, +1 error on failure
        c->host->keepError(L, -1);
        return 0;
    }
    c->succeeded = true;
    return 0;
}

bool SysLua::runFile(const char* path) {
    if (!state_ || !path) return false;
    std::vector<unsigned char> text;
    if (!File::readWhole(path, text)) {
        const std::string message = std::string("cannot open ") + path;
        keepText(message.c_str(), message.size());
        return false;
    }
    // A '#' line (a Unix interpreter line) is dropped but its newline kept,
    // so line numbers in errors stay those of the file.
    std::size_t start = 0;
    if (!text.empty() && text[0] == '#') {
        while (start < text.size() && text[start] != '\n') ++start;
    }
    const std::string chunkName = std::string("@") + path;
    RunContext context{this, reinterpret_cast<const char*>(text.data()) + start,
                       text.size() - start, chunkName.c_str()};
    return protect(&SysLua::runBody, &context) && context.succeeded;
}

bool SysLua::runBuffer(const char* text, std::int32_t length, const char* chunkName) {
    if (!state_ || !text || length < 0) return false;
    const std::size_t size = length == 0 ? std::strlen(text) : static_cast<std::size_t>(length);
    RunContext context{this, text, size, chunkName};
    return protect(&SysLua::runBody, &context) && context.succeeded;
}

bool SysLua::runProtected(lua_CFunction fn, void* userData) {
    if (!state_ || !fn) return false;
    return protect(fn, userData);
}

}  // namespace qel
