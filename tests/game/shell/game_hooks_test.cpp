// The start-up hook makes the game's font before any screen needs it, and
// the shutdown hook saves the active slot before the script renames it.
#include "game/shell/game_hooks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/core/register.h"
#include "engine/input/sys_input.h"
#include "engine/render/sys_render_text.h"
#include "engine/resource/sys_resource.h"
#include "engine/script/sys_lua.h"
#include "engine/sound/sys_sound.h"
#include "engine/system/window.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/shell/ui/task_se_manager.h"
#include "game/world/dungeon.h"
#include "game/world/game_data.h"
#include "tests/bindings/lua_runner.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/scratch_folder.h"

namespace {

class GameHooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldFolder_ = std::filesystem::current_path();
        std::filesystem::current_path(scratch_.path());
        ASSERT_TRUE(tasks().init());
    }
    void TearDown() override {
        // Everything the start-up hook set goes back.
        qel::Window& window = qel::Window::instance();
        window.setCloseCallback(nullptr);
        window.setMaximizeCallback(nullptr);
        window.setRestoreCallback(nullptr);
        qel::SysInput::instance().setTextEntryHandler(nullptr);
        qel::SysResource::instance().setAutoCollect(autoCollect_);
        qel::SysSound::instance().setVolume(1.0f);
        tasks().term();
        qel::SysRenderText::instance().term();
        lua().close();
        CURRENT_PLAYER_ID = 0;
        resetSettings();
        std::filesystem::current_path(oldFolder_);
    }
    static qel::SysTask& tasks() { return qel::SysTask::instance(); }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static std::string run(const char* chunk) { return lua_runner::run(lua().state(), chunk); }

    qel::test::ScratchFolder scratch_;
    std::filesystem::path oldFolder_;
    bool autoCollect_ = qel::SysResource::instance().getAutoCollect();
};

TEST_F(GameHooksTest, StartUpMakesTheFontEveryScreenWritesWith) {
    FONT_HEIGHT = 12;
    FONT_WIDTH = 6;
    ASSERT_TRUE(game_hooks::gameInitHook());
    // Menus, lists and windows write with font 1 from their first frame,
    // before the message log or a script has made it.
    const qel::SysRenderText::FontRecord* font = qel::SysRenderText::instance().findFont(1);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->desc.height, 12);
    EXPECT_NE(qel::Register<TaskSEManager>::instance().getSingle(), nullptr);
}

TEST_F(GameHooksTest, ClosingSavesTheSlotBeforeTheScriptNamesIt) {
    ASSERT_TRUE(lua().init());
    ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
    ASSERT_EQ(run(R"(
        function SetSaveFileName(kind)
            named = kind
            local file = io.open("save/data02/player.dat", "rb")
            saved = file ~= nil
            if file then file:close() end
        end
        return "ok")"),
              "ok");
    qel::test::MessageBoxRecorder boxes;
    Dungeon& dungeon = *GameData::instance().getDungeon();
    dungeon.setTag("cave");
    FILE_VERSION = 109;  // a version that saves games
    CURRENT_PLAYER_ID = 2;
    game_hooks::gameShutdownHook();
    dungeon.setTag("");
    EXPECT_EQ(run("return named, saved"), "update, true");
    EXPECT_TRUE(std::filesystem::exists("save/global.dat"));
    for (const auto& box : boxes.boxes()) ADD_FAILURE() << box.text;
}

}  // namespace
