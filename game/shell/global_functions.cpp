#include "game/shell/global_functions.h"

#include "engine/sound/sys_sound.h"
#include "game/shell/ui/task_se_manager.h"
#include "game/world/item_factory.h"

void C_PlaySE(const char* name, bool /*flag*/) {
    if (!name) return;
    if (TaskSEManager* manager = TaskSEManager::instance()) manager->request(name);
}

void C_SetVolume(float volume) {
    qel::SysSound::instance().setVolume(volume);
}

ItemFactory* C_GetItemFactory() {
    return &ItemFactory::instance();
}
