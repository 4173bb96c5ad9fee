#include "game/world/create_dungeon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/sys_rand.h"
#include "game/world/dungeon.h"
#include "game/world/tile.h"
#include "tests/support/scoped_value.h"

namespace {

const Tile kRoom("room", 1, 0, Color::WHITE, TILE_ROOM);
const Tile kPass("pass", 2, 0, Color::WHITE, TILE_PASS);
const Tile kWall("wall", 0, 0, Color::WHITE, TILE_WALL);
const Tile kHole("hole", 3, 0, Color::WHITE, TILE_HOLE);

std::unique_ptr<Dungeon> makeDungeon() {
    auto d = std::make_unique<Dungeon>("test", 1);
    d->setDefRoom(kRoom);
    d->setDefPass(kPass);
    d->setDefWall(kWall);
    return d;
}

// Cells reachable from `start` by steps between open cells.
std::array<bool, Dungeon::kCellCount> floodFrom(const Dungeon& d, Point start) {
    std::array<bool, Dungeon::kCellCount> seen{};
    if (!d.isOpen(start)) return seen;
    std::deque<Point> queue{start};
    seen[Dungeon::cellIndex(start.x, start.y)] = true;
    while (!queue.empty()) {
        const Point p = queue.front();
        queue.pop_front();
        const Point next[4] = {{p.x + 1, p.y}, {p.x - 1, p.y}, {p.x, p.y + 1}, {p.x, p.y - 1}};
        for (const Point& n : next) {
            if (!d.isOpen(n) || seen[Dungeon::cellIndex(n.x, n.y)]) continue;
            seen[Dungeon::cellIndex(n.x, n.y)] = true;
            queue.push_back(n);
        }
    }
    return seen;
}

// Everything a floor is made of, to compare two generations.
std::string snapshot(const Dungeon& d, const CreateDungeon& gen) {
    std::string s;
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) {
        s += d.cellAt(i).getTag();
        s += ',';
    }
    auto add = [&s](const auto& list) {
        for (const Point& p : list) s += std::to_string(p.x) + ':' + std::to_string(p.y) + ' ';
        s += '|';
    };
    add(gen.roomList());
    add(gen.passList());
    add(gen.doorList());
    add(gen.frameList());
    add(d.getRoomList());
    s += std::to_string(d.getStartPos().x) + ':' + std::to_string(d.getStartPos().y);
    return s;
}

struct Variation {
    const char* name;
    std::int32_t rows;
    std::int32_t cols;
    CreateDungeonSettings settings;
    int seeds;
    // Blocks wide enough for a room, its frame and a gap: passes never cross
    // a room, so every room cell keeps its room look.
    bool roomsIntact;
};

CreateDungeonSettings with(std::uint32_t minW, std::uint32_t minH, float roomPer,
                           std::uint32_t minRoom, std::uint32_t minSpace) {
    CreateDungeonSettings s;
    s.minWidth = minW;
    s.minHeight = minH;
    s.roomPer = roomPer;
    s.minRoom = minRoom;
    s.minSpace = minSpace;
    return s;
}

const CreateDungeonSettings kStart{};

const Variation kVariations[] = {
    {"start values, 3 x 3 blocks", 3, 3, kStart, 60, true},
    {"start values, 2 x 4 blocks", 2, 4, kStart, 40, true},
    {"start values, 4 x 5 blocks", 4, 5, kStart, 40, true},
    {"blocks narrower than a room (10 x 16)", 10, 16, kStart, 20, false},
    {"one-cell blocks (30 x 50)", 30, 50, kStart, 5, false},
    {"blocks of 2 cells (15 x 25)", 15, 25, kStart, 10, false},
    {"single block: the minimums can never hold", 1, 1, kStart, 3, true},
    {"counts outside the map are clamped", 0, 1000, kStart, 3, false},
    {"negative counts", -4, -9, kStart, 3, true},
    {"rooms larger than any block", 3, 4, with(40, 40, 0.75f, 3, 5), 20, false},
    {"zero minimum size", 3, 3, with(0, 0, 0.75f, 3, 5), 20, true},
    {"no block becomes a room", 3, 3, with(3, 3, 0.0f, 0, 5), 20, true},
    {"every used block becomes a room", 3, 3, with(3, 3, 1.0f, 3, 5), 20, true},
    {"unreachable minimums", 2, 2, with(3, 3, 0.75f, 100, 100), 2, true},
    {"huge minimum size on a fine grid", 12, 20, with(4000000000u, 4000000000u, 0.5f, 1, 1), 5,
     false},
};

TEST(CreateDungeon, EveryFloorStaysOnTheMapIsConnectedAndReplaysFromItsSeed) {
    for (const Variation& v : kVariations) {
        for (int seed = 1; seed <= v.seeds; ++seed) {
            SCOPED_TRACE(std::string(v.name) + ", seed " + std::to_string(seed));
            auto d = makeDungeon();
            qel::SysRand::instance().seed(static_cast<std::uint32_t>(seed));
            CreateDungeon gen(d.get(), v.rows, v.cols);
            gen.fixSettings(v.settings);
            gen.create();

            // Points and rects on the map.
            for (const auto* list :
                 {&gen.roomList(), &gen.passList(), &gen.doorList(), &gen.frameList()}) {
                for (const Point& p : *list)
                    ASSERT_TRUE(Dungeon::checkRange(p)) << p.x << "," << p.y;
            }
            for (const Point& p : d->getRoomList()) ASSERT_TRUE(Dungeon::checkRange(p));
            for (std::uint32_t r = 0; r < gen.rows(); ++r) {
                for (std::uint32_t c = 0; c < gen.cols(); ++c) {
                    const CreateDungeon::Rect rect = gen.blockRect(r, c);
                    if (gen.gridAt(2 * c, 2 * r) == CreateDungeon::kUnused) continue;
                    ASSERT_GE(rect.w, 1);
                    ASSERT_GE(rect.h, 1);
                    ASSERT_TRUE(Dungeon::checkRange(rect.x, rect.y));
                    ASSERT_TRUE(Dungeon::checkRange(rect.x + rect.w - 1, rect.y + rect.h - 1));
                }
            }
            // Room cells are painted as rooms; the start is open.
            for (const Point& p : gen.roomList()) {
                ASSERT_TRUE(v.roomsIntact ? d->getTile(p)->isRoom() : d->isOpen(p));
            }
            ASSERT_TRUE(d->isOpen(d->getStartPos()));

            // Connectivity from the start.
            const auto seen = floodFrom(*d, d->getStartPos());
            for (const auto* list : {&gen.roomList(), &gen.doorList(), &gen.passList()}) {
                for (const Point& p : *list) {
                    ASSERT_TRUE(seen[Dungeon::cellIndex(p.x, p.y)])
                        << "unreachable " << p.x << "," << p.y;
                }
            }

            // Same seed, same floor.
            const std::string first = snapshot(*d, gen);
            auto again = makeDungeon();
            qel::SysRand::instance().seed(static_cast<std::uint32_t>(seed));
            CreateDungeon gen2(again.get(), v.rows, v.cols);
            gen2.fixSettings(v.settings);
            gen2.create();
            ASSERT_EQ(first, snapshot(*again, gen2));
        }
    }
}

