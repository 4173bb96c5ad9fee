// The key functions as an input script reads them: snapshots are fed to the
// shared input system a frame at a time, then snippets read the keys.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "bindings/script_constants.h"
#include "engine/input/input_source.h"
#include "engine/input/sys_input.h"
#include "tests/bindings/bound_lua.h"

namespace {

namespace k = script_constants;

struct FedSource : qel::InputSource {
    qel::InputSnapshot next;
    void readInput(qel::InputSnapshot& out) override { out = next; }
};

class InputBindings : public BoundLua {
protected:
    void SetUp() override {
        BoundLua::SetUp();
        source_.next.foreground = true;
        input().readFrom(&source_);
        input().setFrameRate(60);
        ASSERT_TRUE(input().init());
    }
    void TearDown() override {
        input().term();
        input().readFrom(nullptr);
        BoundLua::TearDown();
    }
    static qel::SysInput& input() { return qel::SysInput::instance(); }
    // One frame with exactly these keys down.
    void frame(std::initializer_list<int> keys) {
        for (auto& byte : source_.next.keys) byte = 0;
        for (int key : keys) source_.next.keys[key] = 0x80;
        input().update();
    }

    FedSource source_;
};

TEST_F(InputBindings, DirectionKeysSumClampAndKeepOnlyDiagonalsWithCtrl) {
    struct Case {
        const char* name;
        std::initializer_list<int> keys;
        const char* expected;
    };
    const Case cases[] = {
        {"nothing", {}, "0, 0"},
        {"up and left", {k::KEY_UP, k::KEY_LEFT}, "-1, -1"},
        {"up and down cancel", {k::KEY_UP, k::KEY_DOWN}, "0, 0"},
        {"right and page down clamp", {k::KEY_RIGHT, k::KEY_NEXT}, "1, 1"},
        {"end", {k::KEY_END}, "-1, 1"},
        {"page up", {k::KEY_PRIOR}, "1, -1"},
        {"ctrl and up", {k::KEY_CONTROL, k::KEY_UP}, "0, 0"},
        {"ctrl and home", {k::KEY_CONTROL, k::KEY_HOME}, "-1, -1"},
        {"ctrl with up and right", {k::KEY_CONTROL, k::KEY_UP, k::KEY_RIGHT}, "1, -1"},
        // With Num Lock on the pad gives its digits, which are no direction.
        {"number pad digits", {k::KEY_NUMPAD8, k::KEY_NUMPAD6}, "0, 0"},
    };
    for (const Case& c : cases) {
        frame(c.keys);
        EXPECT_EQ(run("local p = C_GetInputDir() return p._x, p._y"), c.expected) << c.name;
    }
    frame({k::KEY_NUMPAD8});
    EXPECT_EQ(run("return C_KeyOn(C.KEY_NUMPAD8), tolua.type(C_GetInputDir())"), "true, Point");
}

TEST_F(InputBindings, TheDirectionIsANewPointTheScriptOwns) {
    frame({k::KEY_DOWN});
    EXPECT_EQ(run("local a = C_GetInputDir() local b = C_GetInputDir() a._x = 5 "
                  "return rawequal(a, b), b._x, b._y"),
              "false, 0, 1");
    const auto usedBefore = qel::poolById(qel::Pool::General)->stats().usedBlocks;
    EXPECT_EQ(run("for i = 1, 100 do C_GetInputDir() end collectgarbage() collectgarbage()"), "");
    EXPECT_LE(qel::poolById(qel::Pool::General)->stats().usedBlocks, usedBefore);
}

TEST_F(InputBindings, OneTriggerAPressAndRepeatsAfterTheDelayThenAtTheInterval) {
    const char* read = "return C_KeyOn(C.KEY_Z), C_KeyTrg(C.KEY_Z), C_KeyRpt(C.KEY_Z)";
    frame({});
    EXPECT_EQ(run(read), "false, false, false");
    // Held from frame 0: repeats at 0, 30, 37, 44 (the counter runs 30..0,
    // then 6..0).
    std::string repeats;
    int triggers = 0;
    for (int f = 0; f < 50; ++f) {
        frame({k::KEY_Z});
        const std::string shown = run(read);
        ASSERT_EQ(shown.substr(0, 4), "true") << f;
        if (shown.find("true, true, true") == 0) ++triggers;
        if (shown.size() >= 4 && shown.compare(shown.size() - 4, 4, "true") == 0)
            repeats += std::to_string(f) + " ";
    }
    EXPECT_EQ(triggers, 1);
    EXPECT_EQ(repeats, "0 30 37 44 ");
    frame({});
    EXPECT_EQ(run(read), "false, false, false");
    frame({k::KEY_Z});
    EXPECT_EQ(run(read), "true, true, true");
}

TEST_F(InputBindings, NothingIsSeenInTheBackgroundAndOddCodesAreNeverDown) {
    frame({k::KEY_UP, 0, 255});
    EXPECT_EQ(run("return C_KeyOn(-1), C_KeyTrg(256), C_KeyRpt(256), C_KeyOn(0), C_KeyOn(255)"),
              "false, false, false, true, true");
    source_.next.foreground = false;
    frame({k::KEY_UP});
    EXPECT_EQ(run("local p = C_GetInputDir() return C_KeyOn(C.KEY_UP), C_KeyRpt(C.KEY_UP), p._y"),
              "false, false, 0");
    EXPECT_EQ(run("return C_KeyOn('up')"),
              "error: error in function 'C_KeyOn'.\n     argument #1 is 'string'; 'number' "
              "expected.\n");
}

}  // namespace
