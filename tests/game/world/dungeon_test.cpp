#include "game/world/dungeon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/core/sys_rand.h"
#include "engine/file/file.h"
#include "engine/script/lua_param.h"
#include "engine/script/sys_lua.h"
#include "game/world/create_dungeon.h"
#include "tests/support/scratch_folder.h"

namespace {

const Tile kRoom("room", 1, 0, Color::WHITE, TILE_ROOM);
const Tile kPass("pass", 2, 0, Color::WHITE, TILE_PASS);
const Tile kWall("wall", 0, 0, Color::WHITE, TILE_WALL);
const Tile kWater("water", 4, 0, Color::WHITE, TILE_WATER | TILE_INFO_ROOM);

std::vector<unsigned char> readScrambled(const std::string& path) {
    qel::File f;
    EXPECT_TRUE(f.open(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY));
    std::vector<unsigned char> bytes(f.getSize());
    f.read(bytes.data(), bytes.size());
    return bytes;
}

void writeScrambled(const std::string& path, const std::vector<unsigned char>& bytes) {
    qel::File f;
    ASSERT_TRUE(f.open(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY));
    f.write(bytes.data(), bytes.size());
    ASSERT_TRUE(f.close());
}

void generate(Dungeon& d, std::uint32_t seed) {
    d.setDefRoom(kRoom);
    d.setDefPass(kPass);
    d.setDefWall(kWall);
    qel::SysRand::instance().seed(seed);
    CreateDungeon gen(&d, 3, 3);
    gen.create();
}

// The cells' looks and states, the default tiles and the room list.
std::string describe(const Dungeon& d) {
    std::string s;
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) {
        const Tile& t = d.cellAt(i);
        s += std::string(t.getTag()) + std::to_string(t.getColor().argb()) + ':' +
             std::to_string(t.getInfo().data) + ':' + std::to_string(t.getChip().x) + ':' +
             std::to_string(t.getState()) + ',';
    }
    s += d.getDefRoom().getTag();
    s += d.getDefPass().getTag();
    s += d.getDefWall().getTag();
    for (const Point& p : d.getRoomList())
        s += std::to_string(p.x) + ':' + std::to_string(p.y) + ' ';
    return s;
}

TEST(Dungeon, CellsAreColumnMajorAndKnowTheirPositions) {
    struct Case {
        std::int32_t x, y, index;
    };
    const Case cases[] = {{0, 0, 0}, {0, 29, 29}, {1, 0, 30}, {49, 29, 1499}, {10, 5, 305}};
    Dungeon d;
    for (const Case& c : cases) {
        EXPECT_EQ(Dungeon::cellIndex(c.x, c.y), c.index);
        EXPECT_EQ(&d.cellAt(c.index), d.getTile(c.x, c.y));
    }
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) {
        const Point p = d.cellAt(i).getPos();
        ASSERT_EQ(Dungeon::cellIndex(p.x, p.y), i);
    }
    // Painting keeps the cell's position.
    ASSERT_TRUE(d.setTile(3, 4, Tile(kRoom, 40, 20)));
    EXPECT_EQ(d.getTile(3, 4)->getPos(), Point(3, 4));
    EXPECT_TRUE(d.getTile(3, 4)->sameLook(kRoom));
}

TEST(Dungeon, PositionsOffTheMapReachNoCell) {
    Dungeon d;
    const Point off[] = {{50, 0}, {0, 30}, {-1, 0}, {0, -1}, {INT32_MIN, INT32_MAX}, {49, 30}};
    for (const Point& p : off) {
        EXPECT_FALSE(Dungeon::checkRange(p)) << p.x << "," << p.y;
        EXPECT_EQ(d.getTile(p), nullptr);
        EXPECT_FALSE(d.setTile(p, kRoom));
        EXPECT_FALSE(d.isOpen(p));
    }
    EXPECT_TRUE(Dungeon::checkRange(49, 29));
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) ASSERT_EQ(d.cellAt(i).getTag()[0], '\0');
    EXPECT_THROW(d.cellAt(Dungeon::kCellCount), std::out_of_range);
}

