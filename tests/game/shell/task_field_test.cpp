// The map view: the shown rectangle and its ease, the zoom modes under the
// Tab key and the scripts' count, and the pixels the field target, the light
// target and the screen get from remembered, changed and animating cells.
#include "game/shell/task_field.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>
#include <string>

#include "engine/gfx/surface.h"
#include "game/shell/global_functions.h"
#include "game/shell/settings.h"
#include "game/world/field_view.h"
#include "game/world/game_data.h"
#include "game/world/global_record.h"
#include "game/world/object_anim.h"
#include "game/world/object_manager.h"
#include "platform/gfx/png_writer.h"
#include "platform/image/stb_image_decoder.h"
#include "tests/game/shell/ui/shell_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

using Rect = TaskField::Rect;

TEST(TaskFieldRect, FollowsThePositionInsideTheTextureForEachScale) {
    resetSettings();  // chips 16 x 16, texture and drawing 800 x 480
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        float scale, x, y;
        Rect want;
    } cases[] = {
        {"whole map", 1.0f, 400, 240, {0, 0, 800, 480}},
        {"zoomed in, centred", 2.0f, 400, 240, {192, 104, 400, 240}},
        {"near the top-left edge", 2.0f, 0, 0, {0, 0, 400, 240}},
        {"last cell", 2.0f, 784, 464, {400, 240, 400, 240}},
        {"half a pixel rounds away from zero", 2.0f, 400.5f, 239.5f, {193, 104, 400, 240}},
        {"wider than the texture starts at 0", 0.5f, 400, 240, {0, 0, 1600, 960}},
        {"scale 0 counts as 1", 0.0f, 400, 240, {0, 0, 800, 480}},
        {"negative scale counts as 1", -2.0f, 400, 240, {0, 0, 800, 480}},
        {"NaN counts as 1", nan, 400, 240, {0, 0, 800, 480}},
        {"infinity counts as 1", inf, 400, 240, {0, 0, 800, 480}},
        {"a tiny rectangle is one pixel", 1e9f, 400, 240, {392, 224, 1, 1}},
    };
    for (const Case& c : cases) {
        const Rect got = TaskField::viewRect(c.scale, c.x, c.y);
        EXPECT_EQ(got, c.want) << c.name << ": " << got.left << "," << got.top << " " << got.width
                               << "x" << got.height;
    }
}

TEST(TaskFieldRect, EasesBetweenTheTwoScalesAndMagnifiesToTheDrawnWidth) {
    resetSettings();
    struct Case {
        float factor;
        Rect want;
    } cases[] = {
        {-1.0f, {0, 0, 800, 480}},    {0.0f, {0, 0, 800, 480}},
        {0.25f, {28, 15, 741, 445}},  // k = 0.1464...
        {0.5f, {96, 52, 600, 360}},   {1.0f, {192, 104, 400, 240}},
        {3.0f, {192, 104, 400, 240}},
    };
    for (const Case& c : cases) {
        const Rect got = TaskField::shownRect(c.factor, 400, 240);
        EXPECT_EQ(got, c.want) << c.factor << ": " << got.left << "," << got.top << " " << got.width
                               << "x" << got.height;
    }
    EXPECT_FLOAT_EQ(TaskField::shownScale({0, 0, 600, 360}), 800.0f / 600.0f);
    DUNGEON_DRAW_WIDTH = 0;
    EXPECT_FLOAT_EQ(TaskField::shownScale({0, 0, 600, 360}), 1.0f) << "a scale of 0 counts as 1";
    resetSettings();
}

