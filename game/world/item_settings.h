// The script settings that items and the item table read: satiety scaling,
// name colours, level floors, bag ratios, the freeze tint and the corpse
// rotting cap.
//
// World code sits below the shell and cannot see the globals of module `C`;
// the shell installs a source here that reads them at the moment of use.
// Without one the start values apply.
#pragma once

#include <cstdint>

#include "game/world/value_types.h"

struct ItemSettings {
    std::int32_t satietyBase = 0;
    std::int32_t satietyIdentity = 0;
    Color colorEquip = Color::TRANSPARENT_BLACK;
    Color colorUnknown = Color::TRANSPARENT_BLACK;
    Color colorGrudge = Color::TRANSPARENT_BLACK;
    Color colorCurse = Color::TRANSPARENT_BLACK;
    Color colorBless = Color::TRANSPARENT_BLACK;
    Color colorMagic = Color::TRANSPARENT_BLACK;
    Color colorItem = Color::TRANSPARENT_BLACK;
    Color freezeColor = Color::TRANSPARENT_BLACK;
    std::int32_t weaponLevelMin = 0;
    std::int32_t armorLevelMin = 0;
    std::int32_t corpseRotting = 0;
    float bagLightRatio = 0.0f;
    float bagWeightRatio = 0.0f;

    using Source = ItemSettings (*)();
    static void setSource(Source source);
    // The values now: the installed source's, or the start values.
    static ItemSettings current();
};
