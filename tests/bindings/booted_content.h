// The sample content booted as the game boots it (tests/support's
// SampleContent: a copy of the built data/ in a scratch folder, every table
// loaded, the script package run, the settings it chose in force), as a test
// fixture. Tests of the content derive from it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/script/sys_lua.h"
#include "engine/system/window.h"
#include "tests/bindings/lua_runner.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/sample_content.h"

class BootedContent : public ::testing::Test {
protected:
    void SetUp() override {
        qel::Window::instance().setTitle("Vornhaldeen");
        ASSERT_TRUE(content_.boot()) << content_.failure();
        ASSERT_TRUE(boxes_.boxes().empty());
    }
    static bool isFunction(const char* name) {
        lua_State* L = qel::SysLua::instance().state();
        lua_getglobal(L, name);  // +1
        const bool function = lua_isfunction(L, -1);
        lua_pop(L, 1);  // -1
        return function;
    }
    // What a snippet run in the booted content returns (lua_runner.h).
    static std::string run(const char* chunk) {
        lua_State* L = qel::SysLua::instance().state();
        lua_getglobal(L, "run");  // +1
        const bool runner = lua_isfunction(L, -1);
        lua_pop(L, 1);  // -1
        if (!runner && !qel::SysLua::instance().runBuffer(lua_runner::kRunner, 0, "runner"))
            return "no runner";
        return lua_runner::run(L, chunk);
    }

    qel::test::MessageBoxRecorder boxes_;
    qel::test::SampleContent content_;
    // The folder holding data/, the working folder during the test.
    const std::filesystem::path& dir_ = content_.folder();
};
