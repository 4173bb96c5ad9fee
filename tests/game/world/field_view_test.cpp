#include "game/world/field_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/sys_rand.h"
#include "engine/file/file.h"
#include "game/world/create_dungeon.h"
#include "game/world/dungeon.h"
#include "game/world/object_base.h"
#include "game/world/world_settings.h"
#include "tests/game/world/object_fixture.h"
#include "tests/support/scoped_value.h"

namespace {

const Tile kRoom("room", 1, 0, Color::WHITE, TILE_DARKROOM);
const Tile kLitRoom("lit", 1, 1, Color::WHITE, TILE_ROOM);
const Tile kWall("wall", 0, 0, Color::WHITE, TILE_WALL);

constexpr std::uint32_t kSeen = FieldView::FLAG_SIGHT;
constexpr std::uint32_t kSeenLit = FieldView::FLAG_SIGHT | FieldView::FLAG_LIT;

// A floor of one look with the given cells painted as walls.
std::unique_ptr<Dungeon> floorOf(const Tile& look, const std::vector<Point>& walls = {}) {
    auto d = std::make_unique<Dungeon>("test", 1);
    for (std::int32_t x = 0; x < Dungeon::kWidth; ++x)
        for (std::int32_t y = 0; y < Dungeon::kHeight; ++y) d->setTile(x, y, look);
    for (const Point& p : walls) d->setTile(p, kWall);
    return d;
}

// Map objects with a given chip and priority; kept objects have openView.
ObjectBase* object(const Point& pos, const Point& chip, std::uint8_t priority, bool kept,
                   bool sight = true) {
    return new ObjectBase("o", chip, Color::WHITE, ObjectBaseTypes::TYPE_NONE,
                          ObjectBase::INFO(priority, true, true, sight, kept), pos, true, false);
}

class FieldViewTest : public ObjectFixture {
protected:
    void TearDown() override {
        view_.reset();
        dungeon_.reset();
        ObjectFixture::TearDown();
    }
    void use(std::unique_ptr<Dungeon> d) {
        dungeon_ = std::move(d);
        view_ = std::make_unique<FieldView>(dungeon_.get(), manager_);
    }
    std::uint32_t flag(int x, int y) const { return view_->getInfo(x, y)->flag; }
    std::int32_t state(int x, int y) const { return dungeon_->getTile(x, y)->getState(); }

    std::unique_ptr<Dungeon> dungeon_;
    std::unique_ptr<FieldView> view_;
};

TEST_F(FieldViewTest, TheOriginAndItsNeighboursOnTheMapAreSeenAndLit) {
    use(floorOf(kRoom));
    for (const Point o : {Point{10, 10}, Point{0, 0}, Point{49, 29}, Point{0, 15}}) {
        SCOPED_TRACE(std::to_string(o.x) + "," + std::to_string(o.y));
        view_->putLight(o.x, o.y, 1, 1);
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (const FieldView::INFO* i = view_->getInfo(o.x + dx, o.y + dy)) {
                    EXPECT_EQ(i->flag & kSeenLit, kSeenLit);
                }
            }
        }
        // An open floor is seen whole.
        for (int x = 0; x < 50; ++x) {
            for (int y = 0; y < 30; ++y) ASSERT_TRUE(flag(x, y) & kSeen) << x << "," << y;
        }
    }
}

TEST_F(FieldViewTest, AWallIsSeenButNotTheCellBehindIt) {
    // Walls beside the origin, straight and diagonal.
    use(floorOf(kRoom, {{11, 10}, {10, 11}, {9, 9}}));
    view_->putLight(10, 10, 1, 1);
    EXPECT_TRUE(flag(11, 10) & kSeen);
    EXPECT_FALSE(flag(12, 10) & kSeen);
    EXPECT_FALSE(flag(13, 10) & kSeen);
    EXPECT_TRUE(flag(10, 11) & kSeen);
    EXPECT_FALSE(flag(10, 12) & kSeen);
    EXPECT_TRUE(flag(9, 9) & kSeen);
    EXPECT_FALSE(flag(8, 8) & kSeen);
    EXPECT_FALSE(flag(7, 7) & kSeen);
    // An object that stops sight does the same as a wall.
    use(floorOf(kRoom));
    object({11, 10}, {5, 5}, 10, false, false);
    view_->putLight(10, 10, 1, 1);
    EXPECT_TRUE(flag(11, 10) & FieldView::FLAG_BLOCK);
    EXPECT_FALSE(flag(12, 10) & kSeen);
}

