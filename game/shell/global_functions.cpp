#include "game/shell/global_functions.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <string>

#include "engine/core/log.h"
#include "engine/core/register.h"
#include "engine/input/key_code.h"
#include "engine/input/sys_input.h"
#include "engine/render/sys_render_text.h"
#include "engine/sound/sys_sound.h"
#include "engine/task/sys_scene.h"
#include "game/shell/boot_loader.h"
#include "game/shell/scene_opening.h"
#include "game/shell/ui/task_se_manager.h"
#include "game/world/game_data.h"
#include "game/world/item_factory.h"
#include "game/world/npc_factory.h"

bool scriptMayReachGame(const char* function) {
    if (!BootLoader::isBooting()) return true;
    static std::mutex mutex;
    static std::set<std::string, std::less<>> reported;
    std::lock_guard lock(mutex);
    if (reported.insert(function).second)
        qel::logMessage("%s: not available while the game boots", function);
    return false;
}

void C_PlaySE(const char* name, bool /*flag*/) {
    if (!name || !scriptMayReachGame("C_PlaySE")) return;
    if (TaskSEManager* manager = TaskSEManager::instance()) manager->request(name);
}

void C_SetVolume(float volume) {
    if (!scriptMayReachGame("C_SetVolume")) return;
    qel::SysSound::instance().setVolume(volume);
}

bool C_SetFont(int id, int height, const char* face, int width, int weight, bool italic) {
    if (width < 0 || weight < 0) return false;
    return qel::SysRenderText::instance().createFont(face ? face : qel::SysRenderText::kDefaultFace,
                                                     id, height, static_cast<unsigned>(width),
                                                     static_cast<unsigned>(weight), italic);
}

Dungeon* C_GetDungeon() {
    return GameData::instance().getDungeon();
}

ItemFactory* C_GetItemFactory() {
    return &ItemFactory::instance();
}

bool C_KeyOn(int key) {
    return qel::SysInput::instance().isKeyOn(key);
}

bool C_KeyTrg(int key) {
    return qel::SysInput::instance().isKeyTrigger(key);
}

bool C_KeyRpt(int key) {
    return qel::SysInput::instance().isKeyRepeat(key);
}

namespace {

// The direction keys, in the order their vectors add up: the cursor keys,
// then the diagonals the number pad gives with Num Lock off.
struct DirectionKey {
    int key;
    int x;
    int y;
};
constexpr DirectionKey kDirectionKeys[] = {
    {qel::KEY_DOWN, 0, 1}, {qel::KEY_UP, 0, -1},  {qel::KEY_RIGHT, 1, 0},  {qel::KEY_LEFT, -1, 0},
    {qel::KEY_END, -1, 1}, {qel::KEY_NEXT, 1, 1}, {qel::KEY_HOME, -1, -1}, {qel::KEY_PRIOR, 1, -1},
};
constexpr int kControlKey = qel::KEY_CONTROL;

}  // namespace

Point C_GetInputDir() {
    const qel::SysInput& input = qel::SysInput::instance();
    int x = 0;
    int y = 0;
    for (const DirectionKey& d : kDirectionKeys) {
        if (!input.isKeyOn(d.key)) continue;
        x += d.x;
        y += d.y;
    }
    x = std::clamp(x, -1, 1);
    y = std::clamp(y, -1, 1);
    if (input.isKeyOn(kControlKey) && (x == 0 || y == 0)) return Point(0, 0);
    return Point(x, y);
}

FieldView* C_GetFieldView() {
    return GameData::instance().getFieldView();
}

EnemyMaker* C_GetEnemyMaker() {
    return GameData::instance().getEnemyMaker();
}

NpcFactory* C_GetNpcFactory() {
    return &NpcFactory::instance();
}

void C_GotoOpening() {
    if (!scriptMayReachGame("C_GotoOpening")) return;
    if (qel::SysScene* scenes = qel::Register<qel::SysScene>::instance().getSingle())
        scenes->requestChange(&SceneOpening::staticClassInfo());
}
