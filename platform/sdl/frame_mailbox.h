// One-slot hand-over of finished frames from the game thread to the window
// thread. The game thread never waits for the window: a frame that was not
// taken yet is replaced by the newer one.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace qel {

class FrameMailbox {
public:
    // Copies a frame of width x height pixels, `pitch` pixels a row.
    void post(const std::uint32_t* pixels, int width, int height, int pitch);
    // Moves the newest frame into `out` (rows packed); false when no frame
    // came since the last take.
    bool take(std::vector<std::uint32_t>& out, int& width, int& height);

private:
    std::mutex mutex_;
    std::vector<std::uint32_t> slot_;
    int width_ = 0;
    int height_ = 0;
    bool fresh_ = false;
};

}  // namespace qel
