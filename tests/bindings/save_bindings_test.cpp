// The save, slot list, serializer, world, ranking, friend and global record
// bindings as scripts see them, on the game's Lua host (the saves call
// SerializeGame and SerializeGlobal there), in a scratch working folder.
#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/shell/save/save_fixture.h"

namespace {

using lua_runner::LuaCase;

class SaveBindings : public SaveFixture {
protected:
    void SetUp() override {
        SaveFixture::SetUp();
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(L(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
    }
    void TearDown() override {
        run("kept = nil collectgarbage()");
        SaveFixture::TearDown();
        lua().close();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static lua_State* L() { return lua().state(); }
    static std::string run(const char* chunk) { return lua_runner::run(L(), chunk); }
    void check(std::initializer_list<LuaCase> cases) {
        for (const LuaCase& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << "case: " << c.name;
    }
};

TEST_F(SaveBindings, SlotsFromScripts) {
    buildWorld();
    check({
        {"keep levels",
         "return C.SaveData.KEEP_PLAYER, C.SaveData.KEEP_LEASH, C.SaveData.KEEP_FRIEND, "
         "C.SaveData.KEEP_ALL",
         "0, 1, 2, 3"},
        {"a missing slot file", "local s = C.SaveData(4) return s:loadGame()", "false, -125"},
        {"save then load with a code",
         "local s = C.SaveData(1) local saved = s:saveGame() return saved, s:loadGame(300)",
         "true, true, 44"},
        {"a floor that was never saved", "return C.SaveData(1):loadDungeon('cave', 7, 3)", "-1"},
        {"floor names",
         "local s = C.SaveData(1) return s:existDungeon('cave', 2), "
         "s:existDungeon(nil, 2), s:existDungeon('../x', 2)",
         "true, false, false"},
        {"a stored character",
         "local s = C.SaveData(1) local p = C_GetPlayer() local id = p:getId() "
         "return s:saveCharacter(p), s:removeCharacter(id), s:removeCharacter(id), "
         "s:saveCharacter(nil)",
         "1, true, false, 0"},
        // Slot 1's folder holds the save above: new slots pass it by.
        {"the slot list",
         "local l = C_GetSaveFileList() local a = l:newData('one') "
         "local b = l:newData('two') l:updateData(a, 'uno') "
         "return a, b, l:getDataNum(), l:getId(0), l:getName(0), l:getId(2), "
         "l:getName(-1), l:removeData(b), l:removeData(b)",
         "2, 3, 2, 2, uno, nil, nil, true, false"},
        {"the log path", "return C_GetDumpLogFile()", "save/data00/log.txt"},
        {"nil self", "return C.SaveData.saveGame(nil)",
         "error: invalid 'self' in function 'saveGame'"},
    });
    CURRENT_PLAYER_ID = 3;
    EXPECT_EQ(run("return C_GetDumpLogFile()"), "save/data03/log.txt");
}

TEST_F(SaveBindings, TheSerializerMovesScriptValuesBothWays) {
    buildWorld();
    // One routine for both directions; what it read is kept in `got`.
    ASSERT_EQ(run("function SerializeGame(s) "
                  "  got = {s:num(1.25), s:str('abc'), s:boolean(true), s:point(C.Point(3, -4)), "
                  "         s:isRead(), s:getVersion()} "
                  "  return true end"),
              "");
    ASSERT_EQ(run("return C.SaveData(1):saveGame()"), "true");
    const std::string player = plain("save/data01/player.dat");
    EXPECT_EQ(player.substr(player.size() - 17), std::string("\x00\x00\xA0\x3F"
                                                             "abc\0"
                                                             "\x01"
                                                             "\x03\x00\x00\x00\xFC\xFF\xFF\xFF",
                                                             17));
    EXPECT_EQ(run("got = nil local ok = C.SaveData(1):loadGame() "
                  "return ok, got[1], got[2], got[3], got[4]._x, got[4]._y, got[5], got[6]"),
              "true, 1.25, abc, true, 3, -4, true, 109");

    EXPECT_EQ(run("function SerializeGame(s) s:num(1) s:str('x') s:boolean(true) "
                  "  s:point(C.Point()) if s:isRead() then s:num() end return true end "
                  "return C.SaveData(1):saveGame(), C.SaveData(1):loadGame()"),
              "true, false, -125")
        << "a read past the end fails a load the script called good";
    buildWorld();
    ASSERT_EQ(run("SerializeGame = nil return C.SaveData(1):saveGame()"), "true");
    const std::string good = plain("save/data01/player.dat");
    check({
        {"a function is no number",
         "function SerializeGame(s) s:num(print) return true end return C.SaveData(1):saveGame()",
         "false"},
        {"a cyclic walk ends in an error",
         "function SerializeGame(s) local t = {} t.t = t "
         "  local function walk(v) for k, x in pairs(v) do s:str(k) walk(x) end end "
         "  walk(t) return true end return C.SaveData(1):saveGame()",
         "false"},
        {"a runaway writer stops at the cap",
         "local big = string.rep('x', 1048575) "
         "function SerializeGame(s) while true do s:str(big) end end "
         "return C.SaveData(1):saveGame()",
         "false"},
    });
    EXPECT_EQ(plain("save/data01/player.dat"), good) << "a failed save writes nothing";
    EXPECT_EQ(run("function SerializeGame(s) kept = s return true end C.SaveData(1):saveGame() "
                  "return (pcall(function() return kept:num(1) end))"),
              "false")
        << "a serializer kept past its call is forgotten";
}

TEST_F(SaveBindings, WorldRankingFriendsAndTheGlobalRecord) {
    buildWorld();
    check({
        {"turns and score",
         "local w = C_GetWorld() w:init() w:addTurn() w:addTurn(2) "
         "w:addScore(-5) return w:getTurn(), w:getScore()",
         "4, 4294967291"},
        {"addScore needs its number", "return (pcall(function() C_GetWorld():addScore() end))",
         "false"},
        {"cause and result",
         "local w = C_GetWorld() w:setCause('fell') local a = w:getCause() "
         "w:setCause('x', 'y') w:setResult('z') "
         "return a, w:getCause(), w:getResult()",
         "fell, x, z"},
        {"a nil cause", "return (pcall(function() C_GetWorld():setCause(nil) end))", "false"},
        {"genocide",
         "local w = C_GetWorld() w:clearGenocide() "
         "return w:addGenocide(7), w:addGenocide(7), w:isGenocide(7), w:isGenocide(8)",
         "true, false, true, false"},
        {"the ranking",
         "local r = C_GetRanking() r:clear() "
         "local a = r:addData('a', 5) local b = r:addData(C.RankingData('b', -1)) "
         "return a, b, r:getData(1):getScore(), r:getData(-2), r:getDataMax(), "
         "r:getNew()",
         "0, 1, 4294967295, nil, 2, 1"},
        {"a long name", "return #C.RankingData(string.rep('n', 300)):getText()", "256"},
        {"friends",
         "local f = C_GetWorld():getFriendData() "
         "return f:getFriendNum(), f:getFriendId(5), f:getFriendIdA(5), "
         "f:getTotalControl(), f:removeFriend(nil)",
         "1, 0, 0, 5, false"},
        {"the global record",
         "local g = C_GetGlobalRecord() g:setClearFlag(33, true) "
         "return g:isClear(1), g:isClear(0)",
         "true, false"},
        {"a friend-typed monster outside the list is handed to SetEnemyNpc",
         "local f = C_GetWorld():getFriendData() local id = f:getFriendId(0) calls = {} "
         "function SetEnemyNpc(n, b) calls[#calls + 1] = tostring(n:getId() == id) .. ':' .. "
         "tostring(b) "
         "end "
         "f:updateFriend() local before = #calls f:removeFriend(id) f:updateFriend() "
         "SetEnemyNpc = nil return before, calls[1]",
         "0, true:false"},
        {"a post while the network is off", "C_SendNetworkMessage('x', 1) return 'ok'", "ok"},
        {"saving the global record", "return C.SaveData():saveGlobal(), C.SaveData():loadGlobal()",
         "true, true"},
    });
}

}  // namespace