class TaskFieldTest : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        resources().setImageDecoder(&decoder_);
        // Four 4 x 4 chips in a row: red, green, blue, grey.
        qel::Surface sheet(16, 4, qel::PixelFormat::A8R8G8B8);
        const std::uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF808080u};
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 16; ++x) sheet.set(x, y, colours[x / 4]);
        const auto png = qel::PngWriter::encode(sheet);
        RES_TEX_CHIP = scratch_.put("chips.png", std::string(png.begin(), png.end()));
        CHIP_WIDTH = CHIP_HEIGHT = 4;
        DUNGEON_TEX_WIDTH = 200;
        DUNGEON_TEX_HEIGHT = 120;
        DUNGEON_DRAW_WIDTH = 64;  // the device's screen
        DUNGEON_DRAW_HEIGHT = 48;
        FIELD_BLUR_ENABLE = false;
        game().getFieldView()->clear();
        game().getGlobalRecord()->init();
        game().getGlobalRecord()->setZoomMode(0);
        game().getGlobalRecord()->setZoom(false);
    }
    void TearDown() override {
        game().getObjectManager()->clearAll();
        game().getFieldView()->clear();
        if (TaskField* field = TaskField::current()) field->kill();
        frame();
        ShellFixture::TearDown();
        resources().setImageDecoder(nullptr);
    }
    static GameData& game() { return GameData::instance(); }
    static void remember(int x, int y, int chip, bool changed = true) {
        FieldView::INFO* info = game().getFieldView()->getInfo(x, y);
        info->flag = FieldView::FLAG_MEMORY | (changed ? FieldView::FLAG_CHANGED : 0);
        info->chipLight = {static_cast<std::uint8_t>(chip), 0, Color::WHITE};
    }
    static void forget(int x, int y) {
        game().getFieldView()->getInfo(x, y)->flag = FieldView::FLAG_CHANGED;
    }
    static void settle() {
        for (FieldView::INFO& info : cells()) info.flag &= ~FieldView::FLAG_CHANGED;
    }
    static std::span<FieldView::INFO> cells() {
        return {game().getFieldView()->getInfo(0, 0), FieldView::kCellCount};
    }
    // The centre pixel of a cell in a picture of the whole map.
    static std::uint32_t cell(const qel::Surface& s, int x, int y) {
        return s.argb(x * 4 + 2, y * 4 + 2);
    }
    TaskField* startField() {
        TaskField* field = TaskField::start(nullptr);
        EXPECT_NE(field, nullptr);
        frame();  // init, first draw
        return field;
    }

    qel::test::ScratchFolder scratch_;
    qel::StbImageDecoder decoder_;
};

TEST_F(TaskFieldTest, RemembersCellsInTheFieldAndShowsThemOnTheScreen) {
    remember(1, 1, 1);
    remember(49, 29, 2);
    remember(3, 2, 3);
    TaskField* field = startField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(TaskField::current(), field);
    EXPECT_EQ(game().getField(), field);
    const qel::Surface& map = *field->fieldTarget()->getTarget()->getSurface();
    EXPECT_EQ(cell(map, 1, 1), 0xFF00FF00u);
    EXPECT_EQ(map.argb(196, 116), 0xFF0000FFu) << "cell (49, 29) at its chip's place";
    EXPECT_EQ(map.argb(199, 119), 0xFF0000FFu);
    EXPECT_EQ(cell(map, 3, 2), 0xFF808080u);
    EXPECT_EQ(cell(map, 2, 2), 0xFF000000u) << "an unseen cell stays black";

    // No player: the rectangle of pixel (0, 0), the map's top-left corner.
    EXPECT_EQ(field->lastShown(), (Rect{0, 0, 64, 48}));
    const qel::Surface& screen = device_->backBuffer();
    EXPECT_EQ(cell(screen, 1, 1), 0xFF00FF00u);
    EXPECT_EQ(cell(screen, 3, 2), 0xFF808080u);
    EXPECT_EQ(cell(screen, 2, 2), 0xFF000000u);
}

TEST_F(TaskFieldTest, DrawsOnlyChangedCellsUntilARedraw) {
    remember(1, 1, 1);
    remember(2, 1, 1);
    TaskField* field = startField();
    ASSERT_NE(field, nullptr);
    const qel::Surface& map = *field->fieldTarget()->getTarget()->getSurface();
    settle();

    // A seen cell whose picture changed without the mark keeps its old one.
    remember(1, 1, 0, false);
    // A cell forgotten is blanked; a changed one drawn afresh.
    forget(2, 1);
    remember(4, 4, 3);
    frame();
    EXPECT_EQ(cell(map, 1, 1), 0xFF00FF00u);
    EXPECT_EQ(cell(map, 2, 1), 0xFF000000u);
    EXPECT_EQ(cell(map, 4, 4), 0xFF808080u);

    settle();
    C_Redraw();
    frame();
    EXPECT_EQ(cell(map, 1, 1), 0xFFFF0000u) << "the redraw takes every remembered cell";
    EXPECT_EQ(cell(map, 4, 4), 0xFF808080u);

    // Clearing the map forgets every cell and blanks the picture.
    C_ClearMap();
    EXPECT_EQ(game().getFieldView()->getInfo(4, 4)->flag, 0u);
    frame();
    EXPECT_EQ(cell(map, 1, 1), 0xFF000000u);
    EXPECT_EQ(cell(map, 4, 4), 0xFF000000u);
}

