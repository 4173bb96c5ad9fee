// The name entry over the text entry: opening with a starting text, modes
// asked for once, finished lines read in order, reuse that empties it, and
// the line drawn into its window.
#include "game/shell/ui/task_name.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/input/input_ime.h"
#include "engine/render/sys_render_text.h"
#include "engine/resource/render_target.h"
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

TEST_F(TaskNameTest, TheLineIsDrawnIntoTheWindow) {
    IMEWND_TEX_WIDTH = 64;
    IMEWND_TEX_HEIGHT = 48;
    IMEWND_BACKCOLOR = Color(0xFF000000u);
    FONT_HEIGHT = 16;
    TaskName* name = TaskName::get();
    ASSERT_NE(name, nullptr);
    name->setDrawParam(0, 0, 0, 60);
    name->open("", false, true);
    frame();
    frame();
    const qel::Surface& s = *name->target()->getTarget()->getSurface();
    EXPECT_EQ(s.argb(0, 0), 0xFFFFFFFFu) << "the frame";
    EXPECT_EQ(s.argb(59, name->boxHeight() - 1), 0xFFFFFFFFu);
    EXPECT_EQ(s.argb(30, name->boxHeight() + 1), 0xFF000000u);
}

TEST_F(TaskNameTest, ThePictureOfTheNameEntryMidComposition) {
    IMEWND_TEX_WIDTH = 64;
    IMEWND_TEX_HEIGHT = 48;
    IMEWND_BACKCOLOR = Color(0xFF102030u);
    FONT_HEIGHT = 12;
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, 1, 12, 6, 0, false));
    TaskName* name = TaskName::get();
    ASSERT_NE(name, nullptr);
    name->setTag("Name");
    name->setDrawParam(0, 0, 0, 60);
    name->open("Al", false, true);
    frame();
    ime().setComposition("\x82\xDD\x82\xC8", 2);  // "みな", the cursor after the first
    frame();
    frame();
    EXPECT_TRUE(golden::matches(*name->target()->getTarget()->getSurface(), 0, 0, 60,
                                name->boxHeight(), "name_entry"));
}

}  // namespace
