// Coverage masks (glyphs): an opaque colour goes through the vector rows of
// coverage_rows.h, any other colour pixel by pixel; the two agree pixel for
// pixel because an opaque colour at full coverage blends to itself.
#include <algorithm>

#include "platform/gfx/coverage_rows.h"
#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/rasterizer.h"

namespace qel {

void Rasterizer::drawCoverage(Surface& target, const Rect& clip, int x, int y, int width,
                              int height, const std::uint8_t* coverage, std::uint32_t argb) {
    CoverageRun(*this, target, clip, argb).draw(x, y, width, height, coverage);
}

Rasterizer::CoverageRun::CoverageRun(const Rasterizer& rasterizer, Surface& target,
                                     const Rect& clip, std::uint32_t argb)
    : target_(target),
      limit_(intersect(clip, target.bounds())),
      argb_(argb),
      dalpha_(target.forcedAlpha()),
      opaque_(rasterizer.fastPaths_ && argb >> 24 == 255 ? px::coverOpaqueRectPath() : nullptr) {}

void Rasterizer::CoverageRun::draw(int x, int y, int width, int height,
                                   const std::uint8_t* coverage) const {
    // In 64 bits: a mask placed near the ends of int must not overflow
    // while it is being clipped away.
    const std::int64_t left = std::max<std::int64_t>(limit_.left, x);
    const std::int64_t top = std::max<std::int64_t>(limit_.top, y);
    const std::int64_t right = std::min<std::int64_t>(limit_.right, std::int64_t{x} + width);
    const std::int64_t bottom = std::min<std::int64_t>(limit_.bottom, std::int64_t{y} + height);
    if (left >= right || top >= bottom) return;
    const auto pitch = static_cast<std::size_t>(width);
    const std::uint8_t* mask =
        coverage + static_cast<std::size_t>(top - y) * pitch + static_cast<std::size_t>(left - x);
    if (opaque_ != nullptr) {
        opaque_(target_.row(static_cast<int>(top)) + left,
                static_cast<std::size_t>(target_.width()), mask, pitch,
                static_cast<std::size_t>(right - left), static_cast<std::size_t>(bottom - top),
                argb_, dalpha_);
        return;
    }
    const std::uint32_t rgb = argb_ & 0x00FFFFFFu;
    const std::uint32_t alpha = argb_ >> 24;
    for (std::int64_t row = top; row < bottom; ++row, mask += pitch) {
        std::uint32_t* dst = target_.row(static_cast<int>(row)) + left;
        for (std::int64_t col = 0; col < right - left; ++col) {
            const std::uint32_t cov = mask[col];
            if (cov == 0) continue;
            px::put<BlendMode::Alpha>(dst[col], rgb | px::div255(cov * alpha) << 24, dalpha_);
        }
    }
}

}  // namespace qel
