#include "engine/task/sys_scene.h"

#include "engine/task/sys_task.h"

namespace qel {

SysScene* SysScene::create() {
    SysScene* manager = new SysScene();
    if (!manager) return nullptr;
    if (!registerSingle(manager)) {
        delete manager;
        return nullptr;
    }
    if (!SysTask::instance().add(manager)) {
        Register<SysScene>::instance().remove(0, 0);
        delete manager;
        return nullptr;
    }
    return manager;
}

bool SysScene::requestChange(const ClassInfo* record) {
    // A current scene that someone else killed is detached before its block
    // is freed; forget it now, before the new scene can reuse that block and
    // be mistaken for it (and killed in its place) at the switch.
    if (current_ && !hasChild(current_)) current_ = nullptr;
    SceneBase* scene = nullptr;
    if (record) {
        Core* made = record->create();
        if (!made) return false;
        scene = classCast<SceneBase>(made);
        if (!scene) {
            // Not a scene: refuse rather than drop the current scene.
            delete made;
            return false;
        }
    }
    if (countdown_ >= 0) {
        delete scene;
        return false;
    }
    if (scene) {
        scene->setSkipCounter(0);
        registerLowestFree<SceneBase>(scene);
        if (!SysTask::instance().add(scene, this)) {
            // The manager is not in the tree: nothing could ever start it.
            Register<SceneBase>::instance().remove(scene->getRegisterKey(), 0);
            delete scene;
            return false;
        }
    }
    pending_ = scene;
    countdown_ = 0;
    return true;
}

SceneBase* SysScene::getCurrent() const {
    // Whoever else kills the current scene, it stays listed here until its
    // kill is processed, and is deleted only after that.
    return current_ && hasChild(current_) ? current_ : nullptr;
}

void SysScene::update() {
    if (countdown_ < 0) return;
    if (countdown_-- > 0) return;
    if (!pending_) {
        if (SceneBase* old = getCurrent()) old->kill();
        current_ = nullptr;
        countdown_ = -1;
        return;
    }
    // Checked before anything is read from it: while this manager was
    // skipped, the pending scene may have failed or been killed and deleted.
    if (!hasChild(pending_)) {
        pending_ = nullptr;
        countdown_ = -1;
        return;
    }
    if (pending_->getState() == kStateNew) {
        // Requested after this frame's start phase: switch once it has started.
        countdown_ = 0;
        return;
    }
    if (pending_->isActive()) {
        if (SceneBase* old = getCurrent()) old->kill();
        current_ = pending_;
    }
    pending_ = nullptr;
    countdown_ = -1;
}

void SysScene::release() {
    current_ = nullptr;
    pending_ = nullptr;
    countdown_ = -1;
}

}  // namespace qel
