// The sample content booted as the game boots it, in a scratch folder
// holding a copy of the built data/: every table loaded, the script package
// run, the settings it chose in force. Tests of the content derive from it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "engine/system/window.h"
#include "game/shell/boot_loader.h"
#include "game/shell/settings.h"
#include "game/shell/world_settings.h"
#include "tests/bindings/lua_runner.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/scratch_folder.h"

class BootedContent : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(QEL_GAME_DATA, dir_ / "data",
                              std::filesystem::copy_options::recursive);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
        installWorldSettingsSources();
        BootLoader::setScriptInterface(&openScriptBindings);
        ASSERT_TRUE(qel::SysLua::instance().state() || qel::SysLua::instance().init());
        qel::Window::instance().setTitle("Vornhaldeen");
        BootLoader boot;
        ASSERT_EQ(boot.run(), BootLoader::Result::Done) << boot.failure();
        ASSERT_TRUE(boxes_.boxes().empty());
    }
    void TearDown() override {
        BootLoader::setScriptInterface(nullptr);
        std::filesystem::current_path(previous_);
        resetSettings();
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

    qel::test::ScratchFolder scratch_;
    const std::filesystem::path& dir_ = scratch_.path();
    std::filesystem::path previous_;
    qel::test::MessageBoxRecorder boxes_;
};
