#include "engine/gfx/surface.h"

#include <algorithm>

namespace qel {

Rect intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.empty()) return Rect{};
    return r;
}

Surface::Surface(int width, int height, PixelFormat format)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      format_(format),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0u) {}

void Surface::fill(std::uint32_t argb) {
    std::fill(pixels_.begin(), pixels_.end(), argb | forcedAlpha());
}

bool Surface::exchangePixels(std::vector<std::uint32_t>& other) {
    if (other.size() != pixels_.size()) return false;
    pixels_.swap(other);
    return true;
}

}  // namespace qel
