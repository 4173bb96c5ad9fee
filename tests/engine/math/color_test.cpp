#include "engine/math/color.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace qel {
namespace {

TEST(Color, BytesAreBlueGreenRedAlphaFromTheLowestAddress) {
    const Color c(0x11, 0x22, 0x33, 0x44);  // r, g, b, a
    unsigned char bytes[4];
    std::memcpy(bytes, &c, 4);
    EXPECT_EQ(bytes[0], 0x33);
    EXPECT_EQ(bytes[1], 0x22);
    EXPECT_EQ(bytes[2], 0x11);
    EXPECT_EQ(bytes[3], 0x44);
    EXPECT_EQ(c.argb(), 0x44112233u);
    EXPECT_EQ(Color(0x44112233u), c);
    EXPECT_EQ(Color(255, 0, 0).argb(), 0xFFFF0000u) << "three channels give opaque";
    EXPECT_EQ(Color(Color::RED, 0x80).argb(), 0x80FF0000u) << "copy with new alpha";
}

TEST(Color, NamedConstants) {
    struct Case {
        const char* name;
        const Color& color;
        std::uint32_t argb;
    };
    const Case cases[] = {
        {"BLACK", Color::BLACK, 0xFF000000u},
        {"WHITE", Color::WHITE, 0xFFFFFFFFu},
        {"GLAY", Color::GLAY, 0xFF808080u},
        {"RED", Color::RED, 0xFFFF0000u},
        {"GREEN", Color::GREEN, 0xFF00FF00u},
        {"BLUE", Color::BLUE, 0xFF0000FFu},
        {"YELLOW", Color::YELLOW, 0xFFFFFF00u},
        {"CYAN", Color::CYAN, 0xFF00FFFFu},
        {"MAGENTA", Color::MAGENTA, 0xFFFF00FFu},
        {"TRANSPARENT_BLACK", Color::TRANSPARENT_BLACK, 0x00000000u},
        {"TRANSPARENT_WHITE", Color::TRANSPARENT_WHITE, 0x00FFFFFFu},
    };
    for (const Case& c : cases) EXPECT_EQ(c.color.argb(), c.argb) << c.name;
}

TEST(Color, Products) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        Color got;
        std::uint32_t want;
    };
    const Case cases[] = {
        // Modulation: (a * b) >> 8 on every channel, alpha included.
        {"white x white loses a step", Color::WHITE * Color::WHITE, 0xFEFEFEFEu},
        {"grey x grey", Color::GLAY * Color::GLAY, 0xFE404040u},
        {"zero x anything", Color::TRANSPARENT_BLACK * Color::WHITE, 0x00000000u},
        {"anything x zero", Color(0xC8643280u) * Color(0u), 0x00000000u},
        {"1 x white is 0", Color(0x01010101u) * Color::WHITE, 0x00000000u},
        {"mixed", Color(200, 100, 50, 128) * Color(128, 64, 255, 255), 0x7F641931u},
        // Float scaling: rgb only, truncated, clamped; alpha kept.
        {"grey x 3 clamps", Color::GLAY * 3.0f, 0xFFFFFFFFu},
        {"red 200 x 1.5 clamps", Color(200, 10, 0, 7) * 1.5f, 0x07FF0F00u},
        {"x 0.5 truncates", Color(255, 3, 1, 9) * 0.5f, 0x097F0100u},
        // 10 * 0.7f is 6.99999988 exactly but 7 once rounded to float.
        {"product in single precision", Color(10, 0, 0, 0) * 0.7f, 0x00070000u},
        {"negative factor floors at 0", Color::WHITE * -2.0f, 0xFF000000u},
        {"NaN factor gives 0", Color::WHITE * nan, 0xFF000000u},
        {"infinite factor clamps", Color(1, 0, 0, 0) * inf, 0x00FF0000u},
        {"red 200 / 3", Color(200, 100, 50, 128) / 3.0f, 0x80422110u},
        {"/ 0 saturates lit channels", Color(5, 0, 1, 3) / 0.0f, 0x03FF00FFu},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got.argb(), c.want) << std::hex << c.name;
}

TEST(Color, SaturatingSumAndDifferenceKeepLeftAlpha) {
    const Color a(200, 100, 50, 128), b(100, 200, 10, 255);
    EXPECT_EQ(a + b, Color(255, 255, 60, 128));
    EXPECT_EQ(a - b, Color(100, 0, 40, 128));
    EXPECT_EQ(Color::WHITE + Color::GLAY, Color::WHITE);
    EXPECT_EQ(Color::BLACK - Color::WHITE, Color::BLACK);
}

TEST(Color, LerpIsPerChannelIncludingAlpha) {
    EXPECT_EQ(Color::Lerp(Color::BLACK, Color::WHITE).argb(), 0xFF7F7F7Fu) << "default t = 0.5";
    EXPECT_EQ(Color::Lerp(Color::TRANSPARENT_BLACK, Color::WHITE, 0.5f).argb(), 0x7F7F7F7Fu);
    EXPECT_EQ(Color::Lerp(Color::RED, Color::BLUE, 0.0f), Color::RED);
    EXPECT_EQ(Color::Lerp(Color::RED, Color::BLUE, 1.0f), Color::BLUE);
    // Beyond 1 the channel is cut to its low byte: 0 + 2 * 255 = 510 -> 0xFE.
    EXPECT_EQ(Color::Lerp(Color::BLACK, Color::WHITE, 2.0f).argb(), 0xFFFEFEFEu);
    EXPECT_EQ(Color::Lerp(Color::BLACK, Color::WHITE, 1e30f).argb(), 0xFF000000u)
        << "out-of-range float does not reach an undefined conversion";
}

TEST(Color, SetKeepsOrReplacesAlpha) {
    Color c(0x80102030u);
    c.set(1, 2, 3);
    EXPECT_EQ(c.argb(), 0x80010203u);
    c.set(4, 5, 6, 7);
    EXPECT_EQ(c.argb(), 0x07040506u);
    c.setArgb(0xDEADBEEFu);
    EXPECT_EQ(c.argb(), 0xDEADBEEFu);
}

}  // namespace
}  // namespace qel
