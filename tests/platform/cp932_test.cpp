#include "platform/os/cp932.h"

#include <gtest/gtest.h>

namespace qel {
namespace {

TEST(Cp932, ConvertsProgramTextBothWays) {
    // Program literals are Shift-JIS at run time; u8 literals stay UTF-8.
    const char* sjis = "多重起動は出来ません。";
    const char8_t* utf8 = u8"多重起動は出来ません。";
    std::string expected(reinterpret_cast<const char*>(utf8));
    EXPECT_EQ(Cp932::toUtf8(sjis), expected);
    EXPECT_EQ(Cp932::fromUtf8(expected), sjis);
    EXPECT_EQ(Cp932::toUtf8("Vornhaldeen"), "Vornhaldeen");
    EXPECT_EQ(Cp932::toUtf8(""), "");
    // Half-width katakana are single bytes in Shift-JIS.
    EXPECT_EQ(Cp932::toUtf8("\xB1"), reinterpret_cast<const char*>(u8"ｱ"));
}

TEST(Cp932, BadBytesBecomeQuestionMarksAndTheRestSurvives) {
    // 0x81 0x20 is a lead byte with an invalid trail; a lone lead byte ends the text.
    EXPECT_EQ(Cp932::toUtf8("a\x81 b"), "a? b");
    EXPECT_EQ(Cp932::toUtf8("ab\x82"), "ab?");
    // A long text crosses the converter's buffer several times.
    std::string many;
    for (int i = 0; i < 200; ++i) many += "漢";
    std::string back = Cp932::fromUtf8(Cp932::toUtf8(many));
    EXPECT_EQ(back, many);
}

TEST(Cp932, StrictConversionRefusesAWholeTextWithACharacterWithoutAForm) {
    std::string out = "stale";
    EXPECT_TRUE(Cp932::fromUtf8Strict(reinterpret_cast<const char*>(u8"かな漢字ｶA"), out));
    EXPECT_EQ(out, "かな漢字ｶA");
    for (const char8_t* text : {u8"a𠮷b", u8"😀", u8"x\xff"}) {
        EXPECT_FALSE(Cp932::fromUtf8Strict(reinterpret_cast<const char*>(text), out));
        EXPECT_EQ(out, "");
    }
}

}  // namespace
}  // namespace qel
