#include "game/shell/world_settings.h"

#include "game/data/skill.h"
#include "game/shell/settings.h"
#include "game/world/chara_settings.h"
#include "game/world/create_dungeon.h"
#include "game/world/item_settings.h"
#include "game/world/object_settings.h"
#include "game/world/ranking.h"
#include "game/world/status.h"
#include "game/world/status_settings.h"

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
    s.chipOpenColor = CHIP_OPEN_COLOR;
    s.waterColor = WATER_COLOR;
    s.animHitMovePer = ANIM_HIT_MOVE_PER;
    return s;
}

ItemSettings currentItemSettings() {
    ItemSettings s;
    s.satietyBase = SATIETY_BASE;
    s.satietyIdentity = SATIETY_IDENTITY;
    s.colorEquip = COLOR_EQUIP;
    s.colorUnknown = COLOR_UNKNOWN;
    s.colorGrudge = COLOR_GRUDGE;
    s.colorCurse = COLOR_CURSE;
    s.colorBless = COLOR_BLESS;
    s.colorMagic = COLOR_MAGIC;
    s.colorItem = COLOR_ITEM;
    s.freezeColor = FREEZE_COLOR;
    s.weaponLevelMin = WEAPON_LEVEL_MIN;
    s.armorLevelMin = ARMOR_LEVEL_MIN;
    s.corpseRotting = CORPSE_ROTTING;
    s.bagLightRatio = BAG_LIGHT_RATIO;
    s.bagWeightRatio = BAG_WEIGHT_RATIO;
    return s;
}

CharaSettings currentCharaSettings() {
    CharaSettings s;
    s.moneyMax = MONEY_MAX;
    s.baseDamageDice = BASE_DAMAGE_DICE;
    s.petrifyColor = PETRIFY_COLOR;
    s.subIconBlinkOn = SUB_ICON_BLINK_ON;
    s.subIconBlinkOff = SUB_ICON_BLINK_OFF;
    s.aiMemoryTime = AI_MEMORY_TIME;
    s.friendPointHarmLost = FRIEND_POINT_HARM_LOST;
    s.friendChip = FRIEND_CHIP;
    s.friendChipColor = FRIEND_CHIP_COLOR;
    s.summonChip = SUMMON_CHIP;
    s.summonChipColor = SUMMON_CHIP_COLOR;
    s.eliteChip = ELITE_CHIP;
    s.eliteChipColor = ELITE_CHIP_COLOR;
    s.uniqueChip = UNIQUE_CHIP;
    s.uniqueChipColor = UNIQUE_CHIP_COLOR;
    return s;
}

SkillTextSource currentSkillTextSource() {
    SkillTextSource s;
    s.statusIndex = [](const char* name) { return Status::indexOf(name); };
    s.statusName = [](std::int32_t slot) {
        return Status::isIndex(slot) ? STATUS_NAME[slot] : std::string();
    };
    s.itemWeightRatio = ITEM_WEIGHT_RATIO;
    s.equipCount = EQUIP_COUNT;
    return s;
}

StatusSettings currentStatusSettings() {
    StatusSettings s;
    s.levelRatio = STATUS_LEVEL_RATIO;
    s.weightBase = ST_WEIGHT_BASE;
    s.weightStr = ST_WEIGHT_STR;
    s.weightVit = ST_WEIGHT_VIT;
    s.blessedDefense = BLESSED_DEFENSE;
    s.nameFloat1 = &ST_NAME_FLOAT1;
    s.nameFloat2 = &ST_NAME_FLOAT2;
    s.nameThrough = &ST_NAME_THROUGH;
    s.nameInvisible = &ST_NAME_INVISIBLE;
    return s;
}

}  // namespace

void installWorldSettingsSources() {
    StatusSettings::setSource(&currentStatusSettings);
    SkillTextSource::setSource(&currentSkillTextSource);
    CharaSettings::setSource(&currentCharaSettings);
    CreateDungeon::setSettingsSource(&currentCreateDungeonSettings);
    ObjectSettings::setSource(&currentObjectSettings);
    ItemSettings::setSource(&currentItemSettings);
    Ranking::setMaxSource([] { return RANKING_MAX; });
}
