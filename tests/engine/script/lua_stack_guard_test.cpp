#include "engine/script/lua_stack_guard.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(LuaStackGuard, RestoresTheTopPlusWhatTheScopeKeeps) {
    lua_State* L = luaL_newstate();
    ASSERT_NE(L, nullptr);
    lua_pushinteger(L, 7);  // +1 a value below every scope
    {
        const LuaStackGuard guard(L);
        EXPECT_EQ(guard.top(), 1);
        lua_newtable(L);         // +1
        lua_pushstring(L, "x");  // +1
    }
    EXPECT_EQ(lua_gettop(L), 1);
    {
        LuaStackGuard guard(L);
        lua_pushnil(L);          // +1 scratch
        lua_pushinteger(L, 42);  // +1 the result
        lua_replace(L, -2);      // -1 result over scratch
        lua_pushnil(L);          // +1 scratch again
        lua_pop(L, 1);
        guard.keep(1);
    }
    ASSERT_EQ(lua_gettop(L), 2);
    EXPECT_EQ(lua_tointeger(L, 2), 42);
    EXPECT_EQ(lua_tointeger(L, 1), 7);
    lua_close(L);
}

}  // namespace
}  // namespace qel