// The layout steps replayed from the generator's own draws, one by one in
// the order a seed must reproduce: each block's draws in turn (rows outer),
// then the start cell; each open wall's two ends in turn.
struct Replay {
    std::vector<std::int32_t> grid;
    std::vector<CreateDungeon::Rect> rects;
    std::vector<bool> lit;
    Point start;
    std::vector<Point> doors;
    std::vector<Point> passDoors;
};

std::uint32_t next() {
    return qel::SysRand::instance().getRand();
}

std::vector<std::int32_t> replayMaze(std::uint32_t rows, std::uint32_t cols, float roomPer) {
    const std::int64_t w = 2 * cols - 1;
    const std::int64_t h = 2 * rows - 1;
    std::vector<std::int32_t> grid(static_cast<std::size_t>(w * h), 0);
    std::int64_t row = 2 * (next() % rows);
    std::int64_t col = 2 * (next() % cols);
    grid[row * w + col] = 1;
    for (std::uint32_t s = 0; s < rows * cols * 2; ++s) {
        const std::uint32_t d = next() % 4;  // east, north, west, south
        const std::int64_t dc = d == 0 ? 1 : d == 2 ? -1 : 0;
        const std::int64_t dr = d == 1 ? -1 : d == 3 ? 1 : 0;
        if (row + 2 * dr < 0 || row + 2 * dr >= h || col + 2 * dc < 0 || col + 2 * dc >= w)
            continue;
        grid[(row + dr) * w + col + dc] = 1;
        row += 2 * dr;
        col += 2 * dc;
        grid[row * w + col] = 1;
    }
    for (std::int64_t r = 0; r < h; r += 2) {
        for (std::int64_t c = 0; c < w; c += 2) {
            if (qel::SysRand::float01FromDraw(next()) < roomPer) grid[r * w + c] *= 2;
        }
    }
    return grid;
}

void replayRooms(const CreateDungeon& gen, const CreateDungeonSettings& s, float litPer,
                 Replay& out) {
    const std::int64_t rows = gen.rows();
    const std::int64_t cols = gen.cols();
    const std::int64_t px = 51 / cols;
    const std::int64_t py = 31 / rows;
    const std::int64_t cw = (51 - 3 * cols) / cols;
    const std::int64_t ch = (31 - 3 * rows) / rows;
    const std::int64_t minW = s.minWidth;
    const std::int64_t minH = s.minHeight;
    std::vector<Point> cells;
    out.rects.assign(static_cast<std::size_t>(rows * cols), CreateDungeon::Rect{});
    out.lit.assign(out.rects.size(), false);
    for (std::int64_t i = 0; i < rows; ++i) {
        for (std::int64_t j = 0; j < cols; ++j) {
            const std::int32_t node = gen.gridAt(2 * j, 2 * i);
            if (node == 0) continue;
            CreateDungeon::Rect r{0, 0, 1, 1};
            if (node == 2) {
                const std::int64_t kx = cw - minW > 1 ? (cw - minW) / 2 : 1;
                r.x = static_cast<std::int32_t>(j * px + 1 + next() % kx);
                const std::int64_t ky = ch - minH > 1 ? (ch - minH) / 2 : 1;
                r.y = static_cast<std::int32_t>(i * py + 1 + next() % ky);
                r.w = static_cast<std::int32_t>(minW + next() % (j * px + cw - r.x - minW + 2));
                r.h = static_cast<std::int32_t>(minH + next() % (i * py + ch - r.y - minH + 2));
                out.lit[i * cols + j] = qel::SysRand::float01FromDraw(next()) <= litPer;
                for (std::int32_t y = r.y; y < r.y + r.h; ++y) {
                    for (std::int32_t x = r.x; x < r.x + r.w; ++x) cells.emplace_back(x, y);
                }
            } else {
                r.x = static_cast<std::int32_t>(j * px + 1 +
                                                next() % std::max<std::int64_t>((cw - 1) / 2, 1));
                r.y = static_cast<std::int32_t>(i * py + 1 +
                                                next() % std::max<std::int64_t>((ch - 1) / 2, 1));
            }
            out.rects[i * cols + j] = r;
        }
    }
    // The start cell's draw is taken even when no room was built.
    const std::uint32_t d = next();
    out.start = cells.empty() ? Point() : cells[d % cells.size()];
}

void replayPasses(const CreateDungeon& gen, Replay& out) {
    for (std::uint32_t i = 0; i < gen.gridHeight(); ++i) {
        for (std::uint32_t j = (i % 2 == 0) ? 1 : 0; j < gen.gridWidth(); j += 2) {
            if (gen.gridAt(j, i) == 0) continue;
            const CreateDungeon::Rect f = gen.blockRect(i / 2, j / 2);
            const CreateDungeon::Rect s = gen.blockRect((i + 1) / 2, (j + 1) / 2);
            Point doorA;
            Point doorB;
            if (i % 2 == 0) {
                const Point a(f.x + f.w + 1, f.y + static_cast<std::int32_t>(next() % f.h));
                const Point b(s.x - 2, s.y + static_cast<std::int32_t>(next() % s.h));
                doorA = Point(a.x - 1, a.y);
                doorB = Point(b.x + 1, b.y);
            } else {
                const Point a(f.x + static_cast<std::int32_t>(next() % f.w), f.y + f.h + 1);
                const Point b(s.x + static_cast<std::int32_t>(next() % s.w), s.y - 2);
                doorA = Point(a.x, a.y - 1);
                doorB = Point(b.x, b.y + 1);
            }
            // A door of a block one cell high is a pass.
            (f.h == 1 ? out.passDoors : out.doors).push_back(doorA);
            (s.h == 1 ? out.passDoors : out.doors).push_back(doorB);
        }
    }
}

