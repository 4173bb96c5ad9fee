// Text: the pen after each kind of text, with a fixed-metric font and the
// real one; formatted text in colours and hostile formats; equal keys;
// fonts across a lost device and refused fonts.
#include "engine/render/sys_render_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/render/text_format.h"
#include "platform/font/font_face.h"
#include "tests/engine/render/render_fixture.h"

namespace qel {
namespace {

using Op = RecordingGraphicsDevice::Op;

// Every character one column of 10 pixels (two for a two-byte one); no glyphs.
class FixedFont final : public Font {
public:
    explicit FixedFont(const FontDesc& desc) : Font(desc, 10) {}
    const Glyph* glyph(const SjisStep&) const override { return nullptr; }
};

std::shared_ptr<Font> makeFixed(const FontDesc& desc) {
    if (desc.height <= 0 || desc.height > 100) return nullptr;
    return std::make_shared<FixedFont>(desc);
}

constexpr int kFixed = 5;
constexpr int kReal = 1;

struct TextTest : test::RenderFixture {
    SysRenderText& text = SysRenderText::instance();
    void SetUp() override {
        test::RenderFixture::SetUp();
        ASSERT_TRUE(text.createFont("any", kReal, 16, 0, 0, false));
        Font::setFactory(&makeFixed);
        ASSERT_TRUE(text.createFont("fixed", kFixed, 16, 0, 0, false));
        Font::setFactory(&FontFace::create);
    }
    std::vector<RecordingGraphicsDevice::Call> frame() {
        device.forgetCalls();
        render.draw();
        return device.callsOf(Op::DrawText);
    }
};

TEST_F(TextTest, ThePenStandsWhereEachTextEnds) {
    struct Case {
        const char* name;
        std::string text;
        int penX, penY, offset;
    } cases[] = {
        {"abc", "abc", 10, 20, 30},
        {"trailing spaces", "ab  ", 10, 20, 40},
        {"a line feed", "ab\nc", 10, 36, 10},
        {"two line feeds", "ab\n\nxyz", 10, 52, 30},
        {"a trail byte 0x0A",
         "\x83\x0A"
         "b",
         10, 20, 30},
        {"a lone lead byte at the end", "a\x83", 10, 20, 20},
        {"empty", "", 10, 20, 0},
    };
    for (const Case& c : cases) {
        text.setPen(-1, -1, -1);
        EXPECT_TRUE(text.drawText(kFixed, 0, 10, 20, c.text, Color::WHITE)) << c.name;
        EXPECT_EQ(text.penX(), c.penX) << c.name;
        EXPECT_EQ(text.penY(), c.penY) << c.name;
        EXPECT_EQ(text.penOffset(), c.offset) << c.name;
    }
    render.draw();
}

TEST_F(TextTest, AtThePenTheNextTextContinuesTheLine) {
    text.drawText(kFixed, 0, 10, 20, "abc", Color::WHITE);
    text.drawTextAtPen(kFixed, 0, "def", Color::WHITE);
    EXPECT_EQ(text.penOffset(), 60);
    text.drawText(kFixed, 0, 10, 20, "ab\nc", Color::WHITE);
    text.drawTextAtPen(kFixed, 0, "d\ne", Color::WHITE);
    const auto calls = frame();
    // Equal keys run in the reverse of their queuing order.
    ASSERT_EQ(calls.size(), 6u);
    const struct {
        const char* text;
        int x, y;
    } want[] = {{"d", 20, 36}, {"e", 10, 52},   {"ab", 10, 20},
                {"c", 10, 36}, {"def", 40, 20}, {"abc", 10, 20}};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].text, want[i].text) << i;
        EXPECT_EQ(calls[i].x, want[i].x) << want[i].text;
        EXPECT_EQ(calls[i].y, want[i].y) << want[i].text;
    }
}