TEST_F(TaskFieldTest, AnimatingObjectsDrawOverTheMapOnTheScreen) {
    remember(2, 2, 3);
    TaskField* field = startField();
    ASSERT_NE(field, nullptr);
    auto* object = new ObjectAnim("lamp", Point(2, 0), Color::WHITE, 0, ObjectBase::INFO{},
                                  Point(2, 2), true, false);
    object->setForceDraw(true);
    object->addAnimWait(30);
    frame();
    const qel::Surface& screen = device_->backBuffer();
    EXPECT_EQ(cell(screen, 2, 2), 0xFF0000FFu) << "the object's chip over the grey cell";
    const qel::Surface& map = *field->fieldTarget()->getTarget()->getSurface();
    EXPECT_EQ(cell(map, 2, 2), 0xFF808080u) << "objects never reach the field target";
    object->clearAnim();
    frame();
    EXPECT_EQ(cell(screen, 2, 2), 0xFF808080u);
}

TEST_F(TaskFieldTest, BlurMakesItsSecondTargetOnlyAtStart) {
    TaskField* field = startField();
    ASSERT_NE(field, nullptr);
    EXPECT_FALSE(field->hasBlurTarget());
    FIELD_BLUR_ENABLE = true;
    frame();
    EXPECT_FALSE(field->hasBlurTarget()) << "switching on waits for the next map view";
    field->kill();
    frame();
    EXPECT_EQ(TaskField::current(), nullptr);
    EXPECT_EQ(game().getField(), nullptr);
    field = startField();
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->hasBlurTarget());
    qel::RenderTarget* first = field->lightTarget();
    frame();
    EXPECT_NE(field->lightTarget(), first) << "the two light targets swap every frame";
    frame();
    EXPECT_EQ(field->lightTarget(), first);
    FIELD_BLUR_ENABLE = false;
    frame();
    frame();
    EXPECT_EQ(field->lightTarget(), first) << "switched off: no more swaps";
}

TEST_F(TaskFieldTest, ZoomModesFollowTheTabKeyAndTheScriptsCount) {
    ZOOM_IN_FRAME = 4.0f;
    ZOOM_OUT_FRAME = 2.0f;
    TaskField* field = startField();
    ASSERT_NE(field, nullptr);
    TaskFieldZoom* zoom = field->zoom();
    ASSERT_NE(zoom, nullptr);
    const int tab = TaskFieldZoom::kTabKey;

    // Mode 0: zoomed while Tab is held, easing in over ZOOM_IN_FRAME frames.
    for (int i = 1; i <= 5; ++i) {
        frame({tab});
        EXPECT_FLOAT_EQ(zoom->getFactor(), std::min(1.0f, i / 4.0f)) << i;
    }
    frame();
    EXPECT_FALSE(zoom->isZoomed()) << "released: zooming out at once";
    EXPECT_FLOAT_EQ(zoom->getFactor(), 0.5f);
    frame();
    EXPECT_FLOAT_EQ(zoom->getFactor(), 0.0f);

    // Mode 1: the other way round.
    game().getGlobalRecord()->setZoomMode(1);
    frame();
    EXPECT_TRUE(zoom->isZoomed());
    frame({tab});
    EXPECT_FALSE(zoom->isZoomed());

    // Mode 2: each press toggles and is kept in the global record.
    game().getGlobalRecord()->setZoomMode(2);
    frame({tab});
    const bool after = zoom->isZoomed();
    frame({tab});
    EXPECT_EQ(zoom->isZoomed(), after) << "held, not pressed again";
    frame();
    frame({tab});
    EXPECT_NE(zoom->isZoomed(), after);
    EXPECT_EQ(game().getGlobalRecord()->isZoom(), zoom->isZoomed());
    game().getGlobalRecord()->setZoom(true);
    EXPECT_TRUE(zoom->isZoomed()) << "the record's zoom reaches the running view";

    // The scripts' count acts in mode 3 only.
    C_CountZoomCommand(true);
    EXPECT_EQ(zoom->getCount(), 0u);
    game().getGlobalRecord()->setZoomMode(3);
    for (int i = 0; i < 9; ++i) C_CountZoomCommand(true);
    EXPECT_TRUE(zoom->isZoomed());
    C_CountZoomCommand(false);
    EXPECT_EQ(zoom->getCount(), 0u) << "a call the other way starts again";
    for (int i = 0; i < 10; ++i) C_CountZoomCommand(true);
    EXPECT_FALSE(zoom->isZoomed()) << "ten in a row zoom out";
    C_CountZoomCommand(false);
    EXPECT_TRUE(zoom->isZoomed()) << "one the other way zooms in";
}

TEST_F(TaskFieldTest, OutsideTheGameSceneTheFunctionsDoNothing) {
    ASSERT_EQ(TaskField::current(), nullptr);
    C_Redraw();
    C_ClearMap();
    C_CountZoomCommand(true);
    SUCCEED();
}

}  // namespace
