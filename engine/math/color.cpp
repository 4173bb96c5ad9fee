#include "engine/math/color.h"

#include <cmath>

namespace qel {
namespace {

std::uint8_t lerpChannel(std::uint8_t from, std::uint8_t to, float t) {
    const float v = static_cast<float>(from) +
                    t * static_cast<float>(static_cast<int>(to) - static_cast<int>(from));
    // Cut to the low byte through a 64-bit integer so that no float reaches an
    // out-of-range conversion; NaN gives 0.
    if (std::isnan(v) || std::fabs(v) >= 9.0e18f) return 0;
    return static_cast<std::uint8_t>(static_cast<std::int64_t>(v) & 0xFF);
}

}  // namespace

Color Color::Lerp(const Color& c1, const Color& c2, float t) {
    return {lerpChannel(c1.r, c2.r, t), lerpChannel(c1.g, c2.g, t), lerpChannel(c1.b, c2.b, t),
            lerpChannel(c1.a, c2.a, t)};
}

}  // namespace qel
