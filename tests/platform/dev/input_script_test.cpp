// The scripted keyboard: lines it refuses name themselves, the frames it
// plays hold, tap and wait as written, and editing keys reach the text entry.
#include "platform/dev/input_script.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/input/input_ime.h"

namespace qel {
namespace {

TEST(InputScript, LinesThatAreNotCommandsAreRefusedByNumber) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"press Enter\njump\n", "input script line 2: unknown command jump"},
        {"# a comment\n\npress Enterr\n", "input script line 3: not a key: Enterr"},
        {"wait soon\n", "input script line 1: wait takes a number of frames"},
        {"until scene SceneGame\n", "input script line 1: until takes a frame limit and a probe"},
        {"shot\n", "input script line 1: shot takes a file name"},
        {"texts\n", "input script line 1: texts takes a file name"},
        {"compose\ntype\n", "input script line 2: type takes a text"},
    };
    for (const auto& c : cases) {
        InputScript script(nullptr);
        std::string error;
        EXPECT_FALSE(script.parse(c.text, &error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
    std::string error;
    EXPECT_FALSE(InputScript(nullptr).load("/no/such/script.txt", &error));
    EXPECT_EQ(error, "cannot open the input script /no/such/script.txt");
}

TEST(InputScript, KeyNames) {
    const std::pair<const char*, int> keys[] = {
        {"Enter", 13}, {"Escape", 27},   {"Up", 38}, {"Numpad7", 103}, {"A", 65},      {"7", 55},
        {"F12", 123},  {"PageDown", 34}, {"a", -1},  {"F13", -1},      {"Numpad", -1}, {"", -1},
    };
    for (const auto& [name, code] : keys) EXPECT_EQ(InputScript::keyCode(name), code) << name;
}

TEST(InputScript, FramesPlayAsWritten) {
    InputScript script(nullptr);
    std::string error;
    ASSERT_TRUE(
        script.parse("hold Shift\npress A\npress A\nwait 2\nrelease Shift\npress B\n", &error))
        << error;
    // Each frame: is Shift down, is A down, is B down.
    std::vector<std::string> frames;
    for (int i = 0; i < 7; ++i) {
        InputSnapshot s;
        script.readInput(s);
        frames.push_back(std::string(s.keys[16] ? "S" : "-") + (s.keys['A'] ? "A" : "-") +
                         (s.keys['B'] ? "B" : "-"));
    }
    EXPECT_EQ(frames, (std::vector<std::string>{"SA-", "SA-", "S--", "S--", "--B", "---", "---"}));
    EXPECT_TRUE(script.finished());
}

TEST(InputScript, EditingKeysReachAnOpenTextEntryAsTheWindowSendsThem) {
    InputIME& entry = InputIME::instance();
    entry.start();
    entry.setLine("abc");
    InputScript script(nullptr);
    std::string error;
    ASSERT_TRUE(
        script.parse("press Left\npress Left\npress Delete\npress Right\n"
                     "press Backspace\n",
                     &error))
        << error;
    for (int i = 0; i < 5; ++i) {
        InputSnapshot s;
        script.readInput(s);
    }
    entry.update();
    EXPECT_EQ(entry.line(), "a");
    EXPECT_EQ(entry.cursor(), 1);
    entry.reset();
}

}  // namespace
}  // namespace qel
