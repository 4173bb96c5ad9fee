// The message log in a running frame: lines started and overwritten in the
// ring, texts carried to the next frame once the frame's lines run out, the
// log file receiving each text once, and the text landing in its line.
#include "game/shell/ui/task_message_log.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/render/sys_render_text.h"
#include "engine/resource/render_target.h"
#include "tests/game/shell/ui/golden.h"
#include "tests/game/shell/ui/shell_fixture.h"

namespace {

std::vector<std::string> g_file;

void writeToFile(std::string_view text) {
    g_file.emplace_back(text);
}

class TaskMessageLogTest : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        shell_test::ShellFixture::SetUp();
        g_file.clear();
        TaskMessageLog::setFileWriter(&writeToFile);
        FONT_WIDTH = 8;
        FONT_HEIGHT = 16;
        LOG_MAX_LENGTH = 4;
        LOG_VIEW_TEX_NUM = 2;
        LOG_VIEW_X = 0;
        LOG_VIEW_Y = 0;
    }
    void TearDown() override {
        TaskMessageLog::setFileWriter(nullptr);
        shell_test::ShellFixture::TearDown();
    }
    TaskMessageLog* start() {
        auto* log = new TaskMessageLog();
        EXPECT_TRUE(tasks().add(log));
        frame();
        return log;
    }
    // Whether anything was drawn into the line texture.
    static bool inked(const TaskMessageLog& log, int line) {
        const qel::Surface& s = *log.line(line)->getTarget()->getSurface();
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (s.argb(x, y) >> 24) return true;
            }
        }
        return false;
    }
};

TEST_F(TaskMessageLogTest, AWrappedTextFillsLinesAndTheRingOverwritesTheOldest) {
    LOG_BUFFER_TEX_NUM = 16;
    TaskMessageLog* log = start();
    log->message("abcdefghij");
    frame();
    EXPECT_EQ(log->head(), 2);
    EXPECT_EQ(log->filled(), 3);
    frame();  // the new lines' writers are rebound; the text is in its lines
    EXPECT_TRUE(inked(*log, 0));
    EXPECT_TRUE(inked(*log, 2));
    EXPECT_FALSE(inked(*log, 3));

    std::string feeds = "x";
    for (int i = 0; i < 20; ++i) feeds += "\nx";
    log->messageLine(feeds.c_str());
    frame();
    EXPECT_EQ(log->head(), 9) << "seven new lines a frame";
    EXPECT_EQ(log->pendingCount(), 1u);
    frame();
    frame();
    EXPECT_EQ(log->pendingCount(), 0u);
    EXPECT_EQ(log->head(), (2 + 21) % 16);
    EXPECT_EQ(log->filled(), 16);
    EXPECT_EQ(g_file, (std::vector<std::string>{"abcdefghij", feeds})) << "each text once";
}

TEST_F(TaskMessageLogTest, ASmallRingWritesThroughFewerViewports) {
    LOG_BUFFER_TEX_NUM = 3;
    TaskMessageLog* log = start();
    log->message("aaaabbbbccccdddd");
    frame();
    EXPECT_EQ(log->head(), 2) << "two new lines a frame with three lines";
    frame();
    EXPECT_EQ(log->head(), 0);
    EXPECT_EQ(log->filled(), 3);
    EXPECT_EQ(log->pendingCount(), 0u);
    log->message(nullptr);
    frame();
    EXPECT_EQ(g_file.back(), "");
}

TEST_F(TaskMessageLogTest, TheMarkerBlinksBesideTheEndOfTheLastShownLineWhileAskedFor) {
    useChipSheet();
    FONT_WIDTH = 4;
    FONT_HEIGHT = 4;
    LOG_BUFFER_TEX_NUM = 4;
    LOG_SPACE_LEFT = 1;
    LOG_SPACE_TOP = 1;
    LOG_SPACE_RIGHT = 6;
    LOG_SPACE_BOTTOM = 2;
    LOG_SPACE_LINE = 1;
    LOG_BACKCOLOR = Color(0xFF0000FFu);
    CURSOR_BLINK_ON = 1;
    CURSOR_BLINK_OFF = 1;
    TaskMessageLog* log = start();
    log->setWindowColor(Color(0xFF00FF00u));
    // x 1 + 16, bottom 1 + 2 * 5 - 1: the marker's 2 x 2 white chip stands
    // on the last line's bottom, right of its end.
    auto marker = [&] { return picture(device_->backBuffer(), 16, 7, 4, 4); };
    const std::string off =
        "BBBB\n"
        "BBBB\n"
        "BBBB\n"
        "BBBB\n";
    const std::string on =
        "BBBB\n"
        "B??B\n"
        "B??B\n"
        "BBBB\n";
    frame();
    EXPECT_EQ(marker(), off) << "hidden until asked for";
    log->setCursor(true);
    EXPECT_TRUE(log->cursorShown());
    std::string seen;
    for (int i = 0; i < 4; ++i) {
        frame();
        seen += marker() == on ? '#' : marker() == off ? '-' : '?';
    }
    EXPECT_EQ(seen, "-#-#") << "phase 1, 0, 1, 0";
    log->setCursor(false);
    frame();
    EXPECT_EQ(marker(), off);
    EXPECT_EQ(log->cursor()->getPhase(), 0) << "a hidden marker does not blink on";
}

TEST_F(TaskMessageLogTest, ThePictureOfTheLogAfterAWrapOverTheMap) {
    // A blue screen as the map under a half-transparent box: the map shows
    // evenly through every line, written or not.
    camera().getViewport(0)->clearColors[0] = 0xFF3070B0u;
    FONT_WIDTH = 6;
    FONT_HEIGHT = 12;
    LOG_MAX_LENGTH = 8;
    LOG_VIEW_TEX_NUM = 3;
    LOG_VIEW_X = 2;
    LOG_VIEW_Y = 2;
    LOG_BACKCOLOR = Color(0x80000030u);
    LOG_SPACE_LEFT = 3;
    LOG_SPACE_TOP = 2;
    LOG_SPACE_LINE = 1;
    TaskMessageLog* log = start();
    ASSERT_TRUE(qel::SysRenderText::instance().createFont(FONT_NAME, TaskMessageLog::kFont, 12, 6,
                                                          0, false));
    log->messageLine("Floor 1");
    log->setColor(Color(0xFFFF8080u));
    log->messageLine("The bat bites you.");
    frame();
    frame();
    const qel::Surface& screen = device_->backBuffer();
    const std::uint32_t shaded = 0xFF183870u;  // the box's colour half over the map
    EXPECT_EQ(screen.argb(50, 10), shaded) << "a written line's empty end";
    EXPECT_EQ(screen.argb(50, 40), shaded) << "below the last line";
    EXPECT_EQ(screen.argb(1, 1), 0xFF3070B0u);
    EXPECT_TRUE(golden::matches(screen, 0, 0, 64, 48, "log_wrap"));
}

}  // namespace
