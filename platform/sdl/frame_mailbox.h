// The hand-over of finished frames from the game thread to the window
// thread, by trading buffers: the game thread draws into one while the
// window thread shows another, and a post swaps the game's finished frame
// into the box's slot. Nothing is copied and neither thread waits for the
// other longer than a swap. A frame that was not taken yet is replaced by
// the newer one.
//
// Three buffers go round: the poster's, the slot and the taker's. A post
// gives the poster the slot's buffer (a frame dropped untaken, or the one
// the taker gave back at its last take); a take gives the taker the newest
// frame and puts its old buffer in the slot. So a frame's pixels, once
// posted, are written by no one until the poster gets that buffer back at
// a later post, and the poster may read them until its next post.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace qel {

class FrameMailbox {
public:
    // Hands over `frame` (width x height pixels, rows packed): it comes back
    // holding a buffer of the same size to draw the next frame in. A frame
    // of no pixels, or whose size does not match, is ignored.
    void post(std::vector<std::uint32_t>& frame, int width, int height);
    // Trades `out` for the newest frame; false (and `out` left alone) when
    // no frame came since the last take.
    bool take(std::vector<std::uint32_t>& out, int& width, int& height);

private:
    std::mutex mutex_;
    std::vector<std::uint32_t> slot_;
    int width_ = 0;
    int height_ = 0;
    bool fresh_ = false;
};

}  // namespace qel
