// Pictures drawn from text: chips land in their cells in their palette's
// colours, copies repeat them, and lines that are not right are refused by
// number.
#include "tools/lib/chip_art.h"

#include <gtest/gtest.h>

#include <string>

namespace qel::tools {
namespace {

TEST(ChipArt, ChipsAndCopiesLandInTheirCells) {
    const std::string text =
        "# two by two chips of 2 pixels\n"
        "size 4 4 2\n"
        "palette W FFFFFF\n"
        "chip 1 0\n"
        "W.\n"
        ".W\n"
        "copy 1 0 0 1\n";
    ChipPicture art;
    std::string error;
    ASSERT_TRUE(drawChipArt(text, art, error)) << error;
    ASSERT_EQ(art.argb.size(), 16u);
    auto at = [&](int x, int y) { return art.argb[static_cast<std::size_t>(y * 4 + x)]; };
    EXPECT_EQ(at(2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(at(3, 0), 0xFF000000u) << "'.' is black, the transparent key";
    EXPECT_EQ(at(3, 1), 0xFFFFFFFFu);
    EXPECT_EQ(at(0, 2), 0xFFFFFFFFu) << "copied";
    EXPECT_EQ(at(0, 0), 0xFF000000u) << "untouched cells stay black";
    const std::vector<std::uint8_t> png = encodePng(art);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
}

TEST(ChipArt, GradientsShadeDownAndBlocksScaleTheirLetters) {
    const std::string text =
        "size 6 5 1\n"
        "gradient 0 0 6 3 000000 0000FF\n"
        "palette R FF0000\n"
        "block 2 1 2\n"
        "R \n"
        "end\n";
    ChipPicture art;
    std::string error;
    ASSERT_TRUE(drawChipArt(text, art, error)) << error;
    auto at = [&](int x, int y) { return art.argb[static_cast<std::size_t>(y * 6 + x)]; };
    EXPECT_EQ(at(0, 0), 0xFF000000u);
    EXPECT_EQ(at(0, 1), 0xFF00007Fu) << "half way down";
    EXPECT_EQ(at(0, 2), 0xFF0000FFu);
    EXPECT_EQ(at(0, 3), 0xFF000000u) << "below the gradient";
    EXPECT_EQ(at(2, 1), 0xFFFF0000u);
    EXPECT_EQ(at(3, 2), 0xFFFF0000u) << "a letter is a 2 x 2 square";
    EXPECT_EQ(at(4, 1), 0xFF00007Fu) << "a space leaves the picture below";
}

TEST(ChipArt, BadLinesAreRefusedByNumber) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"size 4 4 2\nchip 2 0\nW.\n.W\n",
         "line 2: chip takes a column and a row inside the picture"},
        {"size 4 4 2\nchip 0 0\nX.\n..\n", "line 3: a letter without a colour"},
        {"size 4 4 2\nchip 0 0\n...\n..\n", "line 3: a chip row of 2 letters expected"},
        {"size 4 4 2\ndraw\n", "line 2: unknown command draw"},
        {"palette W FFF\n", "line 1: palette takes a letter and RRGGBB"},
        {"# nothing\n", "no size: the description draws nothing"},
        {"size 4 4 2\ngradient 0 0 5 1 000000 FFFFFF\n",
         "line 2: gradient takes a rectangle inside the picture and two RRGGBB"},
        {"size 4 4 2\nblock 0 0 2\n...\nend\n", "line 3: a block row outside the picture"},
        {"size 4 4 2\nblock 0 0 1\n..\n", "line 2: a block without its end"},
    };
    for (const auto& c : cases) {
        ChipPicture art;
        std::string error;
        EXPECT_FALSE(drawChipArt(c.text, art, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

}  // namespace
}  // namespace qel::tools
