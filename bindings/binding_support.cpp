#include "bindings/binding_support.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "bindings/bound_states.h"
#include "engine/core/object_operation.h"
#include "game/world/value_types.h"

namespace binding {

std::uint64_t wrapToWord64(double value) {
    if (!std::isfinite(value)) return 0;
    const double t = std::trunc(value);
    constexpr double k2to63 = 9223372036854775808.0;
    constexpr double k2to64 = 18446744073709551616.0;
    // Within ±2^63 the conversion is exact and defined; beyond it every double
    // is an integer, so fmod reduces it exactly.
    if (t >= -k2to63 && t < k2to63) {
        return static_cast<std::uint64_t>(static_cast<std::int64_t>(t));
    }
    double r = std::fmod(t, k2to64);
    if (r < 0) r += k2to64;
    if (r >= k2to63) return static_cast<std::uint64_t>(static_cast<std::int64_t>(r - k2to64));
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(r));
}

int toIndex(lua_State* L, int narg, double def) {
    const double v = tolua_tonumber(L, narg, def);
    // NaN is no index at all, rather than the 0 of the game's conversion.
    return std::isnan(v) ? -1 : value_arith::truncToInt32(v);
}

const char* toCppString(lua_State* L, int narg, const char* def) {
    const char* text = tolua_tostring(L, narg, def);
    return text ? text : "";
}

Text toText(lua_State* L, int narg, const char* def) {
    return Text(tolua_tostring(L, narg, def));
}

void raiseVariableError(lua_State* L, int narg, const char* typeName) {
    tolua_Error err{};
    err.index = narg;
    err.array = 0;
    err.type = typeName;
    tolua_error(L, "#vinvalid type in variable assignment.", &err);
    std::abort();  // not reached: a Lua error never returns
}

void* memberSelf(lua_State* L, const char* typeName) {
    tolua_Error err;
    if (!tolua_isusertype(L, 1, typeName, 0, &err)) return nullptr;
    return tolua_tousertype(L, 1, nullptr);
}

int checkedIndex(lua_State* L, int size) {
    tolua_Error err;
    if (!tolua_isnumber(L, 2, 0, &err)) tolua_error(L, "#vinvalid type in array indexing.", &err);
    const int index = toIndex(L, 2, 0);
    if (index < 0 || index >= size) tolua_error(L, "array indexing out of range.", nullptr);
    return index;
}

// The word of a flag record or colour is its first (and only) 32 bits.
int getWordValue(lua_State* L, const char* constTypeName) {
    const void* self = memberSelf(L, constTypeName);
    if (!self) tolua_error(L, "invalid 'self' in accessing variable '_val'", nullptr);
    std::uint32_t word;
    std::memcpy(&word, self, sizeof word);
    tolua_pushnumber(L, static_cast<lua_Number>(word));
    return 1;
}

int setWordValue(lua_State* L, const char* typeName) {
    void* self = memberSelf(L, typeName);
    if (!self) tolua_error(L, "invalid 'self' in accessing variable '_val'", nullptr);
    tolua_Error err;
    if (!tolua_isnumber(L, 2, 0, &err))
        tolua_error(L, "#vinvalid type in variable assignment.", &err);
    const std::uint32_t word = toNumber<std::uint32_t>(L, 2, 0);
    std::memcpy(self, &word, sizeof word);
    return 0;
}

namespace {

int guardedCall(lua_State* L) {
    lua_CFunction func;
    std::memcpy(&func, lua_touserdata(L, lua_upvalueindex(1)), sizeof func);
    // Objects freed on another thread while this one runs the scripts are
    // forgotten before the call can meet their addresses again.
    BoundStates::instance().applyDeferred();
    // A bound function is an operation on objects: what it, or a script it
    // calls, asks to delete is deleted only as the outermost one returns.
    const qel::ObjectOperation operation;
    try {
        return func(L);
    } catch (const std::exception& e) {
        lua_pushstring(L, e.what());  // a Lua error here (memory) replaces this one
    }
    return lua_error(L);
}

// Replaces the C function at t[key] (t at `t`, key on top of the stack,
// popped) by its guarded form; anything else stays.
void guardField(lua_State* L, int t) {
    lua_pushvalue(L, -1);  // +1 key
    lua_rawget(L, t);      // replace by t[key]
    lua_CFunction func = lua_tocfunction(L, -1);
    lua_pop(L, 1);
    if (!func) {
        lua_pop(L, 1);
        return;
    }
    pushGuarded(L, func);  // +1
    lua_rawset(L, t);      // -2 t[key] = guarded
}

// Guards t[".get"][name] and t[".set"][name], t being the table on top.
void guardAccessors(lua_State* L, const char* name) {
    const int t = lua_gettop(L);
    for (const char* side : {".get", ".set"}) {
        lua_pushstring(L, side);  // +1
        lua_rawget(L, t);         // the accessor table or nil
        if (lua_istable(L, -1)) {
            lua_pushstring(L, name);
            guardField(L, lua_gettop(L) - 1);
        }
        lua_pop(L, 1);
    }
}

}  // namespace

