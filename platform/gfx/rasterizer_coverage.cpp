// Coverage masks (glyphs): an opaque colour goes through the vector rows of
// coverage_rows.h, any other colour pixel by pixel; the two agree pixel for
// pixel because an opaque colour at full coverage blends to itself.
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

void Rasterizer::CoverageRun::blend(std::uint32_t* dst, const std::uint8_t* mask, std::size_t pitch,
                                    std::size_t columns, std::size_t rows) const {
    const std::uint32_t rgb = argb_ & 0x00FFFFFFu;
    const std::uint32_t alpha = argb_ >> 24;
    const auto dstPitch = static_cast<std::size_t>(target_.width());
    for (std::size_t row = 0; row < rows; ++row, mask += pitch, dst += dstPitch) {
        for (std::size_t col = 0; col < columns; ++col) {
            const std::uint32_t cov = mask[col];
            if (cov == 0) continue;
            px::put<BlendMode::Alpha>(dst[col], rgb | px::div255(cov * alpha) << 24, dalpha_);
        }
    }
}

}  // namespace qel