TEST_F(FieldViewTest, AnOffMapOriginChangesNothing) {
    use(floorOf(kRoom));
    view_->putLight(3, 3, 1, 1);
    const FieldView::INFO before = *view_->getInfo(3, 3);
    for (const Point o : {Point{-1, 0}, Point{50, 3}, Point{3, 30}, Point{3, -7}}) {
        view_->putLight(o.x, o.y, 5, 5);
        EXPECT_EQ(view_->getInfo(3, 3)->flag, before.flag);
    }
    EXPECT_EQ(view_->getInfo(-1, 0), nullptr);
    EXPECT_EQ(view_->getInfo(0, 30), nullptr);
}

TEST_F(FieldViewTest, RadiiGiveFullLightDimmedLightAndMemory) {
    use(floorOf(kLitRoom));
    view_->putLight(20, 15, 1, 4);
    EXPECT_EQ(state(21, 16), TILE_LIGHT);  // d2 2: within the inner radius raised to 2
    EXPECT_EQ(state(22, 15), TILE_VIEW);   // d2 4
    EXPECT_EQ(state(24, 15), TILE_VIEW);   // d2 16
    EXPECT_EQ(state(25, 15), TILE_DARK);   // beyond both
    EXPECT_TRUE(flag(22, 15) & FieldView::FLAG_MEMORY);
    EXPECT_FALSE(flag(25, 15) & FieldView::FLAG_MEMORY);
    // Moving away: what was seen is remembered.
    view_->putLight(40, 15, 1, 1);
    EXPECT_EQ(state(21, 16), TILE_OPEN);
    EXPECT_EQ(state(24, 15), TILE_OPEN);
    EXPECT_EQ(state(25, 15), TILE_DARK);
    // An unlit room beyond the inner radius is seen but not lit by its tiles.
    use(floorOf(kRoom));
    view_->putLight(20, 15, 1, 4);
    EXPECT_EQ(state(22, 15), TILE_DARK);
    // Cells shown for this recomputation are remembered, the flag then drops.
    view_->getInfo(30, 5)->flag |= FieldView::FLAG_SHOW;
    view_->putLight(20, 15, 1, 1);
    EXPECT_EQ(state(30, 5), 2);
    EXPECT_FALSE(flag(30, 5) & FieldView::FLAG_SHOW);
}

TEST_F(FieldViewTest, DimmedCellsTakeTheViewColour) {
    const qel::test::ScopedValue<float> view(CHIP_VIEW_COLOR, 0.5f);
    const qel::test::ScopedValue<float> open(CHIP_OPEN_COLOR, 0.25f);
    use(floorOf(kLitRoom));
    view_->putLight(20, 15, 1, 4);
    EXPECT_EQ(view_->getInfo(20, 15)->chipLight.color, Color::WHITE);
    EXPECT_EQ(view_->getInfo(23, 15)->chipLight.color, Color::WHITE * 0.5f);
    view_->putLight(40, 15, 1, 1);
    EXPECT_EQ(view_->getInfo(23, 15)->chipLight.color, Color::WHITE * 0.25f);
    EXPECT_TRUE(flag(23, 15) & FieldView::FLAG_CHANGED);
}

