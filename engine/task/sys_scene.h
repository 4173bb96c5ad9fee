// SysScene: the scene manager, a task directly under the root that holds the
// current scene and replaces it on request.
//
// What it keeps true: at most one change is pending; the current scene is
// always a live child of the manager or null, never a scene whose init
// failed or that was deleted. A requested scene is added under the manager
// at once (and so started at the next update, or at once in the start
// phase); at the manager's next update after it started, the old scene is
// killed and the new one becomes current. Because the manager's update runs
// before its children's, the new scene gets its first update in that same
// pass and the old scene has already received its last events.
#pragma once

#include "engine/task/scene_base.h"
#include "engine/task/task_base.h"

namespace qel {

class SysScene : public TaskBase {
public:
    SysScene() : TaskBase(0.0f) {}
    QEL_CLASS(SysScene, TaskBase, Pool::Tasks);

    // Creates the manager, records it in Register<SysScene> under key 0 and
    // adds it under the task root. Null (nothing left behind) on failure.
    static SysScene* create();

    // Asks to replace the current scene with a new instance of `record` (null
    // removes the current scene without a successor). False, with nothing
    // changed, when the record creates nothing or no scene, or when a change
    // is already pending.
    bool requestChange(const ClassInfo* record);

    // The current scene: null before the first change and after a removal.
    SceneBase* getCurrent() const;
    bool isChangePending() const { return countdown_ >= 0; }

    // Performs a pending change once the new scene has started. A new scene
    // whose init failed (or that was killed meanwhile) is dropped and the old
    // scene stays current.
    void update() override;
    void release() override;

private:
    SceneBase* current_ = nullptr;
    SceneBase* pending_ = nullptr;
    // -1: no change pending; 0: the change happens at the next update.
    int countdown_ = -1;
};

}  // namespace qel