TEST(Dungeon, UpdateRoomTakesDryRoomCellsColumnByColumn) {
    Dungeon d;
    d.setTile(5, 1, kRoom);
    d.setTile(2, 8, kRoom);
    d.setTile(2, 3, kRoom);
    d.setTile(3, 3, kWater);  // room bit, but water
    d.setTile(4, 4, kPass);
    d.updateRoom();
    const std::vector<Point> want = {{2, 3}, {2, 8}, {5, 1}};
    EXPECT_EQ(std::vector<Point>(d.getRoomList().begin(), d.getRoomList().end()), want);
    EXPECT_EQ(d.getRoomNum(), 3);
    EXPECT_EQ(*d.getRoomPos(1), Point(2, 8));
    EXPECT_EQ(d.getRoomPos(3), nullptr);
    EXPECT_EQ(d.getRoomPos(-1), nullptr);

    // The random pick only ever answers listed points.
    qel::SysRand::instance().seed(4);
    for (int i = 0; i < 30; ++i) {
        const Point* p = d.getRoomRandomPos();
        ASSERT_NE(p, nullptr);
        EXPECT_NE(std::find(want.begin(), want.end(), *p), want.end());
    }
    // A list handed over keeps only points on the map.
    PointList given;
    given.emplace_back(1, 1);
    given.emplace_back(50, 1);
    d.setRoomList(given);
    EXPECT_EQ(d.getRoomNum(), 1);
}

int g_darkCalls = 0;

TEST(Dungeon, LightStates) {
    Dungeon d;
    const std::int32_t states[] = {0, 1, 2, 3, 4};
    for (std::int32_t i = 0; i < 5; ++i) d.cellAt(i).setState(states[i]);
    d.setAllLight();
    const std::int32_t afterLight[] = {1, 1, 2, 3, 4};
    for (std::int32_t i = 0; i < 5; ++i) EXPECT_EQ(d.cellAt(i).getState(), afterLight[i]);
    EXPECT_EQ(d.cellAt(100).getState(), TILE_OPEN);

    g_darkCalls = 0;
    const Dungeon::DarkHook installed = Dungeon::setDarkHook([] { ++g_darkCalls; });
    d.setAllDark();
    Dungeon::setDarkHook(installed);
    EXPECT_EQ(g_darkCalls, 1);
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) ASSERT_EQ(d.cellAt(i).getState(), 0);
}

TEST(Dungeon, StaticFloorFileRoundTrip) {
    qel::test::ScratchFolder dir;
    Dungeon d("first", 3);
    generate(d, 21);
    for (std::int32_t i = 0; i < Dungeon::kCellCount; i += 7) d.cellAt(i).setState(TILE_VIEW);
    ASSERT_TRUE(d.saveStatic(dir.file("floor.dat"), "FloorScript"));
    // Saving darkened the floor and rebuilt the room list from the cells.
    const std::string saved = describe(d);
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) ASSERT_EQ(d.cellAt(i).getState(), 0);

    Dungeon loaded("other", 9);
    ASSERT_TRUE(loaded.loadStatic(dir.file("floor.dat"), false));
    EXPECT_EQ(describe(loaded), saved);
    EXPECT_EQ(loaded.getLuaFunc(), "FloorScript");
    // Tag and level are not part of the file.
    EXPECT_EQ(loaded.getTag(), "other");
    EXPECT_EQ(loaded.getLevel(), 9);
}

TEST(Dungeon, SaveRecordKeepsTagLevelAndLightStates) {
    qel::test::ScratchFolder dir;
    Dungeon d("cave", 7);
    generate(d, 5);
    for (std::int32_t i = 0; i < Dungeon::kCellCount; i += 3) d.cellAt(i).setState(i % 5);
    {
        qel::File out(dir.file("save.dat"), qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
        ASSERT_TRUE(d.serialize(out));
        ASSERT_TRUE(out.close());
    }
    // The name with its NUL and the level lead the tile section.
    const std::vector<unsigned char> bytes = readScrambled(dir.file("save.dat"));
    ASSERT_GT(bytes.size(), 11u);
    EXPECT_EQ(std::memcmp(bytes.data(), "cave\0\7\0\0\0", 9), 0);
    Dungeon back;
    qel::File in(dir.file("save.dat"), qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY);
    ASSERT_TRUE(back.serialize(in));
    EXPECT_EQ(back.getTag(), "cave");
    EXPECT_EQ(back.getLevel(), 7);
    EXPECT_EQ(describe(back), describe(d));
}

TEST(Dungeon, TileSectionNumbersEachLookOnce) {
    qel::test::ScratchFolder dir;
    // One look everywhere, defaults included: one record, 1503 zeros.
    Dungeon same;
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) same.cellAt(i).copyLook(kWall);
    same.setDefRoom(kWall);
    same.setDefPass(kWall);
    same.setDefWall(kWall);
    ASSERT_TRUE(same.saveStatic(dir.file("same.dat"), ""));
    const std::vector<unsigned char> bytes = readScrambled(dir.file("same.dat"));
    ASSERT_EQ(bytes.size(), 2u + 58u + 1503u * 2u + 4u + 1u);
    EXPECT_EQ(bytes[0] | bytes[1] << 8, 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[2])), "wall");
    EXPECT_EQ(bytes[2 + 58 - 2] | bytes[2 + 58 - 1] << 8, 0);  // the record's number
    for (std::size_t i = 60; i < 60 + 1503 * 2; ++i) ASSERT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(bytes.back(), 0);  // the empty function name's NUL

    // Equal tags with different colours are two looks.
    Dungeon two;
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) two.cellAt(i).copyLook(kWall);
    two.getTile(0, 1)->setColor(Color::RED);
    two.setDefRoom(kWall);
    two.setDefPass(kWall);
    two.setDefWall(kWall);
    ASSERT_TRUE(two.saveStatic(dir.file("two.dat"), ""));
    const std::vector<unsigned char> twoBytes = readScrambled(dir.file("two.dat"));
    EXPECT_EQ(twoBytes[0] | twoBytes[1] << 8, 2);
    // Cell (0, 1) is the second cell met, so it has number 1.
    const std::size_t cells = 2 + 2 * 58;
    EXPECT_EQ(twoBytes[cells + 2], 1);
    EXPECT_EQ(twoBytes[cells + 4], 0);
}