TEST_F(TextTest, UnknownFontsAndEmptySlots) {
    text.setPen(1, 2, 3);
    EXPECT_FALSE(text.drawText(99, 0, 10, 20, "abc", Color::WHITE));
    EXPECT_EQ(text.penX(), 1);
    EXPECT_EQ(text.penOffset(), 3);
    EXPECT_EQ(render.sortedQueue().count(), 0u);
    // The queue drops a text on an empty slot; the pen is immediate.
    EXPECT_FALSE(text.drawText(kFixed, 30, 10, 20, "abc", Color::WHITE));
    EXPECT_EQ(text.penOffset(), 30);
    EXPECT_TRUE(frame().empty());
}

TEST_F(TextTest, RecordingKeepsEachTextShownOnceInItsFirstOrder) {
    text.drawText(kFixed, 0, 0, 0, "before", Color::WHITE);
    text.setRecording(true);
    text.drawText(kFixed, 0, 0, 0, "b", Color::WHITE);
    text.drawText(kFixed, 30, 0, 0, "a", Color::WHITE);  // the queue drops it: kept all the same
    text.drawText(kFixed, 0, 0, 0, "b", Color::WHITE);
    text.drawText(kFixed, 0, 0, 0, "", Color::WHITE);
    text.drawText(99, 0, 0, 0, "no font", Color::WHITE);
    text.drawFormat(0, kFixed, 0, 0, "HP ##%d", Color::WHITE, Color::WHITE, 5);
    EXPECT_EQ(text.takeRecorded(), (std::vector<std::string>{"b", "a", "HP ", "5"}));
    text.drawText(kFixed, 0, 0, 0, "b", Color::WHITE);
    EXPECT_EQ(text.takeRecorded(), (std::vector<std::string>{"b"})) << "a take starts afresh";
    for (std::size_t i = 0; i <= SysRenderText::kRecordLimit; ++i)
        text.drawText(kFixed, 48, 0, 0, std::to_string(i), Color::WHITE);
    EXPECT_EQ(text.takeRecorded().size(), SysRenderText::kRecordLimit);
    text.setRecording(false);
    text.drawText(kFixed, 0, 0, 0, "after", Color::WHITE);
    EXPECT_TRUE(text.takeRecorded().empty());
}

TEST_F(TextTest, TheRealFontIsHalfAndFullWidth) {
    text.drawText(kReal, 0, 0, 0, "a", Color::WHITE);
    EXPECT_EQ(text.penOffset(), 8);
    text.drawText(kReal, 0, 0, 0, "あ", Color::WHITE);
    EXPECT_EQ(text.penOffset(), 16);
    text.drawText(kReal, 0, 0, 0, "aあ\nあa", Color::WHITE);
    EXPECT_EQ(text.penOffset(), 24);
    EXPECT_EQ(text.penY(), 16);
    const auto calls = frame();
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].font.height, 16);
}

TEST_F(TextTest, TheHpLineInThreeColours) {
    const Color c0(0xFF000001u), c1(0xFF000002u), c2(0xFF000003u);
    EXPECT_TRUE(text.drawFormat(0, kFixed, 10, 20, "HP ##%d##/%d", c0, c1, 5, c2, 9));
    EXPECT_EQ(text.penOffset(), 60);
    const auto calls = frame();
    ASSERT_EQ(calls.size(), 3u);
    const struct {
        const char* text;
        int x;
        std::uint32_t colour;
    } want[] = {{"/9", 50, c2.argb()}, {"5", 40, c1.argb()}, {"HP ", 10, c0.argb()}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(calls[i].text, want[i].text);
        EXPECT_EQ(calls[i].x, want[i].x) << want[i].text;
        EXPECT_EQ(calls[i].y, 20);
        EXPECT_EQ(calls[i].color, want[i].colour) << want[i].text;
    }
}

