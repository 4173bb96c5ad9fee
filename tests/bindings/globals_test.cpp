// The global C_ functions through the real registration, against a small
// fixture world: a floor of known tiles, a player, an enemy and a friend,
// an item of the kind "ScrollSanctuary" and an item of no kind on known
// cells, and an anima table. Each file of tests/bindings/globals checks one
// group of functions with rows check(name, got, expected); a failing row
// names itself.
#include <gtest/gtest.h>
#include <tolua++.h>

#include <filesystem>
#include <iterator>
#include <set>
#include <string>

#include "bindings/script_bindings.h"
#include "engine/core/sys_rand.h"
#include "engine/script/sys_lua.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "game/world/anima_list.h"
#include "game/world/field_view.h"
#include "game/world/game_data.h"
#include "game/world/object_chara.h"
#include "game/world/object_item.h"
#include "game/world/object_player.h"
#include "game/world/world.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"

namespace {

// The rows' helper and the Lua side of the fixture: a floor of plain tiles
// with a wall at (10, 10) and water at (11, 10).
constexpr const char* kPrelude = R"lua(
failures = {}
function check(name, got, expected)
    if got ~= expected then
        failures[#failures + 1] = name .. ": got " .. show(got) .. ", expected " .. show(expected)
    end
end
local d = C_GetDungeon()
C.CreateDungeon(d):fillAll(C.Tile("floor", 0, 0, C.Color.WHITE, 1))
d:setTile(10, 10, C.Tile("wall", 1, 0, C.Color.WHITE, 2))
d:setTile(11, 10, C.Tile("water", 2, 0, C.Color.WHITE, 0x21))
)lua";

constexpr std::uint32_t kSeed = 20261210;
constexpr int kRawDraws = 16;

class Globals : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(itemRow(1, {{C_NAME_ID, "ScrollSanctuary"}}) + itemRow(2)));
        SkillList::instance().add(new Skill("fire", "Skill", 2));
        const std::string anima = scratch_.file("anima.dat");
        writeScrambledTable(anima,
                            "id,no,tag,rarity,level,drop,select\n"
                            "2,1,fire,3,5,10,1,\n1,2,ice,-1,1,0,0,\n");
        ASSERT_TRUE(AnimaList::instance().load(message_, anima)) << message_.data();
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(L(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
        ASSERT_TRUE(lua().runBuffer(kPrelude, 0, "prelude")) << lua().lastError();

        player_ = new ObjectPlayer("hero", Point(0, 0), Color::WHITE, Race(), Status());
        player_->setPos(5, 5);
        enemy_ = chara("enemy", ObjectBase::TYPE_ENEMY, 6, 5);
        friend_ = chara("friend", ObjectBase::TYPE_FRIEND, 4, 5);
        sanctuary_ = make(1);
        ASSERT_TRUE(sanctuary_->put(5, 6, false));
        kindless_ = new ObjectItem("rock", Point(0, 0), Color::WHITE, nullptr);
        ASSERT_TRUE(kindless_->put(5, 4, false));
        global("P", player_, "ObjectPlayer");
        global("E", enemy_, "ObjectChara");
        global("F", friend_, "ObjectChara");
        global("SANCTUARY", sanctuary_, "ObjectItem");
        global("KINDLESS", kindless_, "ObjectItem");

        // The draws a fixed seed gives, for the rows to work out their
        // expected values from; the generator is seeded again after.
        qel::SysRand& rand = qel::SysRand::instance();
        rand.seed(kSeed);
        lua_newtable(L());  // +1
        for (int i = 1; i <= kRawDraws; ++i) {
            lua_pushnumber(L(), rand.getRand());  // +1
            lua_rawseti(L(), -2, i);              // -1
        }
        lua_setglobal(L(), "RAW");  // -1
        rand.seed(kSeed);
    }
    void TearDown() override {
        lua_runner::run(L(), "P, E, F, SANCTUARY, KINDLESS = nil collectgarbage()");
        World* world = GameData::instance().getWorld();
        for (std::uint32_t id : std::set<std::uint32_t>(world->animaSet())) world->removeAnima(id);
        AnimaList::instance().clear();
        SkillList::instance().clear();
        ItemFixture::TearDown();
        lua().close();
    }

    ObjectChara* chara(const char* name, int type, int x, int y) {
        auto* c = new ObjectChara(name, Point(0, 0), Color::WHITE, type, ObjectBase::INFO_NPC,
                                  Point(x, y), true, false, Race(), 1, Status());
        c->setPos(x, y);
        return c;
    }
    void global(const char* name, void* object, const char* type) {
        tolua_pushusertype(L(), object, type);  // +1
        lua_setglobal(L(), name);               // -1
    }
    // Runs one file of rows; its failures, one a line.
    std::string runRows(const char* file) {
        const std::filesystem::path path =
            std::filesystem::path(QEL_SOURCE_DIR) / "tests/bindings/globals" / file;
        if (!lua().runFile(path.string().c_str())) return lua().lastError();
        return lua_runner::run(L(), "return table.concat(failures, '\\n')");
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static lua_State* L() { return lua().state(); }

    ObjectPlayer* player_ = nullptr;
    ObjectChara* enemy_ = nullptr;
    ObjectChara* friend_ = nullptr;
    ObjectItem* sanctuary_ = nullptr;
    ObjectItem* kindless_ = nullptr;
};

// The global table, in its registration order.
constexpr const char* kGlobalNames[] = {
    "C_KeyOn",
    "C_KeyTrg",
    "C_KeyRpt",
    "C_PadOn",
    "C_PadTrg",
    "C_PadRpt",
    "C_Trace",
    "C_DoLuaFile",
    "C_GetLuaError",
    "C_Dice",
    "C_GetRandt",
    "C_GetRandI_0toN",
    "C_GetRandI_1toN",
    "C_GetRandI_NtoM",
    "C_GetRandF_0to1",
    "C_GetRandF_0toN",
    "C_GetRandF_NtoM",
    "C_Message",
    "C_MessageLine",
    "C_MessageColor",
    "C_OpenLogWindow",
    "C_CloseLogWindow",
    "C_SetLogWindowCursor",
    "C_SetLogWindowColor",
    "C_GetCharaAtPos",
    "C_GetItemNumAtPos",
    "C_GetObjectLinkAtPos",
    "C_GetObjectLinkType",
    "C_CheckMove",
    "C_GetDungeon",
    "C_GetTile",
    "C_DrawTile",
    "C_CastObjectChara",
    "C_CastObjectPlayer",
    "C_CastObjectNpc",
    "C_CastObjectItem",
    "C_CastObjectGimmick",
    "C_CastObjectTrap",
    "C_GetItemList",
    "C_GetAnimaList",
    "C_GetMenu",
    "C_GetWindow",
    "C_GetIME",
    "C_GetInputDir",
    "C_GetSkill",
    "C_GetSkillIndex",
    "C_GetAction",
    "C_GetSpell",
    "C_SetFont",
    "C_CreateNpc",
    "C_CreateItem",
    "C_GetItemFactory",
    "C_SubString",
    "C_GetWorld",
    "C_GetRanking",
    "C_GetGlobalRecord",
    "C_GetEnemyMaker",
    "C_GetNpcFactory",
    "C_GetSaveFileList",
    "C_GetDumpLogFile",
    "C_GetPlayer",
    "C_GetObjectManager",
    "C_GetFieldView",
    "C_GetTurnManager",
    "C_EndGame",
    "C_GotoOpening",
    "C_PushCancel",
    "C_Redraw",
    "C_ClearMap",
    "C_EncryptFile",
    "C_GetCursor",
    "C_DispDirection",
    "C_GetVersion",
    "C_PlaySE",
    "C_SetVolume",
    "C_SetAnima",
    "C_HaveAnima",
    "C_GetAnima",
    "C_GetAnimaRandom",
    "C_GetAnimaID",
    "C_GetHaveAnimaNum",
    "C_CountZoomCommand",
    "C_SendNetworkMessage",
};

TEST_F(Globals, TheGlobalTableHoldsExactlyTheGameFunctions) {
    std::set<std::string> want(std::begin(kGlobalNames), std::end(kGlobalNames));
    ASSERT_EQ(want.size(), 83u);
    const std::string got = lua_runner::run(L(), R"lua(
        local names = {}
        for name, value in pairs(_G) do
            if type(name) == "string" and name:sub(1, 2) == "C_" then
                names[#names + 1] = name .. (type(value) == "function" and "" or " (" .. type(value) .. ")")
            end
        end
        table.sort(names)
        return table.concat(names, " ")
    )lua");
    std::string expected;
    for (const std::string& name : want) expected += (expected.empty() ? "" : " ") + name;
    EXPECT_EQ(got, expected);
}

TEST_F(Globals, InputAndRandom) {
    EXPECT_EQ(runRows("input_random.lua"), "");
}

TEST_F(Globals, MapAndObjects) {
    EXPECT_EQ(runRows("map_objects.lua"), "");
    const FieldView& view = *GameData::instance().getFieldView();
    EXPECT_NE(view.getInfo(3, 3)->flag & FieldView::FLAG_SHOW, 0u) << "C_DrawTile";
    EXPECT_NE(view.getInfo(3, 4)->flag & FieldView::FLAG_SHOW, 0u) << "C_DrawTile point";
}

TEST_F(Globals, DefinitionsAndItems) {
    EXPECT_EQ(runRows("services.lua"), "");
}

TEST_F(Globals, NothingToActOnGivesNothingAndRaisesNothing) {
    lua_runner::run(L(), "P = nil collectgarbage()");
    delete player_;
    player_ = nullptr;
    EXPECT_EQ(runRows("no_subject.lua"), "");
}

TEST_F(Globals, ScriptsTextAndAnima) {
    EXPECT_EQ(runRows("scripts_text.lua"), "");
}

}  // namespace
