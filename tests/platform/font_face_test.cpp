// Fonts: the cell grid, Shift-JIS stepping (lone lead bytes, invalid bytes),
// drawing through the device and the alpha text leaves in a transparent
// target.
#include "platform/font/font_face.h"

#include <gtest/gtest.h>

#include <limits>
#include <thread>

#include "platform/gfx/software_graphics_device.h"
#include "tests/support/gfx_test_support.h"

namespace qel {
namespace {

std::shared_ptr<Font> gothic(int height = 16, unsigned width = 0, unsigned weight = 0) {
    FontDesc desc;
    desc.height = height;
    desc.width = width;
    desc.weight = weight;
    desc.face = "ＭＳ ゴシック";
    auto font = Font::create(desc);
    EXPECT_TRUE(font) << "the Gothic font file must be installed";
    return font;
}

TEST(FontFace, MeasuresOnTheCellGrid) {
    struct Case {
        const char* name;
        int height;
        unsigned width;
        std::string text;
        TextExtent expected;
    };
    const std::vector<Case> cases = {
        {"one-byte letters", 16, 0, "abc", {24, 16}},
        {"two-byte characters", 16, 0, "漢字", {32, 16}},
        {"mixed widths", 16, 0, "aあb", {32, 16}},
        {"half-width katakana", 16, 0, "ｱｲ", {16, 16}},
        {"requested column width", 12, 10, "ab漢", {40, 12}},
        {"trailing spaces count", 16, 0, "ab  ", {32, 16}},
        {"line feeds: widest line, lines x height", 16, 0, "ab\ncde\n", {24, 48}},
        {"lead byte takes a 0x0A trail byte", 16, 0, std::string("a\x82\x0A", 3), {24, 16}},
        {"empty", 16, 0, "", {0, 0}},
    };
    for (const Case& c : cases) {
        auto font = gothic(c.height, c.width);
        ASSERT_TRUE(font);
        const TextExtent e = font->measure(c.text);
        EXPECT_EQ(e.width, c.expected.width) << c.name;
        EXPECT_EQ(e.height, c.expected.height) << c.name;
    }
}

TEST(FontFace, LoneLeadByteAtTheEndNeverReadsPastTheText) {
    auto font = gothic();
    ASSERT_TRUE(font);
    // The byte after the view would pair with the lead byte if it were read.
    const std::string buffer("ab\x82\x41", 4);
    const std::string_view text(buffer.data(), 3);
    EXPECT_EQ(font->measure(text).width, 24);
    const SjisStep last = sjisStep(text, 2);
    EXPECT_EQ(last.length, 1);
    EXPECT_EQ(last.columns, 1);
    // A heap copy of exactly three bytes: AddressSanitizer catches a read past it.
    auto exact = std::make_unique<char[]>(3);
    std::copy(buffer.begin(), buffer.begin() + 3, exact.get());
    auto device = SoftwareGraphicsDevice::create(64, 16).device;
    device->drawText(*font, 0, 0, std::string_view(exact.get(), 3), 0xFFFFFFFFu);
}

TEST(FontFace, ReportsTheDescriptionItWasAskedFor) {
    FontDesc desc;
    desc.height = 20;
    desc.width = 7;
    desc.weight = 700;
    desc.italic = true;
    desc.face = "ＭＳ Ｐ明朝";
    auto font = Font::create(desc);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->desc().face, desc.face);
    EXPECT_EQ(font->desc().height, 20);
    EXPECT_EQ(font->desc().weight, 700u);
    EXPECT_TRUE(font->desc().italic);
    EXPECT_EQ(font->cellHeight(), 20);
    EXPECT_EQ(font->columnWidth(), 7);
}

TEST(FontFace, EveryFaceNameDrawsTheSameGothicFromOneCachedGlyph) {
    FontDesc ms;
    ms.height = 16;
    ms.face = "ＭＳ ゴシック";
    FontDesc other = ms;
    other.face = "Times New Roman";
    auto a = Font::create(ms);
    auto b = Font::create(other);
    ASSERT_TRUE(a && b);
    std::vector<std::vector<std::uint8_t>> seenA;
    std::vector<std::vector<std::uint8_t>> seenB;
    std::vector<const Glyph*> glyphs;
    a->layout("漢漢", [&](int, int, const Glyph& g) {
        seenA.push_back(g.coverage);
        glyphs.push_back(&g);
    });
    b->layout("漢", [&](int, int, const Glyph& g) { seenB.push_back(g.coverage); });
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0], glyphs[1]) << "the second use comes from the cache";
    ASSERT_EQ(seenB.size(), 1u);
    EXPECT_EQ(seenA[0], seenB[0]);
}

