#include "game/shell/scene_title.h"

#include <atomic>
#include <chrono>

#include "engine/core/log.h"
#include "engine/core/register.h"
#include "engine/input/sys_input.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "engine/resource/sys_resource.h"
#include "engine/system/sys_main.h"
#include "engine/task/sys_scene.h"
#include "game/shell/scene_opening.h"

namespace {

std::atomic<SceneTitle::LoadedHook> g_loadedHook{nullptr};

// The loader is joined, never detached: a cancelled boot ends within one
// Lua count-hook interval or one step.
constexpr std::chrono::milliseconds kJoinForever{std::chrono::hours(24)};
constexpr std::chrono::milliseconds kUnthrottledBootWait{std::chrono::minutes(2)};

}  // namespace

void SceneTitle::setLoadedHook(LoadedHook hook) {
    g_loadedHook.store(hook);
}

SceneTitle::~SceneTitle() {
    stopLoader();
    releasePicture();
}

bool SceneTitle::init() {
    qel::SysRenderText::instance().createFont(qel::SysRenderText::kDefaultFace, kLoadingFont, 32, 0,
                                              0, false);
    qel::SysResource& resources = qel::SysResource::instance();
    // A run that does not wait for its frames' time loads the picture at once
    // and waits for the boot (update), so it is ready in the same frame
    // however busy the machine is.
    const bool throttled = qel::SysMain::instance().isThrottled();
    picture_ = resources.getTexture(
        kPicturePath, resources.getDefaultColorKey(),
        throttled ? qel::SysResource::kLoadQueued : qel::SysResource::kLoadNow);
    thread_ = new qel::Thread(&SceneTitle::loaderEntry, this, false, kJoinForever);
    return true;
}

void SceneTitle::loaderEntry(void* self) {
    static_cast<SceneTitle*>(self)->boot_.run();
}

void SceneTitle::update() {
    if (!loaded_) {
        if (!thread_) return;
        // Bounded, so a hung boot still meets the run's frame limit.
        if (!thread_->isDone() &&
            (qel::SysMain::instance().isThrottled() || !thread_->waitDone(kUnthrottledBootWait)))
            return;
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

void SceneTitle::draw() {
    if (picture_) {
        qel::ResTexture* texture = picture_->getTexture();
        // The loader has logged why; the player sees which file is amiss.
        if (texture && texture->getState() == qel::ResBase::kFailed)
            qel::SysRenderText::instance().drawText(kLoadingFont, 0, 16, 16, kPictureFailedText,
                                                    qel::Color::WHITE);
        qel::SpriteDesc sprite;
        sprite.set(texture, 0.0f, 0.0f, 0, 0, 0, 0, 0, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f,
                   qel::Color::WHITE, 0, false);
        qel::SysRenderSprite::instance().draw(sprite, 0);
    }
    if (!loaded_)
        qel::SysRenderText::instance().drawText(kLoadingFont, 0, 600, 550, "now loading",
                                                qel::Color::WHITE);
}

bool SceneTitle::isPictureSettled() const {
    const qel::ResTexture* texture = picture_ ? picture_->getTexture() : nullptr;
    return !texture || texture->getState() != qel::ResBase::kNotLoaded;
}

void SceneTitle::release() {
    releasePicture();
    stopLoader();
    qel::SysResource::instance().collectGarbage();
}

void SceneTitle::releasePicture() {
    delete picture_;  // gives back the handle's reference
    picture_ = nullptr;
}

void SceneTitle::stopLoader() {
    if (!thread_) return;
    boot_.cancel();
    delete thread_;  // joins
    thread_ = nullptr;
}