TEST(CreateDungeon, LayoutStepsTakeTheirDrawsInTheirOrder) {
    struct Case {
        std::int32_t rows;
        std::int32_t cols;
        CreateDungeonSettings settings;
        float roomPer;
    };
    const Case cases[] = {
        {1, 2, kStart, 0.5f},
        {2, 1, kStart, 0.5f},
        {3, 3, kStart, 0.6f},
        {4, 5, kStart, 0.7f},
        {2, 3, with(1, 1, 1.0f, 0, 0), 1.0f},
    };
    int roomDoorsAsPasses = 0;
    for (const Case& c : cases) {
        for (std::uint32_t seed = 1; seed <= 25; ++seed) {
            SCOPED_TRACE(std::to_string(c.rows) + " x " + std::to_string(c.cols) + ", seed " +
                         std::to_string(seed));
            auto d = makeDungeon();
            CreateDungeon gen(d.get());
            gen.fixSettings(c.settings);
            gen.fillAll(kWall);
            gen.setBlockSize(c.rows, c.cols);

            qel::SysRand::instance().seed(seed);
            const std::vector<std::int32_t> grid = replayMaze(gen.rows(), gen.cols(), c.roomPer);
            const std::uint32_t afterMaze = next();
            qel::SysRand::instance().seed(seed);
            ASSERT_TRUE(gen.makeMaze(c.roomPer, 0, 0));
            for (std::uint32_t i = 0; i < gen.gridHeight(); ++i) {
                for (std::uint32_t j = 0; j < gen.gridWidth(); ++j)
                    ASSERT_EQ(gen.gridAt(j, i), grid[i * gen.gridWidth() + j]) << j << "," << i;
            }
            ASSERT_EQ(next(), afterMaze);

            Replay want;
            qel::SysRand::instance().seed(seed + 1000);
            replayRooms(gen, c.settings, 0.5f, want);
            const std::uint32_t afterRooms = next();
            qel::SysRand::instance().seed(seed + 1000);
            gen.placeRooms(0.5f);
            for (std::uint32_t r = 0; r < gen.rows(); ++r) {
                for (std::uint32_t col = 0; col < gen.cols(); ++col) {
                    const std::size_t at = r * gen.cols() + col;
                    ASSERT_EQ(gen.blockRect(r, col), want.rects[at]) << r << "," << col;
                    if (gen.gridAt(2 * col, 2 * r) == CreateDungeon::kRoom) {
                        const CreateDungeon::Rect& rect = want.rects[at];
                        ASSERT_EQ(d->getTile(rect.x, rect.y)->isLight(), want.lit[at]);
                    }
                }
            }
            ASSERT_EQ(next(), afterRooms);
            if (std::any_of(grid.begin(), grid.end(), [](std::int32_t v) { return v == 2; })) {
                EXPECT_EQ(d->getStartPos(), want.start);
            }

            qel::SysRand::instance().seed(seed + 2000);
            replayPasses(gen, want);
            const std::uint32_t afterPasses = next();
            qel::SysRand::instance().seed(seed + 2000);
            gen.makePass();
            ASSERT_EQ(next(), afterPasses);
            EXPECT_EQ(std::vector<Point>(gen.doorList().begin(), gen.doorList().end()), want.doors);
            for (const Point& p : want.passDoors) {
                EXPECT_NE(std::find(gen.passList().begin(), gen.passList().end(), p),
                          gen.passList().end());
            }
            for (std::uint32_t r = 0; r < gen.rows(); ++r) {
                for (std::uint32_t col = 0; col < gen.cols(); ++col) {
                    roomDoorsAsPasses += gen.gridAt(2 * col, 2 * r) == CreateDungeon::kRoom &&
                                         gen.blockRect(r, col).h == 1;
                }
            }
        }
    }
    // Rooms one cell high did occur, so their doors were checked above.
    EXPECT_GT(roomDoorsAsPasses, 0);
}

TEST(CreateDungeon, ScriptStepsWithPartlyDarkRoomsStayConnected) {
    for (std::uint32_t seed = 100; seed < 130; ++seed) {
        SCOPED_TRACE(seed);
        auto d = makeDungeon();
        qel::SysRand::instance().seed(seed);
        CreateDungeon gen(d.get());
        gen.fillAll(kWall);
        gen.makeRoom(3, 4, 0.8f, 0.5f, 3, 5);
        gen.makePass();
        const auto seen = floodFrom(*d, d->getStartPos());
        for (const Point& p : gen.roomList()) ASSERT_TRUE(seen[Dungeon::cellIndex(p.x, p.y)]);
        for (const Point& p : gen.doorList()) ASSERT_TRUE(seen[Dungeon::cellIndex(p.x, p.y)]);
    }
}

TEST(CreateDungeon, ANewBlockGridKeepsThePointsAlreadyListed) {
    auto d = makeDungeon();
    qel::SysRand::instance().seed(31);
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    gen.putTile(1, 1, kRoom);  // a cell the script made a room before the layout
    gen.makeRoom(2, 3, 1.0f, 1.0f, 2, 3);
    gen.makePass();
    // (1, 1) is still listed first, unless it became the start.
    ASSERT_FALSE(gen.roomList().empty());
    EXPECT_TRUE(gen.roomList().front() == Point(1, 1) || d->getStartPos() == Point(1, 1));
    const std::size_t rooms = gen.roomList().size();
    const std::size_t doors = gen.doorList().size();
    const std::size_t passes = gen.passList().size();
    const std::size_t frames = gen.frameList().size();

    // A second layout on the same generator adds to the lists.
    gen.makeRoom(2, 3, 1.0f, 1.0f, 2, 3);
    std::size_t cells = 0;
    for (std::uint32_t r = 0; r < gen.rows(); ++r) {
        for (std::uint32_t c = 0; c < gen.cols(); ++c) {
            if (gen.gridAt(2 * c, 2 * r) != CreateDungeon::kRoom) continue;
            cells += static_cast<std::size_t>(gen.blockRect(r, c).w) * gen.blockRect(r, c).h;
        }
    }
    EXPECT_EQ(gen.roomList().size(), rooms + cells - 1);  // less the new start
    EXPECT_EQ(gen.doorList().size(), doors);
    EXPECT_EQ(gen.passList().size(), passes);
    EXPECT_GT(gen.frameList().size(), frames);
}