TEST(FontFace, ThreadsLayingOutAtOnceGetTheSameCachedGlyphs) {
    // A fresh font, so the threads race to render and to publish each glyph:
    // one-byte and two-byte codes, and a lone lead byte whose code (0x82)
    // is the lead of the two-byte ones. Each character has one glyph.
    auto font = gothic(17);
    ASSERT_TRUE(font);
    const std::string text = "Ab\x82\xA0漢字あ1\x82";
    constexpr int kThreads = 4;
    std::vector<std::vector<const Glyph*>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round) {
                std::vector<const Glyph*> glyphs;
                font->layout(text, [&](std::int64_t, std::int64_t, const Glyph& g) {
                    glyphs.push_back(&g);
                });
                if (round == 0) seen[t] = glyphs;
                if (glyphs != seen[t]) seen[t].clear();
            }
        });
    }
    for (std::thread& t : threads) t.join();
    ASSERT_EQ(seen[0].size(), 8u);
    for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]) << "thread " << t;
    const std::vector<const Glyph*>& g = seen[0];
    EXPECT_NE(g[2], g[7]) << "the two-byte code and the lone lead byte";
    EXPECT_EQ(g[2], g[5]) << "the same character twice";
    EXPECT_NE(g[0], g[1]);
}

TEST(FontFace, UnusableDescriptionsOrFilesGiveNoFont) {
    FontDesc desc;
    desc.height = 0;
    EXPECT_FALSE(Font::create(desc));
    desc.height = -12;
    EXPECT_FALSE(Font::create(desc));
    desc.height = 16;
    EXPECT_FALSE(FontFace::open(desc, "/nonexistent/font.ttf"));
    EXPECT_FALSE(FontFace::open(desc, QEL_SOURCE_DIR "/engine/gfx/CONVENTIONS.md"));
}

struct Drawn {
    Surface surface{48, 32, PixelFormat::A8R8G8B8};
    Rect box;  // bounding box of touched pixels (empty when none)
    int count = 0;
};

Drawn draw(const Font& font, int x, int y, std::string_view text, std::uint32_t color,
           Rect viewport = Rect{0, 0, 48, 32}) {
    auto device = SoftwareGraphicsDevice::create(48, 32).device;
    Drawn d;
    auto target = device->createSurface(48, 32, PixelFormat::A8R8G8B8);
    device->setRenderTarget(target);
    device->setViewport(viewport);
    device->drawText(font, x, y, text, color);
    d.surface = *target;
    d.box = Rect{48, 32, 0, 0};
    for (int py = 0; py < 32; ++py)
        for (int px = 0; px < 48; ++px)
            if (target->at(px, py) != 0) {
                ++d.count;
                d.box = Rect{std::min(d.box.left, px), std::min(d.box.top, py),
                             std::max(d.box.right, px + 1), std::max(d.box.bottom, py + 1)};
            }
    return d;
}

TEST(FontFace, DrawsOneBitGlyphsInsideTheirCells) {
    auto font = gothic();
    ASSERT_TRUE(font);
    const Drawn a = draw(*font, 5, 3, "A", 0xFFFFFFFFu);
    ASSERT_GT(a.count, 10);
    EXPECT_GE(a.box.left, 5);
    EXPECT_LE(a.box.right, 5 + 8);
    EXPECT_GE(a.box.top, 3);
    EXPECT_LE(a.box.bottom, 3 + 16);
    for (const std::uint32_t p : a.surface.pixels()) {
        EXPECT_TRUE(p == 0u || p == 0xFFFFFFFFu) << "1-bit coverage, got " << test::hex(p);
    }
    const Drawn kanji = draw(*font, 5, 3, "漢", 0xFFFFFFFFu);
    EXPECT_GT(kanji.count, 30);
    EXPECT_GE(kanji.box.left, 5);
    EXPECT_LE(kanji.box.right, 5 + 16);
    EXPECT_LE(kanji.box.bottom, 3 + 16);
    const Drawn twoLines = draw(*font, 0, 0, "A\nA", 0xFFFFFFFFu);
    EXPECT_EQ(twoLines.count, 2 * a.count);
    EXPECT_EQ(twoLines.box.bottom - twoLines.box.top, a.box.bottom - a.box.top + 16);
}

