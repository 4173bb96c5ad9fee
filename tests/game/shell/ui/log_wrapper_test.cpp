// The message log's line breaking as a pure table of runs: wrapping at whole
// characters, line feeds, line entries, narrow lines, and the frame's limit
// of new lines with the rest handed back.
#include "game/shell/ui/log_wrapper.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// "+" marks a run that starts a new line: "+1@0:text".
std::string show(const std::vector<LogWrapper::Run>& runs) {
    std::ostringstream out;
    for (const LogWrapper::Run& r : runs) {
        out << (r.newLine ? "+" : "") << r.line << "@" << r.column << ":" << r.bytes << " ";
    }
    return out.str();
}

TEST(LogWrapper, BreaksAtWholeCharactersLineFeedsAndLineEntries) {
    struct Entry {
        const char* text;
        bool line;
    };
    struct Case {
        const char* name;
        std::uint32_t width;
        std::vector<Entry> entries;
        const char* runs;
    } cases[] = {
        {"fits", 8, {{"abc", false}, {"de", false}}, "0@0:abc 0@3:de "},
        {"wraps", 4, {{"abcdefghij", false}}, "0@0:abcd +1@0:efgh +2@0:ij "},
        {"two-byte never split", 5, {{"abあいう", false}}, "0@0:abあ +1@0:いう "},
        {"line feed", 8, {{"ab\ncd", false}}, "0@0:ab +1@0:cd "},
        {"two line feeds leave no empty line", 8, {{"ab\n\ncd", false}}, "0@0:ab +1@0:cd "},
        {"feed at the end starts nothing yet",
         8,
         {{"ab\n", false}, {"c", false}},
         "0@0:ab +1@0:c "},
        {"message continues the line",
         6,
         {{"abcd", false}, {"efg", false}},
         "0@0:abcd 0@4:ef +1@0:g "},
        {"line entry that does not fit starts anew",
         6,
         {{"abcd", false}, {"efg", true}},
         "0@0:abcd +1@0:efg "},
        {"line entry that fits continues", 6, {{"abc", false}, {"def", true}}, "0@0:abc 0@3:def "},
        {"width 1 takes a two-byte character whole", 1, {{"aあb", false}}, "0@0:a +1@0:あ +2@0:b "},
        {"width 0 counts as 1", 0, {{"ab", false}}, "0@0:a +1@0:b "},
        {"empty text", 4, {{"", false}, {"", true}}, ""},
    };
    for (const Case& c : cases) {
        LogWrapper wrapper(c.width, 8);
        std::vector<LogWrapper::Run> runs;
        std::string rest;
        for (const Entry& e : c.entries) {
            EXPECT_TRUE(wrapper.add(e.text, Color::WHITE, e.line, runs, rest)) << c.name;
        }
        EXPECT_EQ(show(runs), c.runs) << c.name;
    }
}

TEST(LogWrapper, TwentyLineFeedsSpreadOverThreeFramesInOrder) {
    std::string text = "0";
    for (int i = 1; i <= 20; ++i) text += "\n" + std::to_string(i % 10);
    LogWrapper wrapper(8, 8);
    std::string pending = text;
    std::string got;
    int frames = 0;
    bool done = false;
    while (!done && frames < 5) {
        std::vector<LogWrapper::Run> runs;
        std::string rest;
        done = wrapper.add(pending, Color::WHITE, false, runs, rest);
        for (const LogWrapper::Run& r : runs) got += r.bytes;
        EXPECT_LE(wrapper.linesThisFrame(), 8);
        pending = rest;
        wrapper.nextFrame();
        ++frames;
    }
    EXPECT_TRUE(done);
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(got, "012345678901234567890");
}

TEST(LogWrapper, AColourTravelsWithItsRuns) {
    LogWrapper wrapper(3, 8);
    std::vector<LogWrapper::Run> runs;
    std::string rest;
    wrapper.add("ab", Color(0xFFFF0000u), false, runs, rest);
    wrapper.add("cd", Color(0xFF00FF00u), false, runs, rest);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].colour.argb(), 0xFFFF0000u);
    EXPECT_EQ(runs[1].colour.argb(), 0xFF00FF00u);
    EXPECT_EQ(runs[2].bytes, "d");
    EXPECT_EQ(runs[2].colour.argb(), 0xFF00FF00u);
}

}  // namespace
