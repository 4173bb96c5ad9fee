// The name entry over the text entry: opening with a starting text, modes
// asked for once, finished lines read in order, reuse that empties it; and
// the text-entry box in its window: a long line scrolled to keep the caret
// in the box, the caret mid-text and its blink, a composition at the caret,
// and the input mode's label beside the box.
#include "game/shell/ui/task_name.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/input/input_ime.h"
#include "engine/render/sys_render_text.h"
#include "engine/resource/render_target.h"
#include "engine/resource/res_target.h"
#include "tests/game/shell/ui/golden.h"
#include "tests/game/shell/ui/shell_fixture.h"

namespace {

class TaskNameTest : public shell_test::ShellFixture {
protected:
    void TearDown() override {
        qel::InputIME::instance().reset();
        std::string ignored;
        while (qel::InputIME::instance().takeFinished(ignored)) {
        }
        shell_test::ShellFixture::TearDown();
    }
    static qel::InputIME& ime() { return qel::InputIME::instance(); }

    // A 96-pixel window: the caption over a box 96 - 16 - 3 = 77 wide
    // (71 pixels of text: eleven 6-pixel columns), the mode's label in
    // the 16 pixels right of it.
    TaskName* window() {
        FONT_HEIGHT = 12;
        EXPECT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 12, 6, 0, false));
        IMEWND_TEX_WIDTH = 96;
        IMEWND_TEX_HEIGHT = 48;
        IMEWND_BACKCOLOR = Color(0xFF102030u);
        IMEWND_TOP_SPACE = 2;
        IMEWND_BOTTOM_SPACE = 2;
        IMEWND_LINE_SPACE = 2;
        IMEWND_TAG_X = 3;
        IMEWND_IME_X = 3;
        IMEWND_RIGHT_SPACE = 16;
        TaskName* name = TaskName::get();
        EXPECT_NE(name, nullptr);
        if (!name) return nullptr;
        name->setTag("Name");
        name->setDrawParam(0, 0, 0, 96);
        return name;
    }
    // Applies what was typed, then one frame.
    void typed() {
        ime().update();
        frame();
    }
    void press(qel::InputIME::Code code, int times = 1) {
        for (int i = 0; i < times; ++i) ime().key(code);
        typed();
    }
    static bool matches(TaskName* name, const char* golden) {
        return golden::matches(*name->target()->getTarget()->getSurface(), 0, 0, 96,
                               name->boxHeight(), golden);
    }
};

TEST_F(TaskNameTest, OpensWithItsTextReadsFinishedLinesAndEmptiesOnReuse) {
    SE_OK = "ok.ogg";
    TaskName* name = TaskName::get();
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(TaskName::get(), name);
    const std::string long200(200, 'n');
    name->open(long200.c_str(), true, false);
    EXPECT_EQ(takeSounds(), "ok.ogg");
    EXPECT_TRUE(name->isOpen());
    EXPECT_TRUE(ime().isActive());
    EXPECT_EQ(ime().line().size(), 127u);
    EXPECT_EQ(ime().conversionMode(), TaskName::kAlphanumeric);
    name->open("", false, true);
    EXPECT_EQ(ime().conversionMode(), TaskName::kHiragana);
    EXPECT_EQ(takeSounds(), "");

    EXPECT_EQ(name->getInput(), "");
    ime().commit("ナマエ");
    ime().key(qel::InputIME::kEnter);
    ime().update();
    EXPECT_EQ(name->getInput(), "ナマエ");
    EXPECT_EQ(name->getInput(), "");

    SE_CANCEL = "cancel.ogg";
    ime().commit(nullptr);  // a character without a Shift-JIS form
    frame();
    EXPECT_EQ(takeSounds(), "cancel.ogg");
    frame();
    EXPECT_EQ(takeSounds(), "");

    name->setTag("caption");
    ime().commit("left");
    TaskName* again = TaskName::get();
    EXPECT_EQ(again, name);
    EXPECT_FALSE(name->isOpen());
    EXPECT_FALSE(ime().isActive());
    EXPECT_EQ(ime().line(), "");
    name->close();
    EXPECT_FALSE(ime().isActive());
}