TEST(FontFace, InvalidBytesDrawAsACentredDot) {
    auto font = gothic();
    ASSERT_TRUE(font);
    const Drawn dot = draw(*font, 0, 0, "・", 0xFFFFFFFFu);
    ASSERT_GT(dot.count, 0);
    // One bad byte: the dot centred in one column, i.e. half a column left
    // of where it sits in its own two columns.
    const Drawn bad = draw(*font, 4, 0, "\x80", 0xFFFFFFFFu);
    EXPECT_EQ(bad.surface.pixels().size(), dot.surface.pixels().size());
    EXPECT_TRUE(std::equal(bad.surface.pixels().begin(), bad.surface.pixels().end(),
                           dot.surface.pixels().begin()));
    // A two-byte code without a character: the dot in its two columns.
    const Drawn unassigned = draw(*font, 0, 0, std::string("\x85\x40", 2), 0xFFFFFFFFu);
    EXPECT_TRUE(std::equal(unassigned.surface.pixels().begin(), unassigned.surface.pixels().end(),
                           dot.surface.pixels().begin()));
    // A user-defined code: a character, but none the face can draw.
    const Drawn userDefined = draw(*font, 0, 0, std::string("\xF0\x40", 2), 0xFFFFFFFFu);
    EXPECT_TRUE(std::equal(userDefined.surface.pixels().begin(), userDefined.surface.pixels().end(),
                           dot.surface.pixels().begin()));
}

TEST(FontFace, BoldDrawsHeavierStrokes) {
    auto regular = gothic(16, 0, 0);
    auto bold = gothic(16, 0, 700);
    ASSERT_TRUE(regular && bold);
    EXPECT_GT(draw(*bold, 0, 0, "漢", 0xFFFFFFFFu).count,
              draw(*regular, 0, 0, "漢", 0xFFFFFFFFu).count);
}

TEST(FontFace, TextInATransparentTargetKeepsTheAlphaSourceOverStores) {
    auto font = gothic();
    ASSERT_TRUE(font);
    const Drawn half = draw(*font, 0, 0, "A", 0x80FFFFFFu);
    for (const std::uint32_t p : half.surface.pixels()) {
        // s x sa + 0: colour 255 x 128 / 255 = 128, alpha 128 x 128 / 255 = 64.
        EXPECT_TRUE(p == 0u || p == 0x40808080u) << test::hex(p);
    }
}

TEST(FontFace, TextNearTheEndsOfIntDrawsNothingAndMeasuresBounded) {
    auto font = gothic(16, 1024);
    ASSERT_TRUE(font);
    const int big = std::numeric_limits<int>::max();
    const int small = std::numeric_limits<int>::min();
    const std::pair<int, int> origins[] = {{big - 3, 0}, {small + 3, 0}, {0, big},
                                           {0, small},   {big, big},     {-20000, 0}};
    for (auto [x, y] : origins) {
        EXPECT_EQ(draw(*font, x, y, "abc\n\x82\xA0", 0xFFFFFFFFu).count, 0) << x << "," << y;
    }
    // A million two-byte characters run past int at 2048 pixels each: the
    // extent stops at INT_MAX and drawing stays defined.
    std::string wide;
    for (int i = 0; i < 1100000; ++i) wide += "漢";
    EXPECT_EQ(font->measure(wide).width, big);
    draw(*font, 0, 0, wide, 0xFFFFFFFFu);  // the sanitizer watches the pen
    auto tall = gothic(1024);
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->measure(std::string(2100000, '\n')).height, big);
}

TEST(FontFace, ClippedToTheViewport) {
    auto font = gothic();
    ASSERT_TRUE(font);
    const Drawn clipped = draw(*font, 0, 0, "漢字", 0xFFFFFFFFu, Rect{4, 4, 20, 10});
    ASSERT_GT(clipped.count, 0);
    EXPECT_GE(clipped.box.left, 4);
    EXPECT_LE(clipped.box.right, 20);
    EXPECT_GE(clipped.box.top, 4);
    EXPECT_LE(clipped.box.bottom, 10);
}

}  // namespace
}  // namespace qel
