// A viewport's camera: a left-handed look-at view and a perspective
// projection with a vertical field of view, handed to the active shader when
// its viewport is applied. Vertices reach the device already transformed,
// so the matrices are kept for effects and tests, not used on pixels.
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/math/angle.h"
#include "engine/math/matrix.h"
#include "engine/math/vector3.h"

namespace qel {

class ShaderBase;

class Camera : public Core {
public:
    QEL_CLASS(Camera, Core, Pool::System);

    // The aspect of an 800 by 600 window, for a camera made without one.
    static constexpr float kDefaultAspect = 800.0f / 600.0f;

    Camera() = default;
    explicit Camera(float aspect) : aspect(aspect) {}

    Matrix viewMatrix() const;
    Matrix projectionMatrix() const;
    // Passes the view (kind 2) and projection (kind 3) to the shader.
    void apply(ShaderBase& shader) const;

    std::int32_t slot = -1;
    Vector3 eye{0.0f, 0.0f, 1.0f};
    Vector3 lookAt{0.0f, 0.0f, 0.0f};
    Vector3 up{0.0f, 1.0f, 0.0f};
    float fieldOfView = 0.25f * kPi;
    float aspect = kDefaultAspect;
    float nearPlane = 1.0f;
    float farPlane = 100.0f;
};

}  // namespace qel
