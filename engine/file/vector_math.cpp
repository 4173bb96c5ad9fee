#include "engine/file/vector_math.h"

#include <cmath>

namespace qel {

Vector3 subtract(const Vector3& a, const Vector3& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

Vector3 normalize(const Vector3& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    const float inv = 1.0f / length;
    return {v.x * inv, v.y * inv, v.z * inv};
}

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vector3 normalizedCross(const Vector3& a, const Vector3& b) {
    return normalize(cross(a, b));
}

}  // namespace qel
