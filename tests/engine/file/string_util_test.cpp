#include "engine/file/string_util.h"

#include <gtest/gtest.h>

#include <string>

namespace qel {
namespace {

TEST(StringUtil, ParseHex) {
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"0xff", 255},    {"0XFF", 255},      {"0x", 0},
        {"x1F", 31},      {"-0x10", -16},     {"10", -1},
        {"", -1},         {"-", -1},          {"0xAbC", 0xABC},
        {"0x12g4", 0x12}, {"0xFFFFFFFF", -1}, {"0x123456789", 0x23456789},
        {"-x1", -1},      {"00x5", -1},       {"0x80000000", INT32_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(parseHex(c.text), c.expected) << '"' << c.text << '"';
}

TEST(StringUtil, CutStringKeepsWholeShiftJisCharacters) {
    const std::string kanji = "漢字語";  // three two-byte characters
    ASSERT_EQ(kanji.size(), 6u);
    const std::string mixed = "aあbい";                           // 1 + 2 + 1 + 2 bytes
    const std::string trailingLead = std::string("ab") + '\x82';  // a lead byte at the end
    struct Case {
        const char* name;
        std::string text;
        std::size_t offset, limit;
        std::string expected;
    };
    const Case cases[] = {
        {"limit 3 keeps one character", kanji, 0, 3, "漢"},
        {"limit 4 keeps two", kanji, 0, 4, "漢字"},
        {"limit 1 keeps none", kanji, 0, 1, ""},
        {"limit 0 keeps all", kanji, 0, 0, kanji},
        {"limit at the length keeps all", kanji, 0, 6, kanji},
        {"offset then cut", kanji, 2, 3, "字"},
        {"mixed widths", mixed, 0, 2, "a"},
        {"mixed widths, 3", mixed, 0, 3, "aあ"},
        {"offset past the end", kanji, 99, 2, ""},
        {"offset at the end", kanji, 6, 0, ""},
        {"lone lead byte counts as one", trailingLead, 0, 2, "ab"},
        {"lead byte pairs with the next byte", trailingLead + "cd", 0, 3, "ab"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cutString(c.text, c.offset, c.limit), c.expected) << c.name;
    }
}

TEST(StringUtil, ScannersStopAtTheEnd) {
    const std::string lead = "\x82";
    EXPECT_EQ(sjisCharSize(lead, 0), 1u);
    EXPECT_EQ(sjisCharSize(lead, 1), 0u);
    EXPECT_EQ(sjisCharSize("あ", 0), 2u);
    EXPECT_EQ(sjisPrefixLength(lead, 5), 1u);
    EXPECT_EQ(sjisPrefixLength("あい", 3), 2u);
    for (int c = 0; c < 256; ++c) {
        const bool expected = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFE);
        EXPECT_EQ(isSjisLead(static_cast<unsigned char>(c)), expected) << c;
    }
}

TEST(StringUtil, FormatArgSize) {
    struct Case {
        const char* format;
        std::size_t start;
        bool ok;
        std::size_t end;    // position of the conversion character
        std::size_t bytes;  // added to a starting count of 100
    };
    const Case cases[] = {
        {"%*.*f", 0, true, 4, 116},  {"%5.2lf", 0, true, 5, 108},  {"%d", 0, true, 1, 104},
        {"x%-08s", 1, true, 5, 104}, {"%#x", 0, true, 2, 104},     {"%Lg", 0, true, 2, 108},
        {"%hd", 0, true, 2, 104},    {"%%", 0, true, 1, 100},      {"%*d", 0, true, 2, 108},
        {"%p", 0, true, 1, 104},     {"%S", 0, true, 1, 104},      {"%E", 0, true, 1, 108},
        {"%5", 0, false, 0, 100},    {"%", 0, false, 0, 100},      {"d", 0, false, 0, 100},
        {"%d", 5, false, 5, 100},    {"% +5.3e", 0, true, 6, 108},
    };
    for (const Case& c : cases) {
        std::size_t pos = c.start;
        std::size_t bytes = 100;
        EXPECT_EQ(formatArgSize(c.format, pos, bytes), c.ok) << c.format;
        EXPECT_EQ(pos, c.ok ? c.end : c.start) << c.format;
        EXPECT_EQ(bytes, c.bytes) << c.format;
    }
}

TEST(StringUtil, FoldNameAndSlashPath) {
    EXPECT_EQ(foldName("Data/TITLE.Dat"), "data/title.dat");
    // A trail byte in 'A'..'Z' is no capital: "ア" (83 41) stays itself, not "ヂ" (83 61).
    EXPECT_EQ(foldName("アA"),
              "ア"
              "a");
    EXPECT_NE(foldName("ア"), foldName("ヂ"));
    // A lead byte at the very end stands alone.
    EXPECT_EQ(foldName("\x83"), "\x83");
    EXPECT_EQ(toSlashPath("data\\sub\\a.lua"), "data/sub/a.lua");
    // "表" is 95 5C: its trail byte is not a separator.
    EXPECT_EQ(toSlashPath("save\\表\\x"), "save/表/x");
    EXPECT_EQ(toSlashPath("a\\"), "a/");
}

}  // namespace
}  // namespace qel