TEST_F(FieldViewTest, LayersAndTheRememberedPicture) {
    use(floorOf(kRoom));
    // Two kept objects of equal priority: the later in the cell's list wins
    // (objects join a cell at its head, so that is the older one).
    object({5, 5}, {7, 1}, 30, true);
    object({5, 5}, {8, 1}, 30, true);
    ASSERT_EQ(cellList(5, 5).size(), 2u);
    const Point later = cellList(5, 5).back()->getChip();
    // A live object and a hidden one.
    object({6, 5}, {9, 1}, 10, false);
    ObjectBase* hidden = object({7, 5}, {9, 2}, 10, false);
    hidden->setVisible(false);

    view_->putLight(5, 6, 5, 5);
    EXPECT_EQ(view_->getInfo(5, 5)->chip.x, later.x);
    EXPECT_EQ(view_->getInfo(5, 5)->chipLight.x, later.x);  // kept layer over the tile
    EXPECT_EQ(view_->getInfo(6, 5)->chipLive.x, 9);
    EXPECT_EQ(view_->getInfo(6, 5)->chipLight.x, 9);  // in sight: the live layer
    EXPECT_EQ(view_->getInfo(7, 5)->chipLight.x, kRoom.getChip().x);

    // Out of sight (behind a wall line), the kept object stays in memory and
    // the live one gives way to the floor.
    for (int y = 0; y < 30; ++y) dungeon_->setTile(20, y, kWall);
    view_->putLight(30, 5, 1, 1);
    EXPECT_FALSE(flag(5, 5) & kSeen);
    EXPECT_EQ(view_->getInfo(5, 5)->chipLight.x, later.x);
    EXPECT_EQ(view_->getInfo(6, 5)->chipLight.x, kRoom.getChip().x);
}

TEST_F(FieldViewTest, AnObjectRefusedByTheLiveFilterStaysOutOfThePicture) {
    use(floorOf(kRoom));
    ObjectBase* unseen = object({6, 5}, {9, 1}, 10, false, false);
    static const ObjectBase* refused = nullptr;
    refused = unseen;
    static int afterCalls = 0;
    afterCalls = 0;
    const FieldView::LiveFilter filter =
        FieldView::setLiveFilter([](const ObjectBase* o) { return o != refused; });
    const FieldView::AfterLight after = FieldView::setAfterLight([] { ++afterCalls; });
    view_->putLight(5, 5, 1, 1);
    FieldView::setLiveFilter(filter);
    FieldView::setAfterLight(after);
    EXPECT_EQ(afterCalls, 1);
    EXPECT_EQ(view_->getInfo(6, 5)->chipLight.x, kRoom.getChip().x);
    EXPECT_FALSE(flag(6, 5) & FieldView::FLAG_BLOCK);
}

TEST_F(FieldViewTest, ASavedViewKeepsOnlyRememberedCellsAndAShortReadLeavesThemClear) {
    use(floorOf(kLitRoom));
    view_->putLight(10, 10, 2, 3);
    const std::string path = scratch_.file("view.dat");
    {
        qel::File out(path, qel::File::MODE_WRITE);
        ASSERT_TRUE(view_->serialize(out));
        ASSERT_TRUE(out.close());
    }
    FieldView copy(dungeon_.get(), manager_);
    copy.getInfo(40, 20)->flag = FieldView::FLAG_MEMORY | FieldView::FLAG_SIGHT;
    {
        qel::File in(path, qel::File::MODE_READ);
        ASSERT_TRUE(copy.serialize(in));
    }
    int remembered = 0;
    for (int x = 0; x < 50; ++x) {
        for (int y = 0; y < 30; ++y) {
            const FieldView::INFO& a = *view_->getInfo(x, y);
            const FieldView::INFO& b = *copy.getInfo(x, y);
            EXPECT_EQ(b.flag, a.flag & FieldView::FLAG_MEMORY);
            if (a.flag & FieldView::FLAG_MEMORY) {
                ++remembered;
                EXPECT_TRUE(a.chipLight == b.chipLight);
            }
        }
    }
    EXPECT_GT(remembered, 0);
    EXPECT_LT(remembered, 1500);

    // Cut the file short: nothing half read stays.
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(qel::File::readWhole(path, bytes));
    writeRaw(std::string(bytes.begin(), bytes.end() - 3));
    qel::File in(path_, qel::File::MODE_READ);
    std::string error;
    EXPECT_FALSE(copy.serialize(in, &error));
    EXPECT_FALSE(error.empty());
    for (int x = 0; x < 50; ++x) {
        for (int y = 0; y < 30; ++y) ASSERT_EQ(copy.getInfo(x, y)->flag, 0u);
    }
}

