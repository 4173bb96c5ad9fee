#include "game/shell/world_settings.h"

#include "game/shell/settings.h"
#include "game/world/create_dungeon.h"
#include "game/world/object_settings.h"

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

ObjectSettings currentObjectSettings() {
    ObjectSettings s;
    s.chipWidth = CHIP_WIDTH;
    s.chipHeight = CHIP_HEIGHT;
    s.chipViewColor = CHIP_VIEW_COLOR;
    s.waterColor = WATER_COLOR;
    s.animHitMovePer = ANIM_HIT_MOVE_PER;
    return s;
}

}  // namespace

void installWorldSettingsSources() {
    CreateDungeon::setSettingsSource(&currentCreateDungeonSettings);
    ObjectSettings::setSource(&currentObjectSettings);
}
