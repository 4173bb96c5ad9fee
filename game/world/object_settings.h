// The script settings that map objects read while they move and draw: the
// tile size, the view brightness, the water tint and the lunge of a hit.
//
// World code sits below the shell and cannot see the globals of module `C`;
// the shell installs a source here that reads them at the moment of use.
// Without one the start values apply.
#pragma once

#include <cstdint>

#include "game/world/value_types.h"

struct ObjectSettings {
    std::uint32_t chipWidth = 16;
    std::uint32_t chipHeight = 16;
    float chipViewColor = 1.0f;
    float chipOpenColor = 1.0f;
    Color waterColor = Color(0u);
    float animHitMovePer = 0.5f;

    using Source = ObjectSettings (*)();
    static void setSource(Source source);
    // The values now: the installed source's, or the start values.
    static ObjectSettings current();
};
