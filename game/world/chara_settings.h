// The script settings that characters read: the money cap, the base damage
// dice, the petrified colour and the sub-icon blink.
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

    using Source = CharaSettings (*)();
    static void setSource(Source source);
    // The values now: the installed source's, or the start values.
    static CharaSettings current();
};
