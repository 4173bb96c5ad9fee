// Angle conversions in single precision.
#pragma once

#include <numbers>

namespace qel {

inline constexpr float kPi = std::numbers::pi_v<float>;
inline constexpr float kDegreesToRadians = static_cast<float>(std::numbers::pi / 180.0);
inline constexpr float kRadiansToDegrees = static_cast<float>(180.0 / std::numbers::pi);
inline constexpr float kTwoPi = static_cast<float>(2.0 * std::numbers::pi);
inline constexpr float kInversePi = std::numbers::inv_pi_v<float>;

}  // namespace qel
