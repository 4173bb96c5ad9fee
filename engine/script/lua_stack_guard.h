// Puts a Lua stack back where it was: every host and binding function that
// pushes temporaries and must leave the stack as it found it holds one of
// these instead of saving and restoring the top by hand.
//
// What it keeps true: when the guard leaves its scope the stack top is the
// one it saw on construction, plus the values the scope said it keeps.
// A Lua error raised inside the scope jumps past the guard without running
// it; the protected call that catches the error resets the stack itself, so
// the guard has nothing to undo then.
#pragma once

#include <lua.hpp>

namespace qel {

class LuaStackGuard {
public:
    explicit LuaStackGuard(lua_State* L) : L_(L), top_(lua_gettop(L)) {}
    ~LuaStackGuard() { lua_settop(L_, top_ + kept_); }
    LuaStackGuard(const LuaStackGuard&) = delete;
    LuaStackGuard& operator=(const LuaStackGuard&) = delete;

    // The top when the guard was made: the absolute index of the last value
    // below the scope's own.
    int top() const { return top_; }
    // The scope leaves `count` values (the top ones) as its result.
    void keep(int count) { kept_ = count; }

private:
    lua_State* L_;
    int top_;
    int kept_ = 0;
};

}  // namespace qel
