#include "bindings/script_bindings.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/script/sys_lua.h"

namespace {

TEST(ScriptBindingsSmoke, Opens) {
    qel::SysLua host;
    ASSERT_TRUE(host.init());
    std::string error;
    EXPECT_EQ(openScriptBindings(host.state(), &error), 1) << error;
    EXPECT_TRUE(
        host.runBuffer("assert(C.KEY_A == 65); local p = C.Point(1,2); assert(p._x == 1)", 0, "t"))
        << host.lastError();
}

}  // namespace
