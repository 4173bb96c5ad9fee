#include "platform/sdl/frame_mailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace qel {
namespace {

TEST(FrameMailbox, HandsOverOnlyTheNewestFrameOnceByTradingBuffers) {
    FrameMailbox box;
    std::vector<std::uint32_t> out;
    int w = 0;
    int h = 0;
    EXPECT_FALSE(box.take(out, w, h));

    std::vector<std::uint32_t> frame = {1, 2, 3, 4};
    const std::uint32_t* first = frame.data();
    box.post(frame, 2, 2);
    // The poster gets a buffer of the frame's size to draw the next one in.
    ASSERT_EQ(frame.size(), 4u);
    EXPECT_NE(frame.data(), first);
    frame = {5, 6, 7, 8};
    const std::uint32_t* second = frame.data();
    box.post(frame, 2, 2);  // the window thread was late: the older one is dropped
    // The dropped frame's buffer comes back to the poster.
    EXPECT_EQ(frame.data(), first);
    ASSERT_TRUE(box.take(out, w, h));
    EXPECT_EQ(out.data(), second) << "handed over, not copied";
    EXPECT_EQ(out, (std::vector<std::uint32_t>{5, 6, 7, 8}));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
    EXPECT_FALSE(box.take(out, w, h));
    EXPECT_EQ(out.data(), second) << "a failed take leaves the last frame alone";

    // Frames of no pixels, or whose buffer does not hold their size, are
    // ignored and the poster keeps its buffer.
    std::vector<std::uint32_t> odd = {9, 9, 9};
    box.post(odd, 2, 2);
    box.post(odd, 0, 3);
    box.post(odd, 3, -1);
    EXPECT_EQ(odd, (std::vector<std::uint32_t>{9, 9, 9}));
    EXPECT_FALSE(box.take(out, w, h));
}

// The game thread posts numbered frames (every pixel holds the number) as
// fast as it can, drawing each in the buffer it got back; the window
// thread takes them as it goes and then reads each twice, as an upload
// would. Every frame taken is whole and newer than the last, and the last
// frame posted is the last one taken. Run under ThreadSanitizer, a write
// to a buffer the window thread still reads is reported.
TEST(FrameMailbox, NoFrameIsTornOrShownOutOfOrderAndTheLastIsAlwaysShown) {
    constexpr int kWidth = 64;
    constexpr int kHeight = 16;
    constexpr std::uint32_t kFrames = 3000;
    FrameMailbox box;
    std::atomic<bool> done{false};
    std::thread game([&] {
        std::vector<std::uint32_t> frame(kWidth * kHeight);
        for (std::uint32_t n = 1; n <= kFrames; ++n) {
            for (std::uint32_t& pixel : frame) pixel = n;
            box.post(frame, kWidth, kHeight);
            ASSERT_EQ(frame.size(), static_cast<std::size_t>(kWidth * kHeight));
        }
        done = true;
    });
    std::vector<std::uint32_t> shown;
    std::uint32_t last = 0;
    int taken = 0;
    for (;;) {
        const bool finished = done.load();
        int w = 0;
        int h = 0;
        if (box.take(shown, w, h)) {
            ++taken;
            ASSERT_EQ(w, kWidth);
            ASSERT_EQ(h, kHeight);
            ASSERT_EQ(shown.size(), static_cast<std::size_t>(kWidth * kHeight));
            const std::uint32_t n = shown.front();
            ASSERT_GT(n, last) << "frames come newest last";
            for (int pass = 0; pass < 2; ++pass)
                for (std::uint32_t pixel : shown) ASSERT_EQ(pixel, n) << "a torn frame";
            last = n;
        } else if (finished) {
            break;
        }
        std::this_thread::yield();
    }
    game.join();
    EXPECT_EQ(last, kFrames) << "the last frame is always shown";
    EXPECT_GE(taken, 1);
}

}  // namespace
}  // namespace qel
