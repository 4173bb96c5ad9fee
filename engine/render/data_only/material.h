// A surface material as lighting takes it.
#pragma once

#include "engine/math/float_color.h"

namespace qel {

struct Material {
    FloatColor diffuse;
    FloatColor ambient;
    FloatColor specular;
    FloatColor emissive;
    float power = 0.0f;

    constexpr bool operator==(const Material&) const = default;
};

}  // namespace qel