TEST(Dungeon, TileSectionRecordsGoOutInLookOrderWithTheirNumbers) {
    qel::test::ScratchFolder dir;
    Dungeon d;
    for (std::int32_t i = 0; i < Dungeon::kCellCount; ++i) d.cellAt(i).copyLook(kWall);
    d.setDefRoom(kWall);
    d.setDefPass(kWall);
    d.setDefWall(kWall);
    // Met second, so numbered 1, but its tag sorts first.
    Tile* odd = d.getTile(0, 1);
    odd->copyLook(Tile("aaa", 5, -6, Color(0x11223344u), 0x80000019u));
    odd->setState(TILE_LIGHT);
    {
        qel::File out(dir.file("tiles.dat"), qel::File::MODE_WRITE);
        ASSERT_TRUE(d.writeTiles(out));
        ASSERT_TRUE(out.close());
    }
    qel::File in(dir.file("tiles.dat"), qel::File::MODE_READ);
    std::vector<unsigned char> b(in.getSize());
    ASSERT_TRUE(in.read(b.data(), b.size()));
    ASSERT_EQ(b.size(), 2u + 2 * 58u + 1503u * 2u + 4u);
    auto u16 = [&b](std::size_t at) { return static_cast<unsigned>(b[at] | b[at + 1] << 8); };
    auto u32 = [&b](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, &b[at], 4);
        return v;
    };
    EXPECT_EQ(u16(0), 2u);
    // Record: tag in 33 bytes, 3 bytes padding, chip x, chip y, colour, flag
    // word, light state, then the record's number.
    const std::size_t first = 2;
    EXPECT_EQ(std::memcmp(&b[first], "aaa\0\0", 5), 0);
    for (std::size_t i = first + 3; i < first + 36; ++i) EXPECT_EQ(b[i], 0) << i;
    EXPECT_EQ(u32(first + 36), 5u);
    EXPECT_EQ(static_cast<std::int32_t>(u32(first + 40)), -6);
    EXPECT_EQ(u32(first + 44), 0x11223344u);
    EXPECT_EQ(u32(first + 48), 0x80000019u);
    EXPECT_EQ(u32(first + 52), static_cast<std::uint32_t>(TILE_LIGHT));
    EXPECT_EQ(u16(first + 56), 1u);
    const std::size_t second = first + 58;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[second])), "wall");
    EXPECT_EQ(u32(second + 48), TILE_WALL);
    EXPECT_EQ(u16(second + 56), 0u);
    // Cell numbers column by column: (0, 0) then (0, 1).
    const std::size_t cells = second + 58;
    EXPECT_EQ(u16(cells), 0u);
    EXPECT_EQ(u16(cells + 2), 1u);
    EXPECT_EQ(u16(cells + 4), 0u);
    EXPECT_EQ(u32(cells + 1503 * 2), 0u);  // no room points
}

