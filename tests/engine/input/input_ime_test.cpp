// The text entry fed by a scripted source: editing keys, whole Shift-JIS
// characters, the byte limits of the queue and the line, the ring of
// finished lines, closing keys and the conversion modes.
#include "engine/input/input_ime.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

namespace qel {
namespace {

using Step = std::variant<const char*, InputIME::Code>;

std::string run(InputIME& ime, const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        if (const auto* text = std::get_if<const char*>(&step))
            ime.commit(*text);
        else
            ime.key(std::get<InputIME::Code>(step));
        ime.update();
    }
    return ime.line();
}

TEST(InputIME, EditsWholeCharacters) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        const char* line;
        int cursor;
    } cases[] = {
        {"insert before", {"ab", InputIME::kLeft, "c"}, "acb", 2},
        {"kana and kanji", {"かな漢字"}, "かな漢字", 8},
        {"half-width katakana and ASCII", {"ｶﾀ", "Kana1"}, "ｶﾀKana1", 7},
        {"backspace takes a two-byte character", {"aあ", InputIME::kBackspace}, "a", 1},
        {"left over a two-byte character", {"あい", InputIME::kLeft, "x"}, "あxい", 3},
        {"delete at the cursor",
         {"あい", InputIME::kLeft, InputIME::kLeft, InputIME::kDelete},
         "い",
         0},
        {"right stops at the end", {"a", InputIME::kRight, "b"}, "ab", 2},
        {"backspace at the start", {InputIME::kBackspace}, "", 0},
        {"tab while open edits nothing", {"a", InputIME::kTab}, "a", 1},
        {"escape clears the text", {"abc", InputIME::kEscape}, "", 0},
    };
    for (const Case& c : cases) {
        InputIME ime;
        ime.start();
        EXPECT_EQ(run(ime, c.steps), c.line) << c.name;
        EXPECT_EQ(ime.cursor(), c.cursor) << c.name;
        EXPECT_TRUE(ime.isActive()) << c.name;
    }
}

TEST(InputIME, LimitsKeepWholeCharacters) {
    InputIME ime;
    ime.start();
    const std::string ascii(200, 'a');
    run(ime, {ascii.c_str()});
    EXPECT_EQ(ime.line().size(), 127u) << "the queue takes 127 bytes";
    run(ime, {"b"});
    EXPECT_EQ(ime.line(), std::string(127, 'a')) << "a full line takes nothing";

    InputIME kana;
    kana.start();
    std::string wide;
    for (int i = 0; i < 100; ++i) wide += "あ";
    run(kana, {wide.c_str()});
    EXPECT_EQ(kana.line().size(), 126u);
    run(kana, {"b"});
    EXPECT_EQ(kana.line().size(), 127u);
    run(kana, {InputIME::kBackspace, InputIME::kBackspace, "いう"});
    EXPECT_EQ(kana.line().size(), 126u) << "the character that does not fit stays out";

    InputIME preset;
    preset.setLine(wide);
    EXPECT_EQ(preset.line().size(), 126u);
    preset.setLine(ascii);
    EXPECT_EQ(preset.line().size(), 127u);
    EXPECT_EQ(preset.cursor(), 127);
}

TEST(InputIME, ARefusedCommitQueuesNothingAndAnInactiveEntryTakesNothing) {
    InputIME ime;
    run(ime, {"ignored"});
    EXPECT_EQ(ime.line(), "");
    EXPECT_FALSE(ime.takeRefused()) << "an inactive entry refuses nothing";
    ime.start();
    EXPECT_FALSE(ime.commit(nullptr));
    ime.update();
    EXPECT_EQ(ime.line(), "");
    EXPECT_TRUE(ime.takeRefused());
    EXPECT_FALSE(ime.takeRefused());
}

TEST(InputIME, FinishedLinesFillARingOfSixteen) {
    InputIME ime;
    ime.start();
    run(ime, {InputIME::kEnter});
    std::string out;
    EXPECT_FALSE(ime.takeFinished(out)) << "an empty line is not kept";
    for (int i = 1; i <= 17; ++i) run(ime, {std::to_string(i).c_str(), InputIME::kEnter});
    EXPECT_TRUE(ime.isActive()) << "Enter does not close a started entry";
    std::vector<std::string> got;
    while (ime.takeFinished(out)) got.push_back(out);
    ASSERT_EQ(got.size(), 16u);
    EXPECT_EQ(got.front(), "2");
    EXPECT_EQ(got.back(), "17");
    EXPECT_FALSE(ime.takeFinished(out));
}

TEST(InputIME, EscapeClosesOnlyAnEmptyEntryAndOnlyWhenAllowed) {
    for (bool allowed : {true, false}) {
        InputIME ime;
        ime.start();
        ime.setCloseOnEscape(allowed);
        run(ime, {"a", InputIME::kEscape});
        EXPECT_TRUE(ime.isActive());
        run(ime, {InputIME::kEscape});
        EXPECT_EQ(ime.isActive(), !allowed) << allowed;
    }
}

TEST(InputIME, CompositionAndModes) {
    InputIME ime;
    EXPECT_EQ(ime.conversionMode(), InputIME::kModeClosed);
    EXPECT_STREQ(InputIME::kModeLabels[InputIME::kModeClosed], "_A");
    ime.start();
    EXPECT_EQ(ime.conversionMode(), 2);
    ime.setConversionMode(4);
    EXPECT_EQ(ime.conversionMode(), 4);
    ime.setConversionMode(9);
    EXPECT_EQ(ime.conversionMode(), 4);
    ime.setComposition("あいう", 2);
    EXPECT_EQ(ime.composition(), "あいう");
    EXPECT_EQ(ime.compositionCursor(), 2);
    ime.setComposition("あ", 10);
    EXPECT_EQ(ime.compositionCursor(), 2);
    run(ime, {InputIME::kEscape});
    EXPECT_EQ(ime.composition(), "") << "escape clears the composition";
    EXPECT_TRUE(ime.isActive());
    ime.close();
    EXPECT_EQ(ime.conversionMode(), InputIME::kModeClosed);
}

}  // namespace
}  // namespace qel
