// Turns vertices, lines and coverage masks into pixels of a surface, by the
// rules of engine/gfx/CONVENTIONS.md. Axis-aligned sprite quads, copies and fills go
// through fast paths; every other triangle through a span path or the
// general path (the order they are tried in is in CONVENTIONS.md). All
// evaluate the same exact fixed-point sample positions and call the same
// per-pixel functions (pixel_ops.h), so they agree pixel for pixel; the
// environment variable QEL_GFX_NO_FAST_PATHS=1 turns the fast paths off.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/gfx/graphics_device.h"
#include "engine/gfx/surface.h"
#include "platform/gfx/blend_rows.h"
#include "platform/gfx/coverage_rows.h"
#include "platform/gfx/scaled_rows.h"

namespace qel {

namespace px {
struct ExactStep;
}

struct DrawState {
    BlendMode blend = BlendMode::Off;
    TextureFilter filter = TextureFilter::Point;
    TextureAddress address = TextureAddress::Wrap;
};

// A vertex snapped to the fixed-point grid: x, y in 1/256 pixel, u, v in
// 1/256 texel of the bound texture.
struct FixedVertex {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t u = 0;
    std::int64_t v = 0;
    std::uint32_t color = 0;
    bool operator==(const FixedVertex&) const = default;
};

class Rasterizer {
public:
    struct Counters {
        std::uint64_t fastQuads = 0;
        std::uint64_t generalTriangles = 0;
        std::uint64_t spanTriangles = 0;  // other triangles, a span at a time
        std::uint64_t fastFills = 0;
    };

    Rasterizer();

    void setFastPathsEnabled(bool enabled) { fastPaths_ = enabled; }
    bool fastPathsEnabled() const { return fastPaths_; }
    const Counters& counters() const { return counters_; }

    // The rectangle (clipped to the surface) set to the colour.
    void fill(Surface& target, const Rect& rect, std::uint32_t argb);

    // A triangle list clipped to clip; a null texture samples opaque white.
    void drawTriangles(Surface& target, const Rect& clip, const Surface* texture,
                       const DrawState& state, std::span<const Vertex> vertices);

    // A polyline of 2 to 5 points, end points included, each pixel blended once.
    void drawLine(Surface& target, const Rect& clip, std::span<const LinePoint> points,
                  std::uint32_t argb);

    // Colour through a coverage mask (0..255 per pixel, row after row)
    // placed at (x, y), source-over.
    void drawCoverage(Surface& target, const Rect& clip, int x, int y, int width, int height,
                      const std::uint8_t* coverage, std::uint32_t argb);

    // drawCoverage for many masks in one target, clip and colour (a run of
    // text): what depends on those alone is settled once, when the run is
    // made. The target must outlive the run.
    class CoverageRun {
    public:
        CoverageRun(const Rasterizer& rasterizer, Surface& target, const Rect& clip,
                    std::uint32_t argb);
        void draw(int x, int y, int width, int height, const std::uint8_t* coverage) const {
            // In 64 bits: a mask placed near the ends of int must not
            // overflow while it is being clipped away.
            const std::int64_t left = std::max<std::int64_t>(limit_.left, x);
            const std::int64_t top = std::max<std::int64_t>(limit_.top, y);
            const std::int64_t right =
                std::min<std::int64_t>(limit_.right, std::int64_t{x} + width);
            const std::int64_t bottom =
                std::min<std::int64_t>(limit_.bottom, std::int64_t{y} + height);
            if (left >= right || top >= bottom) return;
            const auto pitch = static_cast<std::size_t>(width);
            const std::uint8_t* mask = coverage + static_cast<std::size_t>(top - y) * pitch +
                                       static_cast<std::size_t>(left - x);
            std::uint32_t* dst = target_.row(static_cast<int>(top)) + left;
            const auto columns = static_cast<std::size_t>(right - left);
            const auto rows = static_cast<std::size_t>(bottom - top);
            if (opaque_ != nullptr) {
                opaque_(dst, static_cast<std::size_t>(target_.width()), mask, pitch, columns, rows,
                        argb_, dalpha_);
            } else {
                blend(dst, mask, pitch, columns, rows);
            }
        }

    private:
        // The general path: each pixel blended with its coverage.
        void blend(std::uint32_t* dst, const std::uint8_t* mask, std::size_t pitch,
                   std::size_t columns, std::size_t rows) const;

        Surface& target_;
        Rect limit_;
        std::uint32_t argb_;
        std::uint32_t dalpha_;
        px::CoverOpaqueRectFn opaque_;  // null: the general path
    };

    // The fixed-point form of a vertex for a texture of the given size;
    // false when its position is not a finite number.
    static bool snap(const Vertex& in, int textureWidth, int textureHeight, FixedVertex& out);
    // The same, both axes at once in the vector unit (the fast paths' way).
    static bool snapPairs(const Vertex& in, int textureWidth, int textureHeight, FixedVertex& out);

private:
    bool drawFastQuad(Surface& target, const Rect& clip, const Surface& texture,
                      const DrawState& state, const FixedVertex* quad);
    // An axis-aligned quad of one colour given by its top-left and
    // bottom-right corners (the colour is the top-left's).
    void drawSpriteRect(Surface& target, const Rect& clip, const Surface& texture,
                        const DrawState& state, const FixedVertex& tl, const FixedVertex& br);
    // A white source-over sprite read texel for texel from a texture other
    // than the target is put in blits_ (as is one that covers no pixel);
    // false for any other, which is left to drawSpriteRect.
    bool queueSpriteBlit(Surface& target, const Rect& clip, const Surface& texture,
                         const DrawState& state, const FixedVertex& tl, const FixedVertex& br);
    // queueSpriteBlit for each of up to quads sprite quads in a row, as long
    // as they are white sprites it takes; returns how many it took.
    std::size_t queueSpriteRun(Surface& target, const Rect& clip, const Surface& texture,
                               const DrawState& state, const Vertex* vertices, std::size_t quads);
    // Draws the blits queued, in order.
    void flushBlits(Surface& target, const Surface& texture);
    void drawScaledRows(Surface& target, const Surface& texture, const DrawState& state, int x0,
                        int x1, int y0, int y1, px::ExactStep uw, px::ExactStep vw,
                        std::uint32_t color);
    // Any triangle: the first span path that takes it, else the general
    // path (rasterizer_triangle.cpp).
    void drawTriangle(Surface& target, const Rect& clip, const Surface& texture,
                      const DrawState& state, const FixedVertex& a, const FixedVertex& b,
                      const FixedVertex& c);

    bool fastPaths_ = true;
    Counters counters_;
    Surface white_;
    std::vector<FixedVertex> snapped_;
    // Per vertex: not yet snapped, snapped, or not a finite position.
    static constexpr std::uint8_t kUnsnapped = 2;
    static constexpr std::uint8_t kValid = 1;
    static constexpr std::uint8_t kInvalid = 0;
    std::vector<std::uint8_t> valid_;
    std::vector<std::uint32_t> columns_;   // per column: texel, next texel, weight
    std::vector<std::uint32_t> gathered_;  // one row of point samples
    std::vector<std::uint64_t> linePixels_;
    px::ScaledColumns scaledColumns_;
    std::vector<std::uint32_t> scaledRows_;
    std::vector<px::RectBlit> blits_;  // queued sprite blits not yet drawn
};

}  // namespace qel
