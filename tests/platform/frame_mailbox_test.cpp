#include "platform/sdl/frame_mailbox.h"

#include <gtest/gtest.h>

#include <vector>

namespace qel {
namespace {

TEST(FrameMailbox, HandsOverOnlyTheNewestFrameOnce) {
    FrameMailbox box;
    std::vector<std::uint32_t> out;
    int w = 0;
    int h = 0;
    EXPECT_FALSE(box.take(out, w, h));

    const std::uint32_t first[] = {1, 2, 3, 4};
    const std::uint32_t second[] = {5, 6, 7, 8};
    box.post(first, 2, 2, 2);
    box.post(second, 2, 2, 2);  // the window thread was late: the older one is dropped
    ASSERT_TRUE(box.take(out, w, h));
    EXPECT_EQ(out, (std::vector<std::uint32_t>{5, 6, 7, 8}));
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);
    EXPECT_FALSE(box.take(out, w, h));
    EXPECT_EQ(out.size(), 4u);  // a failed take leaves the last frame alone
}

TEST(FrameMailbox, PacksRowsOfAPitchedSourceAndIgnoresBadFrames) {
    FrameMailbox box;
    // 2 x 2 frame in rows of 3 pixels: the third column is padding.
    const std::uint32_t pitched[] = {1, 2, 99, 3, 4, 99};
    box.post(pitched, 2, 2, 3);
    std::vector<std::uint32_t> out;
    int w = 0;
    int h = 0;
    ASSERT_TRUE(box.take(out, w, h));
    EXPECT_EQ(out, (std::vector<std::uint32_t>{1, 2, 3, 4}));

    box.post(nullptr, 2, 2, 2);
    box.post(pitched, 0, 2, 2);
    box.post(pitched, 3, 2, 2);  // pitch shorter than a row
    EXPECT_FALSE(box.take(out, w, h));
}

}  // namespace
}  // namespace qel