TEST(CreateDungeon, MazeAcceptanceAndItsBound) {
    auto d = makeDungeon();
    qel::SysRand::instance().seed(7);
    CreateDungeon gen(d.get());
    gen.setBlockSize(1, 1);
    // One block never makes three rooms: the bounded walk keeps its last try.
    EXPECT_FALSE(gen.makeMaze(0.75f, 3, 5));
    EXPECT_NE(gen.gridAt(0, 0), CreateDungeon::kUnused);
    // One room of one block is enough when nothing more is asked.
    EXPECT_TRUE(gen.makeMaze(1.0f, 1, 1));
    EXPECT_EQ(gen.gridAt(0, 0), CreateDungeon::kRoom);
    // Without a grid there is nothing to walk.
    CreateDungeon bare(d.get());
    EXPECT_FALSE(bare.makeMaze(0.75f, 0, 0));
}

TEST(CreateDungeon, RoomLightFollowsTheChance) {
    for (float litPer : {0.0f, 1.0f}) {
        SCOPED_TRACE(litPer);
        auto d = makeDungeon();
        qel::SysRand::instance().seed(3);
        CreateDungeon gen(d.get());
        gen.makeRoom(2, 3, 1.0f, litPer, 2, 3);
        ASSERT_FALSE(gen.roomList().empty());
        for (const Point& p : gen.roomList()) EXPECT_EQ(d->getTile(p)->isLight(), litPer > 0.5f);
    }
}

TEST(CreateDungeon, MoveTileIsTrueOnlyForOpenCellsOnTheMap) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kRoom);
    d->setTile(5, 5, kWall);
    d->setTile(6, 5, kHole);
    d->setTile(7, 5, Tile("water", 0, 0, Color::WHITE, TILE_WATER));
    d->setTile(8, 5, Tile("block", 0, 0, Color::WHITE, TILE_BLOCK));
    struct Case {
        Point p;
        bool open;
    };
    const Case cases[] = {
        {{0, 0}, true},   {{49, 29}, true}, {{50, 0}, false},        {{0, 30}, false},
        {{-1, 0}, false}, {{0, -1}, false}, {{5, 5}, false},         {{6, 5}, false},
        {{7, 5}, true},   {{8, 5}, false},  {{INT32_MIN, 0}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(gen.moveTile(c.p), c.open) << c.p.x << "," << c.p.y;
    EXPECT_FALSE(CreateDungeon().moveTile(Point(1, 1)));  // no dungeon
}

TEST(CreateDungeon, IsOpenSpaceCountsChangesAroundTheCell) {
    // Neighbour order N, NE, E, SE, S, SW, W, NW as offsets.
    const Point around[8] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
    struct Case {
        const char* name;
        const char* open;  // one flag per neighbour in the order above
        bool expected;
    };
    const Case cases[] = {
        {"closed all round", "00000000", true},
        {"open all round", "11111111", true},
        {"corridor end", "10000000", true},
        {"straight corridor", "10001000", false},
        {"corner with its diagonal closed", "10100000", false},
        {"corner with its diagonal open", "11100000", true},
        {"N and NW: the wrap is not counted", "10000001", true},
        {"three separate openings", "10100010", false},
        {"room side", "00111110", true},
    };
    for (const Case& c : cases) {
        auto d = makeDungeon();
        CreateDungeon gen(d.get());
        gen.fillAll(kWall);
        for (int i = 0; i < 8; ++i) {
            if (c.open[i] == '1') d->setTile(Point(10 + around[i].x, 10 + around[i].y), kPass);
        }
        EXPECT_EQ(gen.isOpenSpace(Point(10, 10)), c.expected) << c.name;
    }
    // At a corner the neighbours off the map count as closed.
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    d->setTile(1, 0, kPass);
    d->setTile(0, 1, kPass);
    EXPECT_FALSE(gen.isOpenSpace(Point(0, 0)));
    d->setTile(1, 1, kPass);
    EXPECT_TRUE(gen.isOpenSpace(Point(0, 0)));
}

TEST(CreateDungeon, CheckCanTouchLooksAtTheFourSides) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    d->setTile(11, 11, kPass);  // diagonal only
    EXPECT_FALSE(gen.checkCanTouch(Point(10, 10)));
    d->setTile(10, 11, kPass);
    EXPECT_TRUE(gen.checkCanTouch(Point(10, 10)));
    d->setTile(0, 0, kPass);
    EXPECT_FALSE(gen.checkCanTouch(Point(-1, -1)));  // the one neighbour on the map is diagonal
    EXPECT_TRUE(gen.checkCanTouch(Point(-1, 0)));
}

