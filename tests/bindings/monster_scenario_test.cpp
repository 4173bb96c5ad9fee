// Monsters through the real bindings, as the game's scripts use them: a
// distribution is loaded, 60 monsters are placed on an open floor and on a
// generated one (each alone on a cell the movement test passes), they
// search and the scripts free the answers, one is killed, and the light is
// cast; pools end where they began (ASan checks the rest).
#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/sys_rand.h"
#include "engine/script/sys_lua.h"
#include "game/world/npc_factory.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"

namespace {

std::string monsterRow(int id, const std::string& name) {
    std::string row = std::to_string(id) + ",0," + name + ",1,A,0x00FF00,b,m,1.0,";
    for (int c = 0; c < 9; ++c) row += "10,";
    row += "1d6,0,0,";
    // Walks (LAND 1), neither floats nor passes walls, and is visible.
    for (int c = 0; c < 29; ++c) row += c == 7 ? "1," : (c >= 9 && c <= 11) ? "0," : "6,";
    return row + ",1,0,o,0,0,0,0,-,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,-,-,-,-,\n";
}

class MonsterScenario : public ItemFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(lua().state(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
        // Floors are generated from these tiles.
        ASSERT_EQ(run(R"(
            local d = C_GetDungeon()
            d:setDefRoom(C.Tile("room", 0, 0, C.Color.WHITE, 1))
            d:setDefPass(C.Tile("pass", 0, 0, C.Color.WHITE, 1))
            d:setDefWall(C.Tile("wall", 1, 0, C.Color.WHITE, 2))
            collectgarbage() return "ok")"),
                  "ok");
        ItemFixture::SetUp();
        generalBefore_ = qel::poolById(qel::Pool::General)->stats().usedBlocks;
        ASSERT_TRUE(loadItems(itemRow(1)));
        const std::string monsters = scratch_.file("monsters.dat");
        writeScrambledTable(monsters, "header\n" + monsterRow(1, "slime") + monsterRow(2, "bat"));
        ASSERT_TRUE(NpcFactory::instance().loadFile(message_, monsters)) << message_.data();
        distribution_ = scratch_.file("dist.dat");
        writeScrambledTable(distribution_, "2,1,notes\n1,1,1,2,3,0,0,\n");
        qel::SysRand::instance().seed(7);
    }
    void TearDown() override {
        run("collectgarbage() collectgarbage()");
        GameData::instance().getEnemyMaker()->release();
        ItemFixture::TearDown();
        NpcFactory::instance().clear();
        EXPECT_EQ(qel::poolById(qel::Pool::General)->stats().usedBlocks, generalBefore_)
            << "every AITarget freed";
        lua().close();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static std::string run(const std::string& chunk) {
        return lua_runner::run(lua().state(), chunk.c_str());
    }

    std::string distribution_;
    std::size_t generalBefore_ = 0;
};

constexpr const char* kPlace = R"(
    local function place(count)
        local maker = C_GetEnemyMaker()
        local placed, tries = {}, 0
        while #placed < count do
            tries = tries + 1
            if tries > 100000 then return "hung" end
            local x, y = C_GetRandI_0toN(50), C_GetRandI_0toN(30)
            local npc = maker:createNormal(1, C.Point(-1, -1))
            if C_CheckMove(npc, x, y) then
                npc:setPos(x, y)
                placed[#placed + 1] = npc
            else
                npc:kill()
                C_GetObjectManager():exeRemove()
            end
        end
        -- Alone on every cell.
        for _, npc in ipairs(placed) do
            local p, n = npc:getPos(), 0
            local node = C_GetObjectLinkAtPos(p)
            while node do n = n + 1 node = node:next() end
            if n ~= 1 then return "shared cell" end
        end
        return placed
    end
)";

TEST_F(MonsterScenario, PlaceSearchKillAndLight) {
    ASSERT_EQ(run(std::string(kPlace) + R"(
        assert(C_GetEnemyMaker():loadFile(")" +
                  distribution_ + R"("))
        local d = C_GetDungeon()
        C.CreateDungeon(d):fillAll(C.Tile("floor", 0, 0, C.Color.WHITE, 1))
        d:setTile(10, 10, C.Tile("wall", 1, 0, C.Color.WHITE, 2))
        local placed = place(60)
        if type(placed) == "string" then return placed end
        local found = 0
        for _, npc in ipairs(placed) do
            local t = npc:searchNearestTarget(C_GetObjectManager(), 1)
            if t._pointLen2 ~= -1 then found = found + 1 end
            t:delete()
        end
        placed[1]:kill()
        C_GetObjectManager():exeRemove()
        C_GetFieldView():putLight(5, 5, 3, 6)
        local left = 0
        local node = C_GetObjectLinkType(1)
        while node do left = left + 1 node = node:next() end
        return found > 0, left
    )"),
              "true, 59");
}

TEST_F(MonsterScenario, PlacedOnAGeneratedFloor) {
    // A new floor may grow the dungeon's room list, which it keeps.
    const std::size_t before = qel::poolById(qel::Pool::World)->stats().usedBlocks;
    ASSERT_EQ(run("C.CreateDungeon(C_GetDungeon()):create() collectgarbage() return 'ok'"), "ok");
    pool7Before_ += qel::poolById(qel::Pool::World)->stats().usedBlocks - before;
    ASSERT_EQ(run(std::string(kPlace) + R"(
        assert(C_GetEnemyMaker():loadFile(")" +
                  distribution_ + R"("))
        local placed = place(60)
        if type(placed) == "string" then return placed end
        return #placed
    )"),
              "60");
}

TEST_F(MonsterScenario, TheMovementTestAsAScriptSeesIt) {
    ASSERT_EQ(run(R"(
        local d = C_GetDungeon()
        C.CreateDungeon(d):fillAll(C.Tile("floor", 0, 0, C.Color.WHITE, 1))
        d:setTile(10, 10, C.Tile("wall", 1, 0, C.Color.WHITE, 2))
        d:setTile(11, 10, C.Tile("pit", 2, 0, C.Color.WHITE, 0))
        local npc = C_GetNpcFactory():create(1, C.Point(5, 5))
        local other = C_GetNpcFactory():create(2, C.Point(6, 5))
        local r = {C_CheckMove(npc, 10, 10), C_CheckMove(npc, 11, 10), C_CheckMove(npc, 6, 5),
                   C_CheckMove(npc, 6, 5, true), C_CheckMove(npc, 4, 5), C_CheckMove(npc, -1, 0),
                   C_CheckMove(nil, 4, 5)}
        for i = 1, #r do r[i] = tostring(r[i]) end
        return table.concat(r, ",")
    )"),
              "false,false,false,true,true,false,false");
}

TEST_F(MonsterScenario, AiAbilitiesReadAsNamedBits) {
    EXPECT_EQ(run(R"(
        local base = C_GetNpcFactory():getBaseId(1)
        local npc = C_GetNpcFactory():create(1)
        local f = base:aiFlag()
        return f._walk, f._hit, f._eqRight, f._read, f._val, npc:getAiFlag()._val,
               pcall(function() f._walk = false end)
    )"),
              "true, true, false, false, 3, 3, false, attempt to assign '_walk' of a const object");
}

}  // namespace