TEST_F(FieldViewTest, TheFloorGoingDarkClearsTheGamesView) {
    FieldView* view = GameData::instance().getFieldView();
    ASSERT_NE(view, nullptr);
    FieldView::installDarkHook();  // other tests may have replaced it
    EXPECT_TRUE(view->getPlayerLight());
    view->getInfo(3, 3)->flag = FieldView::FLAG_MEMORY;
    GameData::instance().getDungeon()->setAllDark();
    EXPECT_EQ(view->getInfo(3, 3)->flag, 0u);
}

// ---- Line of sight ---------------------------------------------------------

TEST_F(FieldViewTest, LineOfSightCases) {
    use(floorOf(kRoom, {{5, 5}, {5, 6}, {10, 2}, {20, 20}, {21, 21}}));
    struct Case {
        const char* name;
        Point a, b;
        bool free;
    } cases[] = {
        {"neighbours see each other through anything", {4, 5}, {5, 6}, true},
        {"same cell", {5, 5}, {5, 5}, true},
        {"row blocked between", {3, 5}, {8, 5}, false},
        {"column free", {3, 0}, {3, 29}, true},
        {"column blocked", {10, 0}, {10, 4}, false},
        {"knight's move past one block", {4, 4}, {5, 6}, true},
        {"knight's move between two blocks", {4, 5}, {6, 6}, false},
        {"long diagonal blocked", {18, 18}, {23, 23}, false},
        {"exactly between two cells, one blocking", {19, 20}, {23, 22}, false},
        {"first end off the map", {-1, 5}, {3, 5}, false},
        {"second end off the map", {3, 5}, {3, 30}, false},
        {"open long line", {0, 29}, {49, 20}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(view_->checkLineOfSight(c.a.x, c.a.y, c.b.x, c.b.y), c.free);
        EXPECT_EQ(view_->checkLineOfSight(c.b.x, c.b.y, c.a.x, c.a.y), c.free);
    }
}

TEST_F(FieldViewTest, LineOfSightIsSymmetricOnAPillarField) {
    std::vector<Point> pillars;
    for (int x = 1; x < 12; x += 2)
        for (int y = 1; y < 12; y += 2) pillars.push_back({x, y});
    use(floorOf(kRoom, pillars));
    int blocked = 0;
    for (int a = 0; a < 144; ++a) {
        for (int b = 0; b < 144; ++b) {
            const int x1 = a % 12, y1 = a / 12, x2 = b % 12, y2 = b / 12;
            const bool ab = view_->checkLineOfSight(x1, y1, x2, y2);
            ASSERT_EQ(ab, view_->checkLineOfSight(x2, y2, x1, y1))
                << x1 << "," << y1 << " - " << x2 << "," << y2;
            blocked += ab ? 0 : 1;
        }
    }
    EXPECT_GT(blocked, 1000);
}

TEST_F(FieldViewTest, LineOfSightIsSymmetricOnGeneratedFloors) {
    auto d = std::make_unique<Dungeon>("gen", 1);
    d->setDefRoom(kRoom);
    d->setDefPass(Tile("pass", 2, 0, Color::WHITE, TILE_PASS));
    d->setDefWall(kWall);
    use(std::move(d));
    qel::SysRand& rand = qel::SysRand::instance();
    int blocked = 0;
    for (int floor = 0; floor < 10; ++floor) {
        rand.seed(static_cast<std::uint32_t>(100 + floor));
        CreateDungeon gen(dungeon_.get(), 3, 3);
        gen.create();
        for (int i = 0; i < 10000; ++i) {
            const int x1 = static_cast<int>(rand.getRand() % 50);
            const int y1 = static_cast<int>(rand.getRand() % 30);
            const int x2 = static_cast<int>(rand.getRand() % 50);
            const int y2 = static_cast<int>(rand.getRand() % 30);
            const bool ab = view_->checkLineOfSight(x1, y1, x2, y2);
            ASSERT_EQ(ab, view_->checkLineOfSight(x2, y2, x1, y1))
                << x1 << "," << y1 << " - " << x2 << "," << y2;
            blocked += ab ? 0 : 1;
        }
    }
    EXPECT_GT(blocked, 0);
}

}  // namespace