TEST(TextFormat, HostileFormatsGiveDefinedText) {
    const Color red(0xFFFF0000u);
    const std::string escaped = SysRenderText::escapeFormat("50%d%");
    struct Case {
        const char* name;
        const char* format;
        std::vector<FormatArg> args;
        std::vector<std::string> pieces;
        Color last = Color::WHITE;
    } cases[] = {
        {"missing argument", "%d and %d", {1}, {"1 and "}},
        {"surplus arguments", "%d", {1, 2, 3}, {"1"}},
        {"text for a number", "%d", {"x"}, {""}},
        {"a number for text", "%s", {5}, {""}},
        {"a float for an integer", "%d|%f", {1.5, 2.5}, {"|2.500000"}},
        {"%n stores nothing", "a%nb", {5}, {"ab"}},
        {"percent", "100%%", {}, {"100%"}},
        {"star width", "%*d|", {5, 42}, {"   42|"}},
        {"star without its value", "%*d|", {5}, {"|"}},
        {"star of text", "%*d|", {"5", 42}, {"|"}},
        {"a huge width", "%999999999d|", {1}, {"|"}},
        {"a huge star", "%*d|", {1 << 30, 1}, {"|"}},
        {"precision", "%5.2f", {3.14159}, {" 3.14"}},
        {"32-bit hex", "%x", {-1}, {"ffffffff"}},
        {"long long", "%lld", {std::int64_t{1} << 40}, {"1099511627776"}},
        {"short", "%hd", {70000}, {"4464"}},
        {"a character", "%c%c", {'A', 0x142}, {"AB"}},
        {"text", "<%-4s>", {"ab"}, {"<ab  >"}},
        {"the end inside a conversion", "ab%5", {1}, {"ab"}},
        {"not a conversion", "%y", {}, {"%y"}},
        {"Shift-JIS kept whole",
         "\x83\x25%d",
         {7},
         {"\x83\x25"
          "7"}},
        {"colours", "a##b##c", {red}, {"a", "b", "c"}, red},
        {"a colour that is a number", "a##b", {7}, {"a", "b"}},
        {"no colour left", "a##b##", {}, {"a", "b", ""}},
        {"escaped script text", escaped.c_str(), {1}, {"50%d%"}},
    };
    for (const Case& c : cases) {
        const auto pieces = formatPieces(c.format, Color::WHITE, c.args);
        ASSERT_EQ(pieces.size(), c.pieces.size()) << c.name;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].text, c.pieces[i]) << c.name;
        }
        EXPECT_EQ(pieces.back().colour, c.last) << c.name;
    }
}

TEST_F(TextTest, FontsSurviveALostDeviceAndRefusalsKeepTheOld) {
    const FontDesc before = text.findFont(kReal)->desc;
    render.onLostDevice();
    ASSERT_TRUE(text.hasFont(kReal));
    EXPECT_EQ(text.findFont(kReal)->font, nullptr);
    text.drawText(kReal, 0, 0, 0, "skipped", Color::WHITE);
    EXPECT_TRUE(frame().empty());
    render.onResetDevice();
    ASSERT_NE(text.findFont(kReal)->font, nullptr);
    EXPECT_EQ(text.findFont(kReal)->desc.height, before.height);
    EXPECT_EQ(text.findFont(kReal)->desc.face, before.face);

    EXPECT_FALSE(text.createFont("any", kReal, 0, 0, 0, false));
    EXPECT_FALSE(text.createFont("any", 77, -5, 0, 0, false));
    EXPECT_EQ(text.findFont(kReal)->desc.height, 16);
    EXPECT_FALSE(text.hasFont(77));
    EXPECT_TRUE(text.createFont("any", kReal, 24, 0, 0, true));
    EXPECT_EQ(text.findFont(kReal)->desc.height, 24);
    EXPECT_TRUE(text.findFont(kReal)->desc.italic);
    ASSERT_TRUE(text.hasFont(SysRenderText::kDefaultFontId));
    EXPECT_EQ(text.findFont(0)->desc.face, SysRenderText::kDefaultFace);
}

}  // namespace
}  // namespace qel
