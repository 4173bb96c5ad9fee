// The script settings that characters read: the money cap, the base damage
// dice, the petrified colour, the sub-icon blink and the monsters' memory,
// ally and sub-icon settings.
//
// World code sits below the shell and cannot see the globals of module `C`;
// the shell installs a source here that reads them at the moment of use.
// Without one the start values apply.
#pragma once

#include <cstdint>

#include "game/data/dice.h"
#include "game/world/value_types.h"

struct CharaSettings {
    std::int32_t moneyMax = 999999;
    Dice baseDamageDice = Dice(0, 1);
    Color petrifyColor = Color(0u);
    std::uint32_t subIconBlinkOn = 0;
    std::uint32_t subIconBlinkOff = 0;
    // Monsters: how long a harmed or searching monster keeps walking to what
    // it saw, what harm by the player costs an ally, and the sub-icons of
    // allies, summoned, elite and unique monsters.
    std::int32_t aiMemoryTime = 0;
    std::int32_t friendPointHarmLost = 0;
    Point friendChip;
    Color friendChipColor = Color(0u);
    Point summonChip;
    Color summonChipColor = Color(0u);
    Point eliteChip;
    Color eliteChipColor = Color(0u);
    Point uniqueChip;
    Color uniqueChipColor = Color(0u);

    using Source = CharaSettings (*)();
    static void setSource(Source source);
    // The values now: the installed source's, or the start values.
    static CharaSettings current();
};