TEST(CreateDungeon, FillFramePaintsTheOutlineClampedIntoTheMap) {
    struct Case {
        const char* name;
        std::int32_t x, y, w, h;
        std::int32_t x0, y0, x1, y1;  // expected outline
    };
    const Case cases[] = {
        {"the whole map", 0, 0, 49, 29, 0, 0, 49, 29},
        {"beyond every edge", -10, -10, 100, 100, 0, 0, 49, 29},
        {"huge sizes", 0, 0, INT32_MAX, INT32_MAX, 0, 0, 49, 29},
        {"one cell", 5, 5, 0, 0, 5, 5, 5, 5},
        {"negative sizes", 10, 10, -3, -2, 7, 8, 10, 10},
        {"a small box", 3, 4, 5, 6, 3, 4, 8, 10},
    };
    for (const Case& c : cases) {
        auto d = makeDungeon();
        CreateDungeon gen(d.get());
        gen.fillAll(kWall);
        gen.fillFrame(c.x, c.y, c.w, c.h, kPass);
        for (std::int32_t x = 0; x < Dungeon::kWidth; ++x) {
            for (std::int32_t y = 0; y < Dungeon::kHeight; ++y) {
                const bool inBox = x >= c.x0 && x <= c.x1 && y >= c.y0 && y <= c.y1;
                const bool onEdge = inBox && (x == c.x0 || x == c.x1 || y == c.y0 || y == c.y1);
                ASSERT_EQ(d->getTile(x, y)->sameLook(kPass), onEdge)
                    << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(CreateDungeon, FillRectAndEllipseStayOnTheMap) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    gen.fillRect(45, 25, INT32_MAX, INT32_MAX, kPass);
    EXPECT_TRUE(d->getTile(49, 29)->sameLook(kPass));
    EXPECT_TRUE(d->getTile(45, 25)->sameLook(kPass));
    EXPECT_TRUE(d->getTile(44, 25)->sameLook(kWall));
    gen.fillRect(INT32_MIN, INT32_MIN, 3, 3, kPass);  // entirely off the map
    EXPECT_TRUE(d->getTile(0, 0)->sameLook(kWall));

    gen.fillAll(kWall);
    gen.fillEllipse(kPass, 10, 10, 3, 1, 0.0f);
    EXPECT_TRUE(d->getTile(13, 10)->sameLook(kPass));
    EXPECT_TRUE(d->getTile(10, 11)->sameLook(kPass));
    EXPECT_TRUE(d->getTile(10, 12)->sameLook(kWall));
    EXPECT_TRUE(d->getTile(14, 10)->sameLook(kWall));
    // Turned a quarter, the long axis runs along y.
    gen.fillAll(kWall);
    gen.fillEllipse(kPass, 10, 10, 3, 1, 90.0f);
    EXPECT_TRUE(d->getTile(10, 13)->sameLook(kPass));
    EXPECT_TRUE(d->getTile(12, 10)->sameLook(kWall));
    // Centres and radii far outside only scan the clamped box.
    gen.fillEllipse(kPass, INT32_MAX, INT32_MIN, INT32_MAX, 5, 0.0f);
    // A zero radius leaves no inside: nothing is painted, not even a line.
    gen.fillAll(kWall);
    for (const auto& radii : {std::array<std::int32_t, 2>{0, 0}, {0, 3}, {3, 0}}) {
        for (float angle : {0.0f, 90.0f, 45.0f}) {
            gen.fillEllipse(kPass, 10, 10, radii[0], radii[1], angle);
        }
    }
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i)
        ASSERT_TRUE(d->cellAt(i).sameLook(kWall)) << i;
}

TEST(CreateDungeon, PicksFromEmptyListsAnswerNone) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    const Point none(-1, -1);
    const std::uint32_t flagSets[] = {0, PUT_INROOM, PUT_INPASS | PUT_INDOOR | PUT_INFRAME,
                                      PUT_INROOM | PUT_INPASS | PUT_INDOOR | PUT_INFRAME};
    for (std::uint32_t flags : flagSets) EXPECT_EQ(gen.randomPoint(flags), none) << flags;
    EXPECT_EQ(gen.randomRoomPoint(), none);
    EXPECT_EQ(gen.randomPassPoint(), none);
    EXPECT_EQ(gen.randomDoorPoint(), none);
    EXPECT_EQ(gen.randomFramePoint(), none);
    EXPECT_EQ(gen.getRoomPoint(0), none);
    EXPECT_EQ(gen.getDoorPoint(-1), none);
    EXPECT_EQ(d->getRoomRandomPos(), nullptr);
    EXPECT_EQ(gen.putRandom(&kPass, 5, PUT_INROOM), 0);
    EXPECT_EQ(gen.putRandom(&kPass, 5, PUT_INPASS | PUT_PERFECT), 0);
    EXPECT_EQ(gen.getRoomNum(), 0);
    CreateDungeon::SHOP shop;
    EXPECT_FALSE(gen.getShop(shop));
    CreateDungeon::ROOM_INFO info;
    EXPECT_FALSE(gen.getRoomInfo(info, 0));
}

TEST(CreateDungeon, RandomPointTakesTheSelectedListsInOrder) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.addRoomList(1, 1);
    gen.digPass(Point(5, 5), Point(5, 5), 1);  // one pass point
    qel::SysRand::instance().seed(11);
    bool sawRoom = false;
    bool sawPass = false;
    for (int i = 0; i < 50; ++i) {
        const Point p = gen.randomPoint(PUT_INROOM | PUT_INPASS);
        sawRoom |= p == Point(1, 1);
        sawPass |= p == Point(5, 5);
        ASSERT_TRUE(p == Point(1, 1) || p == Point(5, 5));
        EXPECT_EQ(gen.randomPoint(PUT_INPASS), Point(5, 5));
    }
    EXPECT_TRUE(sawRoom && sawPass);
}

TEST(CreateDungeon, PutRandomPlacesAwayFromTheBorderAndAlwaysReturns) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    qel::SysRand::instance().seed(5);
    // A null tile only counts; every plain try is accepted.
    EXPECT_EQ(gen.putRandom(nullptr, 10, 0), 10);
    EXPECT_EQ(gen.putRandom(&kPass, 400, 0), 400);
    for (std::int32_t x = 0; x < Dungeon::kWidth; ++x) {
        for (std::int32_t y = 0; y < Dungeon::kHeight; ++y) {
            const bool border = x == 0 || y == 0 || x == 49 || y == 29;
            if (border) {
                ASSERT_TRUE(d->getTile(x, y)->sameLook(kWall)) << x << "," << y;
            }
        }
    }
    // No candidate ever qualifies: perfect placement gives up.
    gen.fillAll(kWall);
    gen.addRoomList(3, 3);
    EXPECT_EQ(gen.putRandom(&kHole, 3, PUT_PERFECT | PUT_INROOM | PUT_ONDEFAULT), 0);
    // Once a cell qualifies it is found.
    gen.clearRoomList();
    d->setTile(20, 20, kRoom);
    CreateDungeonSettings patient;
    patient.failMax = 100000;
    gen.fixSettings(patient);
    EXPECT_EQ(gen.putRandom(&kHole, 1, PUT_PERFECT | PUT_ONDEFAULT), 1);
    EXPECT_TRUE(d->getTile(20, 20)->sameLook(kHole));
}