TEST(Dungeon, DamagedFloorFilesAreRefusedAndChangeNothing) {
    qel::test::ScratchFolder dir;
    Dungeon source;
    generate(source, 8);
    ASSERT_TRUE(source.saveStatic(dir.file("good.dat"), "F"));
    const std::vector<unsigned char> good = readScrambled(dir.file("good.dat"));
    const std::size_t palette = good[0] | good[1] << 8;
    const std::size_t cellsAt = 2 + palette * 58;
    const std::size_t roomsAt = cellsAt + 1503 * 2;

    struct Case {
        const char* name;
        std::vector<unsigned char> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"palette cut", {good.begin(), good.begin() + 30}});
    cases.push_back({"cells cut", {good.begin(), good.begin() + cellsAt + 100}});
    cases.push_back({"room list cut", {good.begin(), good.begin() + roomsAt + 4 + 8}});
    cases.push_back({"name without its NUL", {good.begin(), good.end() - 1}});
    auto badCell = good;
    badCell[cellsAt] = 0xFF;
    badCell[cellsAt + 1] = 0xFF;
    cases.push_back({"cell names no record", badCell});
    auto badDefault = good;
    badDefault[cellsAt + 1500 * 2] = 0xEE;
    cases.push_back({"default names no record", badDefault});
    auto twice = good;
    twice[2 + 56] = twice[2 + 58 + 56];  // the first record takes the second's number
    twice[2 + 57] = twice[2 + 58 + 57];
    cases.push_back({"number defined twice", twice});
    auto offMap = good;
    offMap[roomsAt + 4] = 60;  // the first room point's x
    cases.push_back({"room point off the map", offMap});
    auto hugeCount = good;
    hugeCount[roomsAt + 3] = 0x7F;
    cases.push_back({"room count beyond the file", hugeCount});

    for (const Case& c : cases) {
        writeScrambled(dir.file("bad.dat"), c.bytes);
        Dungeon d;
        generate(d, 99);
        d.loadStatic(dir.file("good.dat"), false);
        const std::string before = describe(d);
        std::string why;
        EXPECT_FALSE(d.loadStatic(dir.file("bad.dat"), false, &why)) << c.name;
        EXPECT_FALSE(why.empty()) << c.name;
        EXPECT_EQ(describe(d), before) << c.name;
        EXPECT_EQ(d.getLuaFunc(), "F") << c.name;
    }
    Dungeon d;
    EXPECT_FALSE(d.loadStatic(dir.file("missing.dat"), false));
}

TEST(Dungeon, SavingReportsAFileThatCouldNotBeWritten) {
    qel::test::ScratchFolder dir;
    Dungeon d;
    EXPECT_FALSE(d.saveStatic(dir.file("no/such/folder/floor.dat"), "F"));
    EXPECT_TRUE(d.saveStatic(dir.file("floor.dat"), "F"));
}

TEST(Dungeon, LoadingCallsTheFloorsScriptFunctionOnlyWhenAsked) {
    qel::test::ScratchFolder dir;
    qel::SysLua& lua = qel::SysLua::instance();
    ASSERT_TRUE(lua.init());
    ASSERT_TRUE(
        lua.runBuffer("calls = 0 function FloorHook() calls = calls + 1 end "
                      "function Broken() error('boom') end "
                      "function Calls() return calls end",
                      0, "floor"));
    auto calls = [&lua] {
        qel::LuaParam results;
        EXPECT_TRUE(lua.call("Calls", 1, nullptr, &results));
        return results.toNumber();
    };
    Dungeon d;
    ASSERT_TRUE(d.saveStatic(dir.file("hook.dat"), "FloorHook"));
    ASSERT_TRUE(d.saveStatic(dir.file("none.dat"), ""));
    ASSERT_TRUE(d.saveStatic(dir.file("broken.dat"), "Broken"));
    ASSERT_TRUE(d.saveStatic(dir.file("missing.dat"), "NoSuchFunction"));
    const int top = lua_gettop(lua.state());

    EXPECT_TRUE(d.loadStatic(dir.file("hook.dat"), false));
    EXPECT_EQ(calls(), 0);
    EXPECT_TRUE(d.loadStatic(dir.file("hook.dat"), true));
    EXPECT_EQ(calls(), 1);
    EXPECT_TRUE(d.loadStatic(dir.file("none.dat"), true));
    EXPECT_TRUE(d.loadStatic(dir.file("broken.dat"), true));
    EXPECT_TRUE(d.loadStatic(dir.file("missing.dat"), true));
    EXPECT_EQ(calls(), 1);
    EXPECT_EQ(lua_gettop(lua.state()), top);
}

}  // namespace
