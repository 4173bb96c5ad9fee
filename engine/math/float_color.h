// A colour as four floats, red, green, blue and alpha, each the byte divided
// by 255: the form shaders and lights take colours in.
#pragma once

#include "engine/math/color.h"

namespace qel {

struct FloatColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    static constexpr FloatColor from(Color c) {
        return {c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, c.a / 255.0f};
    }
    constexpr bool operator==(const FloatColor&) const = default;
};

}  // namespace qel
