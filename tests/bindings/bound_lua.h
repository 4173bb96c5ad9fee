// A Lua host with the script bindings open and the snippet runner loaded
// (lua_runner.h), for the tables of snippets that check the script
// interface. Every setting the snippets may change is put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "game/shell/settings.h"
#include "tests/bindings/lua_runner.h"

class BoundLua : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host_.init());
        std::string error;
        ASSERT_EQ(openScriptBindings(host_.state(), &error), 1) << error;
        ASSERT_TRUE(host_.runBuffer(lua_runner::kRunner, 0, "runner")) << host_.lastError();
    }
    void TearDown() override { resetSettings(); }

    std::string run(const char* chunk) { return lua_runner::run(host_.state(), chunk); }
    // Runs a table of cases, naming the failing one.
    template <class Cases>
    void runAll(const Cases& cases) {
        for (const lua_runner::LuaCase& c : cases) {
            EXPECT_EQ(run(c.chunk), c.expected) << "case: " << c.name;
            resetSettings();
        }
    }

    qel::SysLua host_;
};
