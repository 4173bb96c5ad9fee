#include "game/shell/ui/task_se_manager.h"

#include <algorithm>

#include "engine/core/register.h"
#include "engine/sound/sys_sound.h"
#include "engine/task/sys_task.h"

TaskSEManager* TaskSEManager::instance() {
    return qel::Register<TaskSEManager>::instance().getSingle();
}

TaskSEManager* TaskSEManager::start() {
    auto* task = new TaskSEManager();
    if (!task) return nullptr;
    if (!qel::registerSingle(task)) {
        delete task;
        return nullptr;
    }
    if (!qel::SysTask::instance().add(task)) {
        // Killing takes it out of the registry; the tree deletes it.
        task->kill();
        return nullptr;
    }
    return task;
}

bool TaskSEManager::request(std::string_view name) {
    if (std::find(pending_.begin(), pending_.end(), name) != pending_.end()) return false;
    pending_.emplace_back(name);
    return true;
}

void TaskSEManager::postUpdate() {
    for (const std::string& name : pending_) qel::SysSound::instance().play(name);
    pending_.clear();
}