TEST(CreateDungeon, PutRandomPerfectFallsBackOnPasses) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    // Room points whose cells never qualify; one pass cell that does.
    gen.addRoomList(3, 3);
    gen.digPass(Point(10, 10), Point(10, 10), 0);
    d->setTile(10, 10, kPass);
    CreateDungeonSettings s;
    s.failMax = 5;
    gen.fixSettings(s);
    qel::SysRand::instance().seed(9);
    EXPECT_EQ(gen.putRandom(&kHole, 1, PUT_PERFECT | PUT_INROOM | PUT_ONDEFAULT), 1);
    EXPECT_TRUE(d->getTile(10, 10)->sameLook(kHole));
}

TEST(CreateDungeon, DigPassWalksAnLAndStaysOnTheMap) {
    struct Case {
        const char* name;
        Point from, to;
        std::int32_t mode;
        std::vector<Point> path;
    };
    const Case cases[] = {
        {"x first", {2, 2}, {4, 3}, 1, {{2, 2}, {3, 2}, {4, 2}, {4, 3}}},
        {"y first", {2, 2}, {4, 3}, 0, {{2, 2}, {2, 3}, {3, 3}, {4, 3}}},
        {"backwards", {4, 3}, {2, 2}, 1, {{4, 3}, {3, 3}, {2, 3}, {2, 2}}},
        {"one cell", {7, 7}, {7, 7}, 0, {{7, 7}}},
        {"ends off the map are moved onto it", {-5, 1}, {1, -9}, 1, {{0, 1}, {1, 1}, {1, 0}}},
        {"any nonzero mode walks x first", {0, 0}, {1, 1}, 7, {{0, 0}, {1, 0}, {1, 1}}},
    };
    for (const Case& c : cases) {
        auto d = makeDungeon();
        CreateDungeon gen(d.get());
        gen.fillAll(kWall);
        gen.digPass(c.from, c.to, c.mode);
        EXPECT_EQ(std::vector<Point>(gen.passList().begin(), gen.passList().end()), c.path)
            << c.name;
        for (const Point& p : c.path) EXPECT_TRUE(d->getTile(p)->sameLook(kPass)) << c.name;
    }
}

TEST(CreateDungeon, BuildRoomRecordsOnlyCellsOnTheMap) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    gen.buildRoom(kRoom, CreateDungeon::Rect{0, 0, 3, 2});
    // Rows outer, columns inner.
    const std::vector<Point> rooms = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}};
    EXPECT_EQ(std::vector<Point>(gen.roomList().begin(), gen.roomList().end()), rooms);
    // Below (x 0..3; -1 is off the map) and to the right (y 0..1).
    const std::vector<Point> frame = {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {3, 0}, {3, 1}};
    EXPECT_EQ(std::vector<Point>(gen.frameList().begin(), gen.frameList().end()), frame);

    CreateDungeon far(d.get());
    far.buildRoom(kRoom, CreateDungeon::Rect{48, 28, 100, 100});
    EXPECT_EQ(far.getRoomPointNum(), 4);
    for (const Point& p : far.frameList()) EXPECT_TRUE(Dungeon::checkRange(p));
    EXPECT_EQ(far.getFramePointNum(), 5);  // above (x 47..49) and left (y 28..29)
}

TEST(CreateDungeon, RoomListEditsKeepPointsOnTheMap) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    EXPECT_TRUE(gen.putTile(4, 4, kRoom));
    EXPECT_TRUE(gen.putTile(4, 4, kRoom));
    EXPECT_TRUE(gen.putTile(5, 4, kRoom));
    EXPECT_EQ(gen.getRoomPointNum(), 2);
    EXPECT_TRUE(gen.putTile(4, 4, kPass));  // no room bit: leaves the list
    EXPECT_EQ(gen.getRoomPoint(0), Point(5, 4));
    EXPECT_FALSE(gen.putTile(50, 4, kRoom));
    gen.addRoomList(-1, 3);
    gen.addRoomList(5, 4);
    EXPECT_EQ(gen.getRoomPointNum(), 1);
    gen.removeRoomList(5, 4);
    EXPECT_EQ(gen.getRoomPointNum(), 0);

    // findAllRoomPoints appends every room-look cell, rows outer, also one
    // that is listed already.
    d->setTile(7, 2, kRoom);
    d->setTile(3, 9, kRoom);
    gen.addRoomList(7, 2);
    gen.findAllRoomPoints();
    const std::vector<Point> want = {{7, 2}, {7, 2}, {5, 4}, {3, 9}};
    EXPECT_EQ(std::vector<Point>(gen.roomList().begin(), gen.roomList().end()), want);
    EXPECT_EQ(std::vector<Point>(d->getRoomList().begin(), d->getRoomList().end()), want);
}

// A layout of one row or one column of blocks, every block a room large
// enough to be a shop.
std::unique_ptr<CreateDungeon> bigRooms(Dungeon* d, std::int32_t rows, std::int32_t cols,
                                        std::uint32_t firstSeed = 1) {
    for (std::uint32_t seed = firstSeed; seed < firstSeed + 500; ++seed) {
        qel::SysRand::instance().seed(seed);
        auto gen = std::make_unique<CreateDungeon>(d);
        gen->fillAll(kWall);
        const auto blocks = static_cast<std::uint32_t>(rows * cols);
        gen->makeRoom(rows, cols, 1.0f, 1.0f, blocks, 3);
        bool big = true;
        for (std::int32_t r = 0; r < rows; ++r) {
            for (std::int32_t c = 0; c < cols; ++c) {
                const auto rect =
                    gen->blockRect(static_cast<std::uint32_t>(r), static_cast<std::uint32_t>(c));
                big &= rect.w > 4 && rect.h > 4;
            }
        }
        if (big) return gen;
    }
    return nullptr;
}

// A 1 x 2 layout whose two rooms are both large enough to be shops.
std::unique_ptr<CreateDungeon> twoBigRooms(Dungeon* d) {
    return bigRooms(d, 1, 2);
}

