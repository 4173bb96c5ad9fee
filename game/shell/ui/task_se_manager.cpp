#include "game/shell/ui/task_se_manager.h"

#include <algorithm>

#include "engine/core/register.h"
#include "engine/sound/sys_sound.h"
#include "game/shell/ui/program_task.h"

TaskSEManager* TaskSEManager::instance() {
    return qel::Register<TaskSEManager>::instance().getSingle();
}

TaskSEManager* TaskSEManager::start() {
    // The single instance sits under key 0.
    return program_task::adopt(new TaskSEManager(), 0);
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
