#include "game/shell/scene_title.h"

#include <atomic>
#include <chrono>

#include "engine/core/register.h"
#include "engine/input/sys_input.h"
#include "engine/system/sys_main.h"
#include "engine/task/sys_scene.h"
#include "game/shell/scene_opening.h"

namespace {

std::atomic<SceneTitle::LoadedHook> g_loadedHook{nullptr};

// The loader is joined, never detached: a cancelled boot ends within one
// Lua count-hook interval or one step.
constexpr std::chrono::milliseconds kJoinForever{std::chrono::hours(24)};

}  // namespace

void SceneTitle::setLoadedHook(LoadedHook hook) {
    g_loadedHook.store(hook);
}

SceneTitle::~SceneTitle() {
    stopLoader();
}

bool SceneTitle::init() {
    thread_ = new qel::Thread(&SceneTitle::loaderEntry, this, false, kJoinForever);
    return true;
}

void SceneTitle::loaderEntry(void* self) {
    static_cast<SceneTitle*>(self)->boot_.run();
}

void SceneTitle::update() {
    if (!loaded_) {
        if (!thread_ || !thread_->isDone()) return;
        switch (boot_.result()) {
            case BootLoader::Result::Done:
                loaded_ = true;
                if (LoadedHook hook = g_loadedHook.load()) hook();
                break;
            case BootLoader::Result::Failed:
                qel::SysMain::instance().setExitCode(-1);
                qel::SysMain::instance().requestQuit();
                break;
            default:
                break;
        }
        return;
    }
    // Down now and up in the last frame: an Enter held since before the
    // end of loading does not count until pressed again.
    if (qel::SysInput::instance().isKeyTrigger(kEnterKey)) {
        if (qel::SysScene* scenes = qel::Register<qel::SysScene>::instance().getSingle())
            scenes->requestChange(&SceneOpening::staticClassInfo());
    }
}

void SceneTitle::release() {
    stopLoader();
}

void SceneTitle::stopLoader() {
    if (!thread_) return;
    boot_.cancel();
    delete thread_;  // joins
    thread_ = nullptr;
}
