// The map cursor and the direction ring in the map view's slot: the cell a
// chip-sized cursor covers, blinking and hiding, following an animating
// object and letting go of a deleted one, and the ring's pulse.
#include "game/shell/ui/task_cursor.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/resource/render_target.h"
#include "game/shell/task_field.h"
#include "game/shell/ui/task_direction.h"
#include "game/world/game_data.h"
#include "game/world/object_anim.h"
#include "tests/game/shell/ui/golden.h"
#include "tests/game/shell/ui/shell_fixture.h"

namespace {

class TaskCursorTest : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        shell_test::ShellFixture::SetUp();
        GameData::instance().getObjectManager()->clearAll();
        useChipSheet();
        map_ = target_view::make(TaskField::kLightViewport, 16, 16, Color::BLACK);
        ASSERT_NE(map_, nullptr);
    }
    void TearDown() override {
        GameData::instance().getObjectManager()->clearAll();
        target_view::drop(TaskField::kLightViewport, map_.get());
        map_.reset();
        shell_test::ShellFixture::TearDown();
    }
    // Clears the map target, runs a frame and shows the map's top rows.
    std::string mapAfterFrame(int rows = 12) {
        map_->colorFill(0xFF000000u);
        frame();
        return picture(*map_->getTarget()->getSurface(), 0, 0, 12, rows);
    }
    ObjectAnim* walker(Point cell) {
        return new ObjectAnim("walker", Point(0, 0), Color::WHITE, ObjectBase::TYPE_ENEMY,
                              ObjectBase::INFO_NPC, cell, true, false);
    }
    static bool white(const std::string& picture) { return picture.find('?') != std::string::npos; }

    OwnedTarget map_;
};

TEST_F(TaskCursorTest, AChipSizedCursorCoversItsCellExactly) {
    CURSOR_WIDTH = 2;
    CURSOR_HEIGHT = 2;
    TaskCursor* cursor = TaskCursor::create(nullptr, nullptr);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(TaskCursor::create(nullptr, nullptr), nullptr) << "one game cursor";
    EXPECT_EQ(TaskCursor::find(), cursor);
    cursor->setPos(Point(3, 4));
    cursor->setState(TaskCursor::ON);
    frame();
    EXPECT_EQ(mapAfterFrame(),
              "............\n"
              "............\n"
              "............\n"
              "............\n"
              "............\n"
              "............\n"
              "............\n"
              "............\n"
              "......??....\n"
              "......??....\n"
              "............\n"
              "............\n");
    EXPECT_EQ(map_->getTarget()->getSurface()->argb(6, 8), 0xFFFFFFFFu);
    EXPECT_TRUE(golden::matches(*map_->getTarget()->getSurface(), 0, 0, 16, 16, "cursor_cell_3_4"));
}

TEST_F(TaskCursorTest, BlinkingShowsForTheOnFramesAndHidingKeepsThePhaseRunning) {
    CURSOR_WIDTH = 2;
    CURSOR_HEIGHT = 2;
    CURSOR_BLINK_ON = 2;
    CURSOR_BLINK_OFF = 1;
    TaskCursor* cursor = TaskCursor::create(nullptr, nullptr);
    ASSERT_NE(cursor, nullptr);
    frame();
    cursor->setState(TaskCursor::BLINK);
    std::string shown;
    for (int i = 0; i < 6; ++i) shown += white(mapAfterFrame()) ? '#' : '-';
    EXPECT_EQ(shown, "#-##-#") << "phase 1, 2, 0, 1, 2, 0 after each update";
    cursor->setState(TaskCursor::OFF);
    EXPECT_FALSE(white(mapAfterFrame()));
    EXPECT_EQ(cursor->getPhase(), 1) << "hidden, the phase runs on";
    cursor->setState(7);
    EXPECT_FALSE(white(mapAfterFrame())) << "any other state hides";

    CURSOR_BLINK_ON = 0;
    CURSOR_BLINK_OFF = 0;
    cursor->setState(TaskCursor::BLINK);
    EXPECT_TRUE(white(mapAfterFrame())) << "a cycle of 0 shows steadily";
    EXPECT_EQ(cursor->getPhase(), 0);
}

