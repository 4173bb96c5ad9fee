#include "game/world/game_data.h"

#include "engine/script/sys_lua.h"
#include "game/world/anima_list.h"
#include "game/world/item_factory.h"
#include "game/world/npc_factory.h"
#include "game/world/object_npc.h"

GameData& GameData::instance() {
    // Map objects and decorators call into Lua while they are destroyed, so
    // the host must be created first: statics are destroyed in the reverse
    // order of their creation.
    qel::SysLua::instance();
    static GameData data;
    return data;
}

GameData::GameData() {
    FieldView::installDarkHook();
    ObjectNpc::installWorldHooks();
}

GameData::~GameData() = default;