TEST_F(TaskNameTest, TheBoxSitsInsideTheFrameWithTheModeLabelBesideIt) {
    TaskName* name = window();
    ASSERT_NE(name, nullptr);
    ASSERT_NE(name->entryBox(), nullptr);
    EXPECT_EQ(name->entryBox()->width(), 77);
    EXPECT_EQ(name->boxHeight(), 2 + 12 + 2 + 14 + 2);
    name->open("", false, true);
    frame();
    frame();
    const qel::Surface& s = *name->target()->getTarget()->getSurface();
    EXPECT_EQ(s.argb(0, 0), 0xFFFFFFFFu) << "the window's frame";
    EXPECT_EQ(s.argb(95, name->boxHeight() - 1), 0xFFFFFFFFu);
    EXPECT_EQ(s.argb(3, 16), 0xFF000000u) << "the box's frame";
    EXPECT_EQ(s.argb(79, 29), 0xFF000000u);
    int label = 0;  // "あ" right of the box, inside the window
    for (int y = 17; y < 29; ++y)
        for (int x = 82; x < 95; ++x) label += s.argb(x, y) == 0xFFFFFFFFu;
    EXPECT_GT(label, 0);
}

TEST_F(TaskNameTest, ThePictureOfTheNameEntryMidComposition) {
    TaskName* name = window();
    ASSERT_NE(name, nullptr);
    name->open("Al", false, true);
    frame();
    ime().setComposition("\x82\xDD\x82\xC8", 2);  // "みな", the cursor after the first
    frame();
    // The caret after "Al" and "み": two and two columns in.
    EXPECT_EQ(name->entryBox()->caretX(), 2 + 4 * 6);
    EXPECT_TRUE(matches(name, "name_entry"));
}

TEST_F(TaskNameTest, ALongLineScrollsByWholeCharactersToKeepTheCaretInTheBox) {
    TaskName* name = window();
    ASSERT_NE(name, nullptr);
    name->open("", false, false);
    frame();
    ime().commit("abcdefghijklmnopqrstuvwxyz");
    typed();
    const qel::TaskInputWindow& box = *name->entryBox();
    // Eleven columns fit: "pqrstuvwxyz" and the caret after it.
    EXPECT_EQ(box.firstShown(), 15);
    EXPECT_EQ(box.caretX(), 2 + 11 * 6);
    EXPECT_TRUE(matches(name, "name_entry_scrolled"));
    // Back to the seventh character: the box follows the caret.
    press(qel::InputIME::kLeft, 20);
    EXPECT_EQ(box.firstShown(), 6);
    EXPECT_EQ(box.caretX(), 2);
    // What is left after the caret fits: the start comes back into view.
    press(qel::InputIME::kDelete, 16);
    EXPECT_EQ(ime().line(), "abcdefwxyz");
    EXPECT_EQ(box.firstShown(), 0);
    EXPECT_EQ(box.caretX(), 2 + 6 * 6);
    // Two-byte characters scroll whole.
    ime().setLine("");
    ime().commit(
        "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x82\xA9"
        "a");  // "あいうえおかa"
    typed();
    EXPECT_EQ(box.firstShown(), 2) << "from the second: 5 x 12 + 6 fits, 6 x 12 + 6 does not";
}

TEST_F(TaskNameTest, TheCaretMidTextBlinksAndShowsAtOnceAfterAChange) {
    TaskName* name = window();
    ASSERT_NE(name, nullptr);
    name->open("Hello", false, false);
    frame();
    press(qel::InputIME::kLeft, 2);
    const qel::TaskInputWindow& box = *name->entryBox();
    EXPECT_EQ(box.caretX(), 2 + 3 * 6);
    ASSERT_TRUE(box.caretShown());
    EXPECT_TRUE(matches(name, "name_entry_caret"));
    const std::uint32_t shown = box.revision();
    int frames = 0;
    while (box.caretShown() && frames < 100) {
        frame();
        ++frames;
    }
    EXPECT_EQ(frames, qel::TaskInputWindow::kCaretOn);
    EXPECT_NE(box.revision(), shown) << "the window is drawn again without the caret";
    while (!box.caretShown() && frames < 100) {
        frame();
        ++frames;
    }
    EXPECT_EQ(frames, qel::TaskInputWindow::kBlinkPeriod);
    for (int i = 0; i < 20; ++i) frame();
    ASSERT_FALSE(box.caretShown());
    ime().commit("!");
    typed();
    EXPECT_TRUE(box.caretShown()) << "typing shows the caret";
    EXPECT_EQ(ime().line(), "Hel!lo");
}

}  // namespace
