#include "game/shell/world_settings.h"

#include "game/shell/settings.h"
#include "game/world/create_dungeon.h"

namespace {

CreateDungeonSettings currentCreateDungeonSettings() {
    CreateDungeonSettings s;
    s.minWidth = CREATE_MIN_WITDH;
    s.minHeight = CREATE_MIN_HEIGHT;
    s.roomPer = CREATE_ROOM_PER;
    s.minRoom = CREATE_MIN_ROOM;
    s.minSpace = CREATE_MIN_SPACE;
    s.failMax = CREATE_FAIL_MAX;
    return s;
}

}  // namespace

void installWorldSettingsSources() {
    CreateDungeon::setSettingsSource(&currentCreateDungeonSettings);
}
