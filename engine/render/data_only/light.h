// A light as the light subsystem and the shaders use it. The game makes
// none; the light subsystem holds up to 16 and enables, for each viewport,
// those whose enable byte for that viewport is set.
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/math/color.h"
#include "engine/math/float_color.h"
#include "engine/math/vector3.h"
#include "engine/render/render_key.h"

namespace qel {

class ShaderBase;

// The record a fixed-function device takes for a light.
struct DeviceLight {
    std::uint32_t type = 3;  // directional
    FloatColor diffuse;
    FloatColor specular;
    FloatColor ambient;
    Vector3 position;
    Vector3 direction{0.0f, 0.0f, 1.0f};
    float range = 0.0f;

    constexpr bool operator==(const DeviceLight&) const = default;
};

class Light : public Core {
public:
    QEL_CLASS(Light, Core, Pool::General);

    // Per-frame work of a light; nothing for a plain one.
    virtual void update() {}
    // Makes this light the shader's light number `index`.
    virtual void install(ShaderBase& shader, std::uint32_t index);

    std::uint8_t enable[kViewportSlots] = {};
    Color diffuse = Color::WHITE;
    Color ambient = Color::BLACK;
    Vector3 direction{0.0f, 0.0f, 1.0f};
    DeviceLight device;
};

}  // namespace qel
