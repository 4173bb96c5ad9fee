// Three-component vectors of camera work, in single precision. (Point
// lengths and the Hermite curve belong to the game's Point and Vector2.)
#pragma once

#include <cstdint>

namespace qel {

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

Vector3 subtract(const Vector3& a, const Vector3& b);
// Each component times the float reciprocal of the length: a zero vector
// gives non-finite components, as the camera code has always seen.
Vector3 normalize(const Vector3& v);
Vector3 cross(const Vector3& a, const Vector3& b);
Vector3 normalizedCross(const Vector3& a, const Vector3& b);

}  // namespace qel
