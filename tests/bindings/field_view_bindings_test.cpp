// C.FieldView, C.AITarget and C.EnemyMaker as scripts use them, one snippet
// a row, on the game's field view and a clear floor.
#include <gtest/gtest.h>

#include "game/world/game_data.h"
#include "tests/bindings/bound_lua.h"

namespace {

using lua_runner::LuaCase;

const LuaCase kFieldViewCases[] = {
    {"ranges come from the view's size",
     "local v = C_GetFieldView() return v:checkRange(49, 29), v:checkRange(50, 29), "
     "v:checkRange(C.Point(0, 0)), v:checkRangeX(-1), v:checkRangeY(30), v:checkRangeY(29)",
     "true, false, true, false, false, true"},
    {"the player light starts on; no argument switches it off",
     "local v = C_GetFieldView() local a = v:getPlayerLightEnable() v:setPlayerLightEnable() "
     "local b = v:getPlayerLightEnable() v:setPlayerLightEnable(true) "
     "return a, b, v:getPlayerLightEnable()",
     "true, false, true"},
    {"a chip's bytes keep their low 8 bits",
     "local c = C_GetFieldView():getInfo(3, 4)._chipLight c._x = 300 c._y = -1 "
     "local again = C_GetFieldView():getInfo(C.Point(3, 4))._chipLight "
     "return again._x, again._y",
     "44, 255"},
    {"a chip's colour is its own",
     "local c = C_GetFieldView():getInfo(1, 1)._chipLight c._color = C.Color(0x80102030) "
     "c._color._val = c._color._val + 1 return C_GetFieldView():getInfo(1, "
     "1)._chipLight._color._val",
     "2148540465"},
    {"an off-map cell is nil",
     "return C_GetFieldView():getInfo(50, 0), C_GetFieldView():getInfo(C.Point(-1, 2))",
     "nil, nil"},
    {"putLight and the line of sight on an open floor",
     "local v = C_GetFieldView() v:putLight(10, 10, 1, 3) "
     "return v:checkLineOfSight(0, 0, 20, 7), v:checkLineOfSight(0, 0, 60, 7)",
     "true, false"},
    {"the script's own target record",
     "local t = C.AITarget:new() local a = t._lineLen2 local d = t:cal16Dir(C.Point(3, 1)) "
     "local e = t:cal8Dir(C.Point(-4, 0)) t:delete() return a, d._x, d._y, e._x, e._y",
     "-1, 2, 1, -1, 0"},
    {"setTarget from two objects' cells, nil refused",
     "local t = C.AITarget() local m = C.ObjectBase('m', C.Point(0, 0), C.Color(0), 0, "
     "C.ObjectBase.INFO(), C.Point(5, 5), true, false) local o = C.ObjectBase('o', C.Point(0, 0), "
     "C.Color(0), 0, C.ObjectBase.INFO(), C.Point(6, 5), true, false) t:setTarget(m, o) "
     "t:setTarget(m, nil) return t._adjoin, t._lineDir._x, t._pointLen2, t._point._x",
     "true, 1, 1, 6"},
    {"a placement table the script makes, listing an unread key",
     "local e = C.EnemyMaker() local s = e:getEnemyList(3) e:release() return s",
     "\"\" : Lv3\n<未設定>"},
    {"the game's placement table", "return C_GetEnemyMaker():getEnemyList(1)",
     "\"\" : Lv1\n<未設定>"},
};

class FieldViewBindings : public BoundLua {
protected:
    void TearDown() override {
        GameData::instance().getObjectManager()->clearAll();
        GameData::instance().getFieldView()->clear();
        Dungeon* d = GameData::instance().getDungeon();
        for (int x = 0; x < Dungeon::kWidth; ++x) {
            for (int y = 0; y < Dungeon::kHeight; ++y) d->setTile(x, y, Tile());
        }
        d->initLightState();
        BoundLua::TearDown();
    }
};

TEST_F(FieldViewBindings, Snippets) {
    Dungeon* d = GameData::instance().getDungeon();
    const Tile room("room", 1, 0, Color::WHITE, TILE_ROOM);
    for (int x = 0; x < Dungeon::kWidth; ++x) {
        for (int y = 0; y < Dungeon::kHeight; ++y) d->setTile(x, y, room);
    }
    runAll(kFieldViewCases);
}

}  // namespace
