// Hands a freshly made program-owned task to the registry and the task tree.
#pragma once

#include "engine/task/sys_task.h"
#include "engine/task/task_base.h"

namespace program_task {

// Registers the task under the key in Register<T> and adds it under the
// task root. Null when either fails: the task is then deleted (or killed,
// which takes it out of the registry and lets the tree delete it).
template <class T>
T* adopt(T* task, int key) {
    if (!qel::registerWithId(task, key)) {
        delete task;
        return nullptr;
    }
    if (!qel::SysTask::instance().add(task)) {
        task->kill();
        return nullptr;
    }
    return task;
}

}  // namespace program_task
