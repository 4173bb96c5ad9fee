#include "game/world/game_data.h"

#include "engine/script/sys_lua.h"

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
}

GameData::~GameData() = default;