TEST(CreateDungeon, ShopNeedsADoorIntoABigDeadEndRoom) {
    auto d = makeDungeon();
    auto gen = twoBigRooms(d.get());
    ASSERT_NE(gen, nullptr);
    CreateDungeon::SHOP shop;
    // Candidates exist, but before the passes there is no door into them.
    EXPECT_FALSE(gen->getShop(shop));
    gen->makePass();
    ASSERT_TRUE(gen->getShop(shop));
    const CreateDungeon::Rect left = gen->blockRect(0, 0);
    const CreateDungeon::Rect right = gen->blockRect(0, 1);
    const CreateDungeon::Rect& room = shop.lt == Point(left.x, left.y) ? left : right;
    EXPECT_EQ(shop.rb, Point(room.x + room.w - 1, room.y + room.h - 1));
    EXPECT_TRUE(room.contains(shop.step));
    EXPECT_FALSE(room.contains(shop.door));
    EXPECT_EQ(std::abs(shop.door.x - shop.step.x) + std::abs(shop.door.y - shop.step.y), 1);
    // Entered from the side: the vendor stands above or below the step.
    EXPECT_EQ(shop.vendor.x, shop.step.x);
    EXPECT_EQ(std::abs(shop.vendor.y - shop.step.y), 1);
    EXPECT_TRUE(room.contains(shop.vendor));
}

