// The root of the task tree: a plain task of priority 0 with its own class.
#pragma once

#include "engine/task/task_base.h"

namespace qel {

class TaskRoot : public TaskBase {
public:
    TaskRoot() : TaskBase(0.0f) {}
    QEL_CLASS(TaskRoot, TaskBase, Pool::Tasks);
};

}  // namespace qel
