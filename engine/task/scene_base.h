// A task that stands for a whole screen; the scene manager creates scenes
// from their class records, so concrete scenes need a default constructor.
#pragma once

#include "engine/task/task_base.h"

namespace qel {

class SceneBase : public TaskBase {
public:
    explicit SceneBase(float priority = 0.0f) : TaskBase(priority) {}
    QEL_CLASS(SceneBase, TaskBase, Pool::Tasks);
};

}  // namespace qel
