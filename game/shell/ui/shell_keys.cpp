#include "game/shell/ui/shell_keys.h"

#include "engine/input/sys_input.h"
#include "game/shell/settings.h"
#include "game/shell/ui/task_se_manager.h"

namespace shell_keys {

bool pushCancel() {
    const qel::SysInput& input = qel::SysInput::instance();
    if (!input.isKeyTrigger(qel::KEY_ESCAPE) && !input.isKeyTrigger(qel::KEY_DELETE)) return false;
    requestSound(SE_CANCEL);
    return true;
}

void requestSound(const std::string& name) {
    if (name.empty()) return;
    if (TaskSEManager* manager = TaskSEManager::instance()) manager->request(name);
}

}  // namespace shell_keys