TEST_F(TaskCursorTest, TheCursorFollowsTheAnimationAndKeepsTheCellOfADeletedObject) {
    CURSOR_WIDTH = 2;
    CURSOR_HEIGHT = 2;
    ObjectAnim* anim = walker(Point(1, 1));
    TaskCursor* cursor = TaskCursor::create(nullptr, anim);
    ASSERT_NE(cursor, nullptr);
    cursor->setState(TaskCursor::ON);
    frame();
    // Half way through a step of two frames to the right: one pixel on.
    anim->setSkip(false);  // unseen cells would skip the step
    anim->addAnim(Vector2(4.0f, 2.0f), 2);
    anim->updateAnim();
    ASSERT_EQ(anim->getAnimPos().x, 3.0f);
    const std::string midway = mapAfterFrame(6);
    EXPECT_EQ(midway,
              "............\n"
              "............\n"
              "...??.......\n"
              "...??.......\n"
              "............\n"
              "............\n");
    anim->setPos(5, 1);
    anim->clearAnim();
    EXPECT_EQ(cursor->getFollowed(), anim);
    mapAfterFrame();
    EXPECT_EQ(cursor->getPos(), Point(5, 1)) << "the cell is taken from the object";

    GameData::instance().getObjectManager()->remove(anim);
    GameData::instance().getObjectManager()->exeRemove();
    EXPECT_EQ(cursor->getFollowed(), nullptr);
    EXPECT_EQ(cursor->getChara(), nullptr);
    EXPECT_TRUE(white(mapAfterFrame(4)));
    EXPECT_EQ(cursor->getPos(), Point(5, 1));

    ObjectAnim* other = walker(Point(0, 0));
    cursor->setChara(other);
    cursor->setPos(Point(2, 2));
    EXPECT_EQ(cursor->getFollowed(), nullptr) << "a position stops following";
}

TEST_F(TaskCursorTest, TheRingPulsesOverItsPeriodAndIsShownOnce) {
    struct Case {
        std::uint32_t period;
        int phase;
        int mode;
        std::uint32_t alpha;
    } cases[] = {
        {60, 0, 2, 127}, {60, 15, 2, 255}, {60, 45, 2, 0},
        {0, 0, 2, 255},  {60, 45, 1, 255}, {60, 15, 0, 0},
    };
    TaskDirection ring;
    for (const Case& c : cases) {
        DIRECTION_BLINK_FRAME = c.period;
        ring.setMode(c.mode);
        ring.setPhase(c.phase);
        EXPECT_EQ(ring.alpha(), c.alpha) << c.period << " " << c.phase << " " << c.mode;
    }

    DIRECTION_BLINK_FRAME = 0;
    DIRECTION_CHIP_X = 0;
    DIRECTION_CHIP_Y = 0;
    ObjectAnim* anim = walker(Point(2, 2));
    TaskDirection* shown = TaskDirection::show(nullptr, anim);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(TaskDirection::show(nullptr, anim), shown);
    mapAfterFrame();
    // Chips (0, 0) to (1, 1) around the centre of cell (2, 2): red and
    // green over the transparent second row.
    EXPECT_EQ(map_->getTarget()->getSurface()->argb(3, 3), 0xFFFF0000u);
    EXPECT_EQ(map_->getTarget()->getSurface()->argb(5, 3), 0xFF00FF00u);
    EXPECT_EQ(map_->getTarget()->getSurface()->argb(7, 3), 0xFF000000u);
    GameData::instance().getObjectManager()->remove(anim);
    GameData::instance().getObjectManager()->exeRemove();
    EXPECT_EQ(shown->getFollowed(), nullptr);
    TaskDirection::hide();
    TaskDirection::hide();
    frame();
    frame();
    EXPECT_EQ(TaskDirection::find(), nullptr);
}

TEST_F(TaskCursorTest, TheMapShowsAroundTheRingAndThroughItAsItPulses) {
    // Over a blue map, the ring of chips (0, 0) to (1, 1) around the centre
    // of cell (2, 2): its black second row is transparent, its red and
    // green first row fade in and out.
    DIRECTION_BLINK_FRAME = 60;
    DIRECTION_CHIP_X = 0;
    DIRECTION_CHIP_Y = 0;
    TaskDirection* ring = TaskDirection::show(nullptr, walker(Point(2, 2)));
    ASSERT_NE(ring, nullptr);
    ring->setPhase(59);  // the next frame's is 0: alpha 127
    const qel::Surface& map = *map_->getTarget()->getSurface();
    auto frameOverBlue = [&] {
        map_->colorFill(0xFF204060u);
        frame();
    };
    frameOverBlue();
    EXPECT_EQ(map.argb(3, 5), 0xFF204060u) << "the transparent row";
    EXPECT_EQ(map.argb(4, 6), 0xFF204060u);
    EXPECT_EQ(map.argb(3, 3) & 0xFFFFFFu, 0x8F2030u) << "red at half strength";
    EXPECT_TRUE(golden::matches(map, 0, 0, 8, 8, "direction_ring_half"));
    for (int i = 0; i < 15; ++i) frameOverBlue();  // phase 15: alpha 255
    EXPECT_EQ(map.argb(3, 3), 0xFFFF0000u);
    EXPECT_EQ(map.argb(3, 5), 0xFF204060u);
    TaskDirection::hide();
}

}  // namespace
