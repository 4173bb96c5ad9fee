// Content text into Shift-JIS: what converts, what stops the build and on
// which line, and the Lua strings where a trail byte 0x5C would be read as
// an escape.
#include "tools/lib/text_convert.h"

#include <gtest/gtest.h>

#include <string>

namespace qel::tools {
namespace {

TEST(TextConvert, Utf8BecomesShiftJisOrNamesTheLine) {
    std::string out;
    std::string error;
    ASSERT_TRUE(utf8ToCp932(reinterpret_cast<const char*>(u8"a,あ\nソ,\n"), out, error)) << error;
    EXPECT_EQ(out, "a,\x82\xA0\n\x83\x5C,\n");
    // An emoji has no Shift-JIS form.
    EXPECT_FALSE(utf8ToCp932("ok\nan emoji \xF0\x9F\x98\x80\n", out, error));
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    EXPECT_FALSE(utf8ToCp932("bad \xFF byte", out, error));
    EXPECT_EQ(error.rfind("line 1: ", 0), 0u) << error;
}

TEST(TextConvert, LuaShortStringsWithATrailBackslashAreRefused) {
    std::string error;
    const std::string so = "\x83\x5C";  // "ソ": its second byte is '\'
    EXPECT_TRUE(
        checkLuaShortStrings("x = [[" + so + "]] -- " + so + "\n--[[ " + so + " ]]\n", error))
        << error;
    EXPECT_TRUE(checkLuaShortStrings("x = 'a\\'b' y = \"\x82\xA0\"\n", error)) << error;
    EXPECT_FALSE(checkLuaShortStrings("a = 1\nb = \"" + so + "\"\n", error));
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
    EXPECT_FALSE(checkLuaShortStrings("c = [==[ x ]==]\nd = '" + so + "'\n", error));
    EXPECT_EQ(error.rfind("line 2: ", 0), 0u) << error;
}

}  // namespace
}  // namespace qel::tools
