// The colours the renderer keeps for its own use: two greys beside the
// named colours, and every one of the thirteen as four floats for colour
// arguments of shaders and lights.
#pragma once

#include "engine/math/color.h"
#include "engine/math/float_color.h"

namespace qel {

inline constexpr Color kLightGrey{0xFFC0C0C0u};
inline constexpr Color kDarkGrey{0xFF404040u};

struct FloatColors {
    static constexpr FloatColor BLACK = FloatColor::from(Color::BLACK);
    static constexpr FloatColor WHITE = FloatColor::from(Color::WHITE);
    static constexpr FloatColor GLAY = FloatColor::from(Color::GLAY);
    static constexpr FloatColor RED = FloatColor::from(Color::RED);
    static constexpr FloatColor GREEN = FloatColor::from(Color::GREEN);
    static constexpr FloatColor BLUE = FloatColor::from(Color::BLUE);
    static constexpr FloatColor YELLOW = FloatColor::from(Color::YELLOW);
    static constexpr FloatColor CYAN = FloatColor::from(Color::CYAN);
    static constexpr FloatColor MAGENTA = FloatColor::from(Color::MAGENTA);
    static constexpr FloatColor TRANSPARENT_BLACK = FloatColor::from(Color::TRANSPARENT_BLACK);
    static constexpr FloatColor TRANSPARENT_WHITE = FloatColor::from(Color::TRANSPARENT_WHITE);
    static constexpr FloatColor LIGHT_GREY = FloatColor::from(kLightGrey);
    static constexpr FloatColor DARK_GREY = FloatColor::from(kDarkGrey);
};

}  // namespace qel
