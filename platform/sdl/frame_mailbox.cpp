#include "platform/sdl/frame_mailbox.h"

#include <algorithm>

namespace qel {

void FrameMailbox::post(const std::uint32_t* pixels, int width, int height, int pitch) {
    if (!pixels || width <= 0 || height <= 0 || pitch < width) return;
    std::lock_guard lock(mutex_);
    slot_.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * pitch;
        std::copy(row, row + width, slot_.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    width_ = width;
    height_ = height;
    fresh_ = true;
}

bool FrameMailbox::take(std::vector<std::uint32_t>& out, int& width, int& height) {
    std::lock_guard lock(mutex_);
    if (!fresh_) return false;
    // Swapping hands the caller's old buffer back for the next post.
    out.swap(slot_);
    width = width_;
    height = height_;
    fresh_ = false;
    return true;
}

}  // namespace qel
