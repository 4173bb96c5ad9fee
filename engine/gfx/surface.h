// A picture in memory: the render target, texture and image type of the
// graphics device. Pixels are 32-bit ARGB words (blue in the low byte), one
// row after another without padding, always on the heap.
//
// Kept true: pixels().size() == width * height, width and height >= 1, and
// an X8R8G8B8 surface written through the device holds 0xFF in every alpha
// byte (its alpha reads as 255 whatever the byte says).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace qel {

// The two formats the game uses; the values are the Direct3D format codes
// that stored settings and render-target records carry.
enum class PixelFormat : std::uint32_t {
    A8R8G8B8 = 21,
    X8R8G8B8 = 22,
};

// A half-open pixel rectangle: columns left..right-1, rows top..bottom-1.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

// The overlap of two rectangles (empty when they do not meet).
Rect intersect(const Rect& a, const Rect& b);

class Surface {
public:
    // Largest side the device accepts, as a Direct3D 9 card would.
    static constexpr int kMaxSide = 8192;
    // Sides a surface may have: 1..kMaxSide each.
    static constexpr bool validSize(int width, int height) {
        return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide;
    }

    // Throws std::bad_alloc when memory runs out; the device's creation
    // functions catch it and report failure instead.
    Surface(int width, int height, PixelFormat format);

    int width() const { return width_; }
    int height() const { return height_; }
    PixelFormat format() const { return format_; }
    bool hasAlpha() const { return format_ == PixelFormat::A8R8G8B8; }
    Rect bounds() const { return Rect{0, 0, width_, height_}; }

    std::uint32_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::span<std::uint32_t> pixels() { return pixels_; }
    std::span<const std::uint32_t> pixels() const { return pixels_; }

    // The stored word, unchecked coordinates.
    std::uint32_t at(int x, int y) const { return row(y)[x]; }
    // The alpha bits every colour read from or stored into this surface
    // carries: 0xFF000000 on an X8 surface (its alpha reads and stores as
    // 255), 0 on an A8 surface.
    std::uint32_t forcedAlpha() const { return hasAlpha() ? 0u : 0xFF000000u; }

    // The colour as drawing sees it: alpha 255 on an X8 surface.
    std::uint32_t argb(int x, int y) const { return at(x, y) | forcedAlpha(); }
    // Stores a colour as drawing would: alpha forced to 255 on an X8 surface.
    void set(int x, int y, std::uint32_t argb) { row(y)[x] = argb | forcedAlpha(); }
    // Every pixel set to the colour (alpha forced on X8).
    void fill(std::uint32_t argb);
    // Trades the pixel storage with `other`, which must hold exactly as many
    // words (false, nothing traded, when it does not): the surface then shows
    // what `other` held, and `other` the surface's picture, without a copy.
    bool exchangePixels(std::vector<std::uint32_t>& other);

private:
    int width_;
    int height_;
    PixelFormat format_;
    std::vector<std::uint32_t> pixels_;
};

using SurfacePtr = std::shared_ptr<Surface>;

}  // namespace qel
