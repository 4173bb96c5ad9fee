#include "game/shell/game_hooks.h"

#include <ctime>
#include <optional>

#include "engine/core/register.h"
#include "engine/core/sys_rand.h"
#include "engine/input/input_ime.h"
#include "engine/input/sys_input.h"
#include "engine/math/color.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render_text.h"
#include "engine/render/viewport.h"
#include "engine/resource/sys_resource.h"
#include "engine/script/sys_lua.h"
#include "engine/sound/sys_sound.h"
#include "engine/system/menu_fullscreen.h"
#include "engine/system/message_box.h"
#include "engine/system/sys_main.h"
#include "engine/system/window.h"
#include "engine/task/sys_scene.h"
#include "game/shell/save/save_data.h"
#include "game/shell/scene_title.h"
#include "game/shell/settings.h"
#include "game/shell/turn_manager.h"
#include "game/shell/ui/task_se_manager.h"
#include "game/world/game_data.h"
#include "game/world/script_call.h"
#include "game/world/script_callbacks.h"

namespace game_hooks {

namespace {

std::optional<std::uint32_t> g_startSeed;

qel::SysScene* sceneManager() {
    return qel::Register<qel::SysScene>::instance().getSingle();
}

}  // namespace

bool canQuitQuery() {
    // Only a game whose turn manager is not waiting for the player refuses.
    const TurnManager* turns = TurnManager::instance();
    if (!turns || turns->getState() == TurnManager::PLAYER_INPUT) return true;
    qel::MessageBox::show(kCannotQuitText, qel::Window::instance().title());
    return false;
}

void attachMenuHook() {
    qel::Window::instance().attachMenu(qel::MenuFullscreen::staticClassInfo());
}

void detachMenuHook() {
    qel::Window::instance().detachMenu();
}

void setStartSeed(std::uint32_t seed) {
    g_startSeed = seed;
}

bool gameInitHook() {
    qel::Window& window = qel::Window::instance();
    window.setCloseCallback(&canQuitQuery);
    window.setMaximizeCallback(&attachMenuHook);
    window.setRestoreCallback(&detachMenuHook);
    qel::SysInput::instance().setTextEntryHandler(&qel::InputIME::instance());
    qel::SysRand::instance().seed(g_startSeed ? *g_startSeed
                                              : static_cast<std::uint32_t>(std::time(nullptr)));
    qel::SysResource::instance().setAutoCollect(false);
    SaveData::installHooks();
    if (qel::Viewport* viewport = qel::SysCamera::instance().getViewport(0))
        viewport->clearColors[0] = qel::Color::BLACK.argb();
    qel::SysLua::instance().init();
    // Every screen writes with font 1 from its first frame.
    qel::SysRenderText::instance().createFont(FONT_NAME, kGameFont, static_cast<int>(FONT_HEIGHT),
                                              FONT_WIDTH, 0, false);
    TaskSEManager::start();
    qel::SysSound::instance().setVolume(kStartVolume);
    if (qel::SysScene* scenes = sceneManager())
        scenes->requestChange(&SceneTitle::staticClassInfo());
    return true;
}

void gameShutdownHook() {
    // The loader goes first: nothing below may meet it inside Lua.
    bool onTitle = false;
    if (qel::SysScene* scenes = sceneManager()) {
        if (auto* title = dynamic_cast<SceneTitle*>(scenes->getCurrent())) {
            title->stopLoader();
            onTitle = true;
        }
    }
    // A boot that did not finish loaded no global record to save back.
    if (onTitle) return;
    if (CURRENT_PLAYER_ID != 0) {
        // The slot is saved first; the script then names it in the slot
        // list, which the global record below carries.
        SaveData(static_cast<std::int32_t>(CURRENT_PLAYER_ID)).saveGame(SaveData::KEEP_ALL);
        ScriptCall(script_callback::SetSaveFileName).text("update").run();
    }
    SaveData::saveGlobal();
}

void closeGame() {
    GameData::instance().release();
    qel::SysLua::instance().close();
}

void installGameHooks() {
    qel::SysMain::instance().setGameInitHook(&gameInitHook);
    qel::SysMain::instance().setGameShutdownHook(&gameShutdownHook);
}

}  // namespace game_hooks