TEST(CreateDungeon, TheVendorStandsBesideTheStepForEitherEntryDirection) {
    struct Case {
        const char* name;
        std::int32_t rows, cols;
        Point first;  // where the vendor stands when that cell is in the room
        Point second;
    };
    const Case cases[] = {
        {"entered from the side: above the step, else below", 1, 2, {0, -1}, {0, 1}},
        {"entered from above or below: right of the step, else left", 2, 1, {1, 0}, {-1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto d = makeDungeon();
        auto gen = bigRooms(d.get(), c.rows, c.cols);
        ASSERT_NE(gen, nullptr);
        gen->makePass();
        CreateDungeon::SHOP shop;
        ASSERT_TRUE(gen->getShop(shop));
        const CreateDungeon::Rect room{shop.lt.x, shop.lt.y, shop.rb.x - shop.lt.x + 1,
                                       shop.rb.y - shop.lt.y + 1};
        const Point into = shop.step - shop.door;
        EXPECT_EQ(c.rows == 1 ? into.y : into.x, 0) << "the door is on the expected wall";
        const Point first = shop.step + c.first;
        EXPECT_EQ(shop.vendor, room.contains(first) ? first : shop.step + c.second);
    }
}

TEST(CreateDungeon, ShopIsFalseWhenNoDoorLeadsIntoTheChosenRoom) {
    // Three rooms in a row; only the wall between the middle and the right
    // one gets a door. The left and right rooms are the candidates (one open
    // wall each): the right one has its door, the left one has none.
    int withShop = 0, without = 0;
    for (std::uint32_t seed = 1; seed < 200 && (withShop == 0 || without == 0); seed += 7) {
        auto d = makeDungeon();
        auto gen = bigRooms(d.get(), 1, 3, seed);
        ASSERT_NE(gen, nullptr);
        gen->connectBlocks(3, 0);
        const CreateDungeon::Rect right = gen->blockRect(0, 2);
        for (int draw = 0; draw < 4; ++draw) {
            CreateDungeon::SHOP shop;
            if (gen->getShop(shop)) {
                ++withShop;
                EXPECT_EQ(shop.lt, Point(right.x, right.y));
            } else {
                ++without;
            }
        }
    }
    EXPECT_GT(withShop, 0);
    EXPECT_GT(without, 0);
}

TEST(CreateDungeon, ARoomWithDoorsOnAllFourSidesFillsEverySlot) {
    for (std::uint32_t seed = 1; seed < 3000; ++seed) {
        qel::SysRand::instance().seed(seed);
        auto d = makeDungeon();
        CreateDungeon gen(d.get());
        gen.fillAll(kWall);
        gen.makeRoom(3, 3, 1.0f, 1.0f, 9, 3);
        gen.makePass();
        for (std::int32_t i = 0; i < gen.getRoomNum(); ++i) {
            CreateDungeon::ROOM_INFO info;
            ASSERT_TRUE(gen.getRoomInfo(info, i));
            if (info.doorNum != 4u) continue;
            const Point up = info.door[CreateDungeon::DIR_UP];
            const Point down = info.door[CreateDungeon::DIR_DOWN];
            const Point left = info.door[CreateDungeon::DIR_LEFT];
            const Point right = info.door[CreateDungeon::DIR_RIGHT];
            EXPECT_EQ(up.y, info.lt.y - 1);
            EXPECT_EQ(down.y, info.rb.y + 1);
            EXPECT_EQ(left.x, info.lt.x - 1);
            EXPECT_EQ(right.x, info.rb.x + 1);
            for (const Point& p : {up, down}) EXPECT_TRUE(p.x >= info.lt.x && p.x <= info.rb.x);
            for (const Point& p : {left, right}) EXPECT_TRUE(p.y >= info.lt.y && p.y <= info.rb.y);
            return;
        }
    }
    FAIL() << "no layout gave a room four doors";
}

TEST(CreateDungeon, PutRandomWithCanTouchPlacesOnlyNextToAnOpenCell) {
    const Tile kMark("mark", 4, 0, Color::WHITE, TILE_WALL);  // closed, so nothing opens up
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    d->setTile(10, 10, kPass);
    qel::SysRand::instance().seed(3);
    const std::int32_t placed = gen.putRandom(&kMark, 3000, PUT_CANTOUCH);
    EXPECT_GT(placed, 0);
    int marked = 0;
    for (std::int32_t x = 0; x < Dungeon::kWidth; ++x) {
        for (std::int32_t y = 0; y < Dungeon::kHeight; ++y) {
            if (!d->getTile(x, y)->sameLook(kMark)) continue;
            ++marked;
            EXPECT_EQ(std::abs(x - 10) + std::abs(y - 10), 1) << x << "," << y;
        }
    }
    EXPECT_GE(placed, marked);
    EXPECT_LE(marked, 4);
    // Perfect placement keeps trying until a cell touches.
    gen.fillAll(kWall);
    d->setTile(20, 15, kPass);
    EXPECT_EQ(gen.putRandom(&kMark, 1, PUT_PERFECT | PUT_CANTOUCH), 1);
}

TEST(CreateDungeon, TheFrameRunsAboveBelowLeftThenRight) {
    auto d = makeDungeon();
    CreateDungeon gen(d.get());
    gen.fillAll(kWall);
    gen.buildRoom(kRoom, CreateDungeon::Rect{10, 5, 3, 2});
    const std::vector<Point> frame = {
        {9, 4},  {10, 4}, {11, 4}, {12, 4}, {13, 4},  // above, corners included
        {9, 7},  {10, 7}, {11, 7}, {12, 7}, {13, 7},  // below
        {9, 5},  {9, 6},                              // left
        {13, 5}, {13, 6},                             // right
    };
    EXPECT_EQ(std::vector<Point>(gen.frameList().begin(), gen.frameList().end()), frame);
}

TEST(CreateDungeon, RoomInfoSortsDoorsBySide) {
    auto d = makeDungeon();
    auto gen = twoBigRooms(d.get());
    ASSERT_NE(gen, nullptr);
    gen->makePass();
    ASSERT_EQ(gen->getRoomNum(), 2);
    CreateDungeon::ROOM_INFO info;
    ASSERT_TRUE(gen->getRoomInfo(info, 0));
    const CreateDungeon::Rect left = gen->blockRect(0, 0);
    EXPECT_EQ(info.lt, Point(left.x, left.y));
    EXPECT_EQ(info.rb, Point(left.x + left.w - 1, left.y + left.h - 1));
    EXPECT_EQ(info.width, left.w);
    EXPECT_EQ(info.doorNum, 1u);
    EXPECT_EQ(info.door[CreateDungeon::DIR_RIGHT].x, left.x + left.w);
    EXPECT_EQ(info.door[CreateDungeon::DIR_LEFT], Point(-1, -1));
    ASSERT_TRUE(gen->getRoomInfo(info, 1));
    EXPECT_EQ(info.doorNum, 1u);
    EXPECT_EQ(info.door[CreateDungeon::DIR_LEFT].x, gen->blockRect(0, 1).x - 1);
    EXPECT_EQ(info.door[CreateDungeon::DIR_RIGHT], Point(-1, -1));
    // Past the end: false, and the record is left alone.
    info.width = 12345;
    EXPECT_FALSE(gen->getRoomInfo(info, 2));
    EXPECT_FALSE(gen->getRoomInfo(info, -1));
    EXPECT_EQ(info.width, 12345);
}

TEST(CreateDungeon, ScriptFormsTakeTheTileFirstCellsAsNumbersAndNilRecords) {
    auto d = makeDungeon();
    auto gen = twoBigRooms(d.get());
    ASSERT_NE(gen, nullptr);
    gen->makePass();
    // A nil record is refused before any draw.
    qel::SysRand::instance().seed(2);
    const std::uint32_t firstDraw = qel::SysRand::instance().getRand();
    qel::SysRand::instance().seed(2);
    EXPECT_FALSE(gen->getShop(static_cast<CreateDungeon::SHOP*>(nullptr)));
    EXPECT_FALSE(gen->getRoomInfo(static_cast<CreateDungeon::ROOM_INFO*>(nullptr), 0));
    EXPECT_EQ(qel::SysRand::instance().getRand(), firstDraw);
    CreateDungeon::SHOP shop;
    CreateDungeon::ROOM_INFO info;
    EXPECT_TRUE(gen->getShop(&shop));
    EXPECT_TRUE(gen->getRoomInfo(&info, 1));

    gen->fillAll(kWall);
    gen->fillRect(kPass, 10, 10, 3, 1);
    gen->fillFrame(kPass, 20, 20, 2, 2);
    EXPECT_TRUE(gen->putTile(kRoom, 30, 5));
    EXPECT_TRUE(d->getTile(12, 10)->sameLook(kPass));
    EXPECT_TRUE(d->getTile(13, 10)->sameLook(kWall));
    EXPECT_TRUE(d->getTile(22, 21)->sameLook(kPass));
    EXPECT_TRUE(d->getTile(21, 21)->sameLook(kWall));
    EXPECT_TRUE(d->getTile(30, 5)->sameLook(kRoom));
    EXPECT_EQ(gen->roomList().back(), Point(30, 5));
    EXPECT_FALSE(gen->isOpenSpace(11, 10));  // middle of a straight corridor
    EXPECT_TRUE(gen->isOpenSpace(10, 10));
    EXPECT_TRUE(gen->checkCanTouch(10, 11));
    EXPECT_FALSE(gen->checkCanTouch(15, 15));
}

// The generator reads the settings when it runs, not when it was made: a
// script's later assignment takes effect, until the generator is given its
// own.
TEST(CreateDungeon, SettingsAreReadAtTheMomentOfUseUnlessFixed) {
    CreateDungeon gen;
    EXPECT_EQ(gen.settings().minRoom, 3u);
    const qel::test::ScopedValue<std::uint32_t> width(CREATE_MIN_WITDH, 7);
    const qel::test::ScopedValue<std::uint32_t> height(CREATE_MIN_HEIGHT, 2);
    const qel::test::ScopedValue<float> roomPer(CREATE_ROOM_PER, 0.25f);
    const qel::test::ScopedValue<std::uint32_t> rooms(CREATE_MIN_ROOM, 9);
    const qel::test::ScopedValue<std::uint32_t> space(CREATE_MIN_SPACE, 11);
    const qel::test::ScopedValue<std::uint32_t> fails(CREATE_FAIL_MAX, 13);
    const CreateDungeonSettings s = gen.settings();
    EXPECT_EQ(s.minWidth, 7u);
    EXPECT_EQ(s.minHeight, 2u);
    EXPECT_EQ(s.roomPer, 0.25f);
    EXPECT_EQ(s.minRoom, 9u);
    EXPECT_EQ(s.minSpace, 11u);
    EXPECT_EQ(s.failMax, 13u);
    CreateDungeonSettings fixed;
    fixed.minRoom = 1;
    gen.fixSettings(fixed);
    EXPECT_EQ(gen.settings().minRoom, 1u);
}

}  // namespace
