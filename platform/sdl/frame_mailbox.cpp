#include "platform/sdl/frame_mailbox.h"

namespace qel {

void FrameMailbox::post(std::vector<std::uint32_t>& frame, int width, int height) {
    if (width <= 0 || height <= 0) return;
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (frame.size() != size) return;
    {
        std::lock_guard lock(mutex_);
        frame.swap(slot_);
        width_ = width;
        height_ = height;
        fresh_ = true;
    }
    // The first posts, or a new size: the buffer that came back is made to
    // fit (outside the lock: it is the poster's alone now).
    if (frame.size() != size) frame.assign(size, 0);
}

bool FrameMailbox::take(std::vector<std::uint32_t>& out, int& width, int& height) {
    std::lock_guard lock(mutex_);
    if (!fresh_) return false;
    // Swapping hands the caller's old buffer back for a later post.
    out.swap(slot_);
    width = width_;
    height = height_;
    fresh_ = false;
    return true;
}

}  // namespace qel