void pushObject(lua_State* L, void* value, const char* type) {
    BoundStates::instance().applyDeferred();
    tolua_pushusertype(L, value, type);
}

bool pushView(lua_State* L, const void* owner, std::size_t ownerSize, const void* value,
              const char* type) {
    pushObject(L, const_cast<void*>(value), type);
    const auto first = reinterpret_cast<std::uintptr_t>(owner);
    const auto at = reinterpret_cast<std::uintptr_t>(value);
    if (!owner || !value || at < first || at - first >= ownerSize) return false;
    if (lua_isuserdata(L, -1)) BoundStates::noteMember(L, owner, value);
    return true;
}

void pushGuarded(lua_State* L, lua_CFunction func, const void* datum) {
    void* box = lua_newuserdata(L, sizeof func);  // +1
    std::memcpy(box, &func, sizeof func);
    lua_pushlightuserdata(L, const_cast<void*>(datum));  // +1
    lua_pushcclosure(L, &guardedCall, 2);                // replaces both by the closure
}

const void* guardedDatum(lua_State* L) {
    return lua_touserdata(L, lua_upvalueindex(2));
}

void setAccessor(lua_State* L, const char* side, const char* name, lua_CFunction func,
                 const void* datum) {
    const int t = lua_gettop(L);
    lua_pushstring(L, side);  // +1
    lua_rawget(L, t);         // replace by t[side]
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        lua_newtable(L);          // +1
        lua_pushstring(L, side);  // +1
        lua_pushvalue(L, -2);     // +1
        lua_rawset(L, t);         // -2 t[side] = new table
    }
    lua_pushstring(L, name);      // +1
    pushGuarded(L, func, datum);  // +1
    lua_rawset(L, -3);            // -2 t[side][name] = func
    lua_pop(L, 1);                // -1 t[side]
}

void registerFunction(lua_State* L, const char* name, lua_CFunction func) {
    tolua_function(L, name, func);
    lua_pushstring(L, name);
    guardField(L, lua_gettop(L) - 1);
}

void registerVariable(lua_State* L, const char* name, lua_CFunction get, lua_CFunction set) {
    tolua_variable(L, name, get, set);
    guardAccessors(L, name);
}

void registerArray(lua_State* L, const char* name, lua_CFunction get, lua_CFunction set) {
    tolua_array(L, name, get, set);
    // The array is a table in .get[name] whose metatable holds the element
    // functions as __index and __newindex.
    const int t = lua_gettop(L);
    lua_pushstring(L, ".get");  // +1
    lua_rawget(L, t);
    if (lua_istable(L, -1)) {
        lua_pushstring(L, name);  // +1
        lua_rawget(L, -2);        // the array table
        if (lua_istable(L, -1) && lua_getmetatable(L, -1)) {
            const int mt = lua_gettop(L);
            lua_pushstring(L, "__index");
            guardField(L, mt);
            lua_pushstring(L, "__newindex");
            guardField(L, mt);
            lua_pop(L, 1);  // the metatable
        }
        lua_pop(L, 1);  // the array table
    }
    lua_settop(L, t);
}

int registerCollected(lua_State* L, int lo) {
    void* const* box = static_cast<void* const*>(lua_touserdata(L, lo));
    if (!box || !*box || !mayScriptDelete(L, *box)) return 0;
    return tolua_register_gc(L, lo);
}

void noteScriptOwned(lua_State* L, const void* object) {
    BoundStates::noteScriptOwned(L, object);
}

bool mayScriptDelete(lua_State* L, const void* object) {
    return BoundStates::mayScriptDelete(L, object);
}

void refuseScriptDelete(lua_State* L) {
    luaL_error(L, "attempt to delete an object the program owns");
    std::abort();  // not reached: a Lua error never returns
}

void forgetScriptObject(const void* address) {
    if (address) BoundStates::instance().forget(address);
}

void claimScriptObject(const void* address) {
    if (address) BoundStates::instance().claim(address);
}

}  // namespace binding
