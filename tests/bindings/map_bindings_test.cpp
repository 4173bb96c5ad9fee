// C.Tile, C.Tile.INFO, C.Dungeon and C.CreateDungeon as the floor scripts
// use them, one snippet a row.
#include <gtest/gtest.h>

#include "game/world/game_data.h"
#include "tests/bindings/bound_lua.h"

namespace {

using lua_runner::LuaCase;

const LuaCase kTileInfoCases[] = {
    {"no number: the empty word", "return C.Tile.INFO()._data", "0"},
    {"a room word",
     "local i = C.Tile.INFO(25) local t = C.Tile() t:setInfo(i) "
     "return i._move, i._room, i._wall, t:isLight()",
     "true, true, false, true"},
    {"the light bit has no variable", "return C.Tile.INFO(16)._light", "nil"},
    {"a bit keeps the others",
     "local i = C.Tile.INFO(2^31 + 1) i._move = nil i._special = true return i._data",
     "2147483712"},
    {"the word is truncated to its low 32 bits",
     "local i = C.Tile.INFO() i._data = 2^32 + 5.7 return i._data", "5"},
    {"the copy form and equality",
     "local a = C.Tile.INFO(C.Tile.INFO(9)) return a._data, a == C.Tile.INFO(9), a == "
     "C.Tile.INFO(8)",
     "9, true, false"},
    {"a bit refuses a number", "local i = C.Tile.INFO() return pcall(function() i._wall = 1 end)",
     "false, invalid type in variable assignment.\n     value is 'number'; 'boolean' "
     "expected.\n"},
    {"no delete", "return C.Tile.INFO.delete", "nil"},
};

const LuaCase kTileCases[] = {
    {"the default tile",
     "local t = C.Tile() return t:getTag(), t:getChip()._x, t:getColor()._val, t:getPos()._y, "
     "t:getInfo()._data, t:getState()",
     ", 0, 4294967295, 0, 0, 0"},
    {"chip as a point, trailing number ignored",
     "local t = C.Tile('w', C.Point(3, 4), C.Color.RED, 7.9, 5, 6, 99) return t:getChip()._y, "
     "t:getInfo()._data, t:getPos()._x, t:getPos()._y",
     "4, 7, 5, 6"},
    {"chip as two numbers",
     "local t = C.Tile('w', 3, 4, C.Color.RED, 1) return t:getChip()._x, t:getChip()._y, "
     "t:getColor() == C.Color.RED",
     "3, 4, true"},
    {"a tag is cut to 32 bytes",
     "local t = C.Tile() t:setTag(string.rep('a', 40)) return #t:getTag()", "32"},
    {"a nil tag is empty",
     "local t = C.Tile(nil, C.Point(1, 2), C.Color.WHITE, 1) t:setTag('x') t:setTag(nil) "
     "return t:getTag(), t:getChip()._y",
     ", 2"},
    {"setMove without an argument clears only bit 0",
     "local t = C.Tile('x', 0, 0, C.Color.WHITE, 25) t:setMove() t:setWall(true) return "
     "t:getInfo()._data, t:isMove(), t:isWall()",
     "26, false, true"},
    {"a tile and a number: the look at (0, 0)",
     "local t = C.Tile('x', 1, 2, C.Color.WHITE, 9, 3, 4) local c = C.Tile(t, 5) return "
     "c:getPos()._x, c:getPos()._y, c:getTag(), c == t",
     "0, 0, x, true"},
    {"a tile and two numbers: the look at that cell",
     "local c = C.Tile(C.Tile('x', 1, 2, C.Color.WHITE, 9), 5, 7) return c:getPos()._x, "
     "c:getPos()._y",
     "5, 7"},
    {"equal looks at other cells and states",
     "local a = C.Tile('x', 1, 1, C.Color.RED, 1) local b = C.Tile('x', 1, 1, C.Color.RED, 1, 4, "
     "4) b:setState(3) return a == b, a < b, b:getState()",
     "true, false, 3"},
    {"the look order starts with the tag",
     "return C.Tile('a', 9, 9, C.Color.WHITE, 9) < C.Tile('b', 0, 0, C.Color.WHITE, 0)", "true"},
    {"getInfo is a copy",
     "local t = C.Tile() local i = t:getInfo() i._move = true return t:isMove(), tolua.type(i)",
     "false, Tile::INFO"},
    {"setInfo refuses nil",
     "local t = C.Tile('x', 0, 0, C.Color.WHITE, 3) local ok = pcall(function() t:setInfo(nil) "
     "end) return ok, t:getInfo()._data",
     "false, 3"},
    {"a chip kept past its tile",
     "local t = C.Tile:new() local c = t:getChip() t:delete() return pcall(function() return "
     "c._x end)",
     "false, snippet:1: attempt to use a deleted object"},
};

const LuaCase kDungeonCases[] = {
    {"a new dungeon",
     "local d = C.Dungeon('B1', 2.7) return d:getTag(), d:getLevel(), d:getLuaFunc(), "
     "d:getRoomNum(), C.Dungeon():getTag()",
     "B1, 2, , 0, "},
    {"a cell is the map's own, changed in place",
     "local d = C.Dungeon() local c = d:getTile(3, 4) c:setWall(true) return c:getPos()._x, "
     "c:getPos()._y, d:getTile(C.Point(3, 4)):isWall(), rawequal(c, d:getTile(3, 4))",
     "3, 4, true, true"},
    {"a cell off the map is nil", "local d = C.Dungeon() return d:getTile(50, 0), d:getTile(0, -1)",
     "nil, nil"},
    {"setTile copies the look only",
     "local d = C.Dungeon() d:getTile(1, 1):setState(3) d:setTile(1, 1, C.Tile('w', 2, 2, "
     "C.Color.RED, 7, 9, 9)) d:setTile(C.Point(60, 1), C.Tile('w', 0, 0, C.Color.RED, 7)) local "
     "c = d:getTile(1, 1) return c:getTag(), c:getPos()._x, c:getState()",
     "w, 1, 3"},
    {"ranges",
     "local d = C.Dungeon() return d:checkRange(49, 29), d:checkRange(50, 0), "
     "d:checkRange(C.Point(-1, 0)), d:checkRangeX(49), d:checkRangeY(30)",
     "true, false, false, true, false"},
    {"default tiles take the look only",
     "local d = C.Dungeon() d:setDefRoom(C.Tile('room', 1, 0, C.Color.WHITE, 25, 4, 4)) return "
     "d:getDefRoom():getTag(), d:getDefRoom():getPos()._x, d:getDefPass():getTag()",
     "room, 0, "},
    {"the start position",
     "local d = C.Dungeon() d:setStartPos(C.Point(7, 8)) return d:getStartPos()._x, "
     "d:getStartPos()._y",
     "7, 8"},
    {"room points are copies that outlive updateRoom",
     "local d = C.Dungeon() local t = C.Tile('r', 0, 0, C.Color.WHITE, 25) d:setTile(2, 3, t) "
     "d:updateRoom() local p = d:getRoomPos(0) local q = d:getRoomRandomPos() d:setTile(2, 3, "
     "C.Tile()) d:setTile(5, 6, t) d:updateRoom() return p._x, p._y, q._y, d:getRoomPos(0)._x, "
     "tolua.type(p), d:getRoomNum()",
     "2, 3, 3, 5, const Point, 1"},
    {"no room point: (-1, -1)",
     "local d = C.Dungeon() return d:getRoomPos(0)._x, d:getRoomPos(-1)._y, "
     "d:getRoomRandomPos()._x",
     "-1, -1, -1"},
    {"setAllLight opens only dark cells",
     "local d = C.Dungeon() d:getTile(0, 0):setState(4) d:setAllLight() return "
     "d:getTile(0, 0):getState(), d:getTile(1, 0):getState()",
     "4, 1"},
    {"a cell kept after its dungeon was collected",
     "local c do local d = C.Dungeon() c = d:getTile(0, 0) end collectgarbage() collectgarbage() "
     "return pcall(function() return c:getTag() end)",
     "false, snippet:1: attempt to use a deleted object"},
    {"the game's dungeon, not the script's to delete",
     "local d = C_GetDungeon() return rawequal(d, C_GetDungeon()), tolua.type(d), "
     "pcall(function() d:delete() end)",
     "true, Dungeon, false, snippet:1: attempt to delete an object the program owns"},
    {"a start position kept after delete",
     "local d = C.Dungeon:new() local p = d:getStartPos() d:delete() return pcall(function() "
     "return p._x end)",
     "false, snippet:1: attempt to use a deleted object"},
};

const LuaCase kCreateDungeonCases[] = {
    {"constants and flags",
     "return C.CreateDungeon.DIR_DOWN, C.CreateDungeon.DIR_NUM, C.PUT_CANTOUCH, C.TILE_ROOM",
     "3, 4, 256, 25"},
    {"randomPoint over an empty room list",
     "local p = C.CreateDungeon(C.Dungeon(), 2, 3):randomPoint(4) return p._x, p._y", "-1, -1"},
    {"putRandom with a nil tile counts every plain try",
     "return C.CreateDungeon(C.Dungeon(), 2, 3):putRandom(nil, 10, 0)", "10"},
    {"putRandom in rooms without a grid",
     "return C.CreateDungeon(C.Dungeon()):putRandom(C.Tile(), 10, 4)", "0"},
    {"painting",
     "local d = C.Dungeon() local g = C.CreateDungeon(d) g:fillAll(C.Tile('wall', 0, 0, "
     "C.Color.WHITE, 7)) g:fillRect(C.Tile('room', 1, 0, C.Color.WHITE, 25), 2, 2, 3, 3) return "
     "d:getTile(0, 0):getTag(), d:getTile(4, 4):getTag(), d:getTile(5, 5):getTag()",
     "wall, room, wall"},
    {"putTile keeps the room list",
     "local g = C.CreateDungeon(C.Dungeon()) g:putTile(C.Tile('r', 0, 0, C.Color.WHITE, 25), 3, "
     "3) local n = g:getRoomPointNum() local p = g:getRoomPoint(0) g:putTile(C.Tile(), 3, 3) "
     "return n, p._x, g:getRoomPointNum(), g:getRoomPoint(0)._x",
     "1, 3, 0, -1"},
    {"updateRoomList copies into the dungeon",
     "local d = C.Dungeon() local g = C.CreateDungeon(d) g:addRoomList(4, 5) g:addRoomList(4, 5) "
     "g:updateRoomList() return d:getRoomNum(), d:getRoomPos(0)._y",
     "1, 5"},
    {"a full floor",
     "local d = C.Dungeon() d:setDefRoom(C.Tile('r', 0, 0, C.Color.WHITE, 25)) "
     "d:setDefPass(C.Tile('p', 0, 0, C.Color.WHITE, 1)) d:setDefWall(C.Tile('w', 0, 0, "
     "C.Color.WHITE, 7)) local g = C.CreateDungeon(d, 2, 3) g:create() local info = "
     "C.CreateDungeon.ROOM_INFO() local first = g:getRoomInfo(info, 0) return first, "
     "info.width > 0, g:getRoomNum() > 0, g:getPassPointNum() > 0",
     "true, true, true, true"},
    {"getRoomInfo past the last room leaves the record",
     "local g = C.CreateDungeon(C.Dungeon(), 2, 3) g:create() local info = "
     "C.CreateDungeon.ROOM_INFO() info.width = 77 return g:getRoomInfo(info, g:getRoomNum()), "
     "info.width, g:getRoomInfo(nil, 0)",
     "false, 77, false"},
    {"door index 4", "local i = C.CreateDungeon.ROOM_INFO() return i.door[4]",
     "error: array indexing out of range."},
    {"door elements are copied in and refuse nil",
     "local i = C.CreateDungeon.ROOM_INFO() local p = C.Point(3, 4) i.door[2] = p p._x = 0 local "
     "ok = pcall(function() i.door[1] = nil end) return i.door[2]._x, i.door[2]._y, ok, "
     "i.door[1]._x",
     "3, 4, false, 0"},
    {"the record's numbers",
     "local i = C.CreateDungeon.ROOM_INFO() i.doorNum = 4294967295 i.height = -2.5 return "
     "i.doorNum, i.height, i.width",
     "4294967295, -2, 0"},
    {"a shop record",
     "local s = C.CreateDungeon.SHOP() s.door = C.Point(1, 2) return s.door._y, s.vendor._x, "
     "C.CreateDungeon(C.Dungeon()):getShop(s), C.CreateDungeon(C.Dungeon()):getShop(nil)",
     "2, 0, false, false"},
    {"a generator after its dungeon was deleted paints nothing",
     "local d = C.Dungeon:new() local g = C.CreateDungeon(d, 2, 3) d:delete() g:create() "
     "g:fillAll(C.Tile()) g:fillRect(C.Tile(), 0, 0, 3, 3) g:putTile(C.Tile(), 1, 1) "
     "g:findAllRoomPoints() g:updateRoomList() return g:moveTile(C.Point(1, 1))",
     "false"},
};

class MapBindings : public BoundLua {};

TEST_F(MapBindings, TileInfoSnippets) {
    runAll(kTileInfoCases);
}

TEST_F(MapBindings, TileSnippets) {
    runAll(kTileCases);
}

TEST_F(MapBindings, DungeonSnippets) {
    runAll(kDungeonCases);
}

TEST_F(MapBindings, CreateDungeonSnippets) {
    runAll(kCreateDungeonCases);
}

TEST_F(MapBindings, SetLevelRaisesTheBestLevelOnly) {
    GlobalRecord& record = *GameData::instance().getGlobalRecord();
    const std::uint32_t kept = record.getBestLevel();
    record.setBestLevel(5);
    EXPECT_EQ(run("local d = C.Dungeon() d:setLevel(3) local a = d:getLevel() d:setLevel(9) "
                  "d:setLevel(-1) return a, d:getLevel()"),
              "3, -1");
    // A negative level is not a huge unsigned depth.
    EXPECT_EQ(record.getBestLevel(), 9u);
    record.setBestLevel(kept);
}

}  // namespace
