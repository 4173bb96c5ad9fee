// The opening through the real bindings and the real scene manager: a
// script lists the races and classes, makes a player, starts a new game
// twice (one game starts, counted once), and the game goes back to the
// opening, which starts again from an empty world.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bindings/script_bindings.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/register.h"
#include "engine/script/sys_lua.h"
#include "engine/task/sys_scene.h"
#include "engine/task/sys_task.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "game/shell/opening_param.h"
#include "game/shell/save/save_data.h"
#include "game/shell/scene_game.h"
#include "game/shell/scene_opening.h"
#include "game/shell/settings.h"
#include "game/shell/turn_manager.h"
#include "game/shell/ui/target_view.h"
#include "game/world/game_data.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/world.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"
#include "tests/support/message_box_recorder.h"

namespace {

// Two races and two classes; every status cell 0, all equipment allowed.
std::string creationTable(bool race, const char* first, const char* second) {
    std::string text = "header\n";
    int id = 1;
    for (const char* name : {first, second}) {
        std::string row = std::to_string(id) + "," + name + ",x," + name + ",1,";
        row += race ? "0,0x40,0xFFFFFF,1," : "-1,0x41,0xFFFFFF,";
        for (int cell = 0; cell < 38; ++cell) row += "0,";
        if (race) row += "1,1,1,1,1,1,1,1,1,1,1,";
        row += std::string(race ? "RaceSkill" : "ClassSkill") + std::to_string(id) + ",-,text,\n";
        text += row;
        ++id;
    }
    return text;
}

class OpeningBindings : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        resourcesBefore_ = qel::poolById(qel::Pool::Resources)->stats().usedBlocks;
        oldFolder_ = std::filesystem::current_path();
        std::filesystem::create_directories(scratch_.path() / "data");
        writeScrambledTable(scratch_.file("data/data01.dat"),
                            creationTable(true, "human", "rabby"));
        writeScrambledTable(scratch_.file("data/data02.dat"),
                            creationTable(false, "fighter", "mage"));
        std::filesystem::current_path(scratch_.path());
        for (const char* tag : {"RaceSkill1", "ClassSkill1"})
            SkillList::instance().add(new Skill(tag, "Deco", 2));
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(lua().state(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
        ASSERT_TRUE(tasks().init());
        scenes_ = qel::SysScene::create();
        ASSERT_NE(scenes_, nullptr);
    }
    void TearDown() override {
        tasks().term();
        run("collectgarbage() collectgarbage()");
        SkillList::instance().clear();
        std::filesystem::current_path(oldFolder_);
        CURRENT_PLAYER_ID = 0;
        EXPECT_EQ(qel::poolById(qel::Pool::Resources)->stats().usedBlocks, resourcesBefore_);
        ItemFixture::TearDown();
        lua().close();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static qel::SysTask& tasks() { return qel::SysTask::instance(); }
    static std::string run(const char* chunk) { return lua_runner::run(lua().state(), chunk); }
    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            tasks().update();
            tasks().draw();
        }
    }
    std::string current() const {
        qel::SceneBase* scene = scenes_->getCurrent();
        return scene ? scene->classInfo().name : "";
    }

    qel::SysScene* scenes_ = nullptr;
    std::size_t resourcesBefore_ = 0;
    std::filesystem::path oldFolder_;
};

TEST_F(OpeningBindings, AScriptMakesAPlayerAndStartsOneGameThenComesBack) {
    ASSERT_EQ(run(R"(
        added = {}
        function AddDecorator(chara, class, skill) added[#added + 1] = skill end
        frame = 0
        function InputOpening(p)
            frame = frame + 1
            if frame == 1 then
                local names = {}
                for i = 0, p:getRaceNum() - 1 do names[#names + 1] = p:getRace(i):name() end
                for i = 0, p:getClassNum() - 1 do names[#names + 1] = p:getClass(i):name() end
                listed = table.concat(names, ",")
                kept = p:getRace(0)
                outside = tostring(p:getRace(2)) .. "," .. tostring(p:createPlayer("x", 0, 2, 0))
                deleted = pcall(function() p:delete() end)
                hero = p:createPlayer("hero", 1, 0, 0)
                p:beginNewGame(hero)
                p:beginNewGame(nil)
            end
        end
        return "ok")"),
              "ok");
    const std::uint32_t played = GameData::instance().getGlobalRecord()->getTotalPlay();
    ASSERT_TRUE(scenes_->requestChange(&SceneOpening::staticClassInfo()));
    frames(4);
    EXPECT_EQ(current(), "SceneGame");
    EXPECT_EQ(GameData::instance().getGlobalRecord()->getTotalPlay(), played + 1);
    EXPECT_EQ(run("return listed"), "human,rabby,fighter,mage");
    EXPECT_EQ(run("return outside"), "nil,nil");
    EXPECT_EQ(run("return deleted"), "false") << "the scene's own param";
    EXPECT_EQ(run("return table.concat(added, ',')"), "RaceSkill1,ClassSkill1");
    ObjectPlayer* player = GameData::instance().getPlayer();
    ASSERT_NE(player, nullptr);
    EXPECT_STREQ(player->getName(), "hero");
    EXPECT_EQ(player->getSex(), 1);
    // Asked for from inside the game (by a param a script kept or made), a
    // new game or a continue leaves the game as it is, its tasks running: a
    // second game scene beside the first would start without them.
    const qel::SceneBase* game = scenes_->getCurrent();
    EXPECT_EQ(run("local p = C.OpeningParam() p:beginNewGame() return p:beginContinue(1)"),
              "false");
    frames(4);
    EXPECT_EQ(scenes_->getCurrent(), game);
    EXPECT_NE(TurnManager::instance(), nullptr);
    EXPECT_EQ(GameData::instance().getPlayer(), player);
    EXPECT_EQ(GameData::instance().getGlobalRecord()->getTotalPlay(), played + 1);
    EXPECT_EQ(run("return pcall(function() return kept:name() end)"),
              "false, snippet:1: attempt to use a deleted object")
        << "a record kept past its opening";

    CURRENT_PLAYER_ID = 3;
    World& world = *GameData::instance().getWorld();
    ObjectNpc ally;
    ASSERT_TRUE(world.getFriendData().addFriend(&ally));
    world.addGenocide(7);
    EXPECT_EQ(run("C_GotoOpening() return 'ok'"), "ok");
    EXPECT_TRUE(scenes_->isChangePending());
    frames(2);
    ASSERT_EQ(current(), "SceneOpening") << scenes_->isChangePending();
    EXPECT_EQ(GameData::instance().getPlayer(), nullptr);
    EXPECT_TRUE(allList().empty());
    EXPECT_EQ(ObjectBase::GetNextId(), 1u);
    EXPECT_EQ(CURRENT_PLAYER_ID, 0u);
    EXPECT_EQ(world.getFriendData().getFriendNum(), 0) << "the last adventure's allies";
    EXPECT_TRUE(world.genocideSet().empty());
    auto* opening = static_cast<SceneOpening*>(scenes_->getCurrent());
    EXPECT_EQ(opening->param()->getRaceNum(), 2);
    EXPECT_EQ(opening->param()->getClassNum(), 2);
}

TEST_F(OpeningBindings, ASavedSlotContinuesAndADamagedOneLeavesACleanOpening) {
    qel::test::MessageBoxRecorder recorder;
    // The boxes about the slot: the fixture has no chip sheet, which the
    // first map view of the process reports on its own.
    const auto slotBoxes = [&] {
        std::vector<qel::test::MessageBoxRecorder::Box> about;
        for (const auto& box : recorder.boxes())
            if (!box.text.starts_with(target_view::kChipsFailedText)) about.push_back(box);
        return about;
    };
    FILE_VERSION = 109;
    GameData::instance().getDungeon()->setTag("cave");
    auto* hero = new ObjectPlayer("hero", Point(1, 1), Color::WHITE, Race(), Status());
    hero->setPos(3, 3);
    const std::uint32_t heroId = hero->getId();
    ASSERT_TRUE(SaveData(2).saveGame());
    manager_->clearAll();
    ASSERT_EQ(run(R"(
        function InputOpening(p) answers = {p:beginContinue(slot)} end
        slot = 2
        return "ok")"),
              "ok");
    ASSERT_TRUE(scenes_->requestChange(&SceneOpening::staticClassInfo()));
    frames(4);
    EXPECT_EQ(current(), "SceneGame");
    EXPECT_EQ(CURRENT_PLAYER_ID, 2u);
    ASSERT_NE(GameData::instance().getPlayer(), nullptr);
    EXPECT_EQ(GameData::instance().getPlayer()->getId(), heroId);
    EXPECT_TRUE(slotBoxes().empty());

    // A cut player file: the box, false, and nothing of it stays.
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(qel::File::readWhole("save/data02/player.dat", bytes));
    bytes.resize(bytes.size() - 3);
    {
        qel::File cut("save/data02/player.dat", qel::File::MODE_WRITE);
        ASSERT_TRUE(cut.write(bytes.data(), bytes.size()));
        ASSERT_TRUE(cut.close());
    }
    ASSERT_EQ(run("C_GotoOpening() return 'ok'"), "ok");
    frames(3);
    EXPECT_EQ(current(), "SceneOpening");
    EXPECT_EQ(run("return answers[1]"), "false");
    ASSERT_FALSE(slotBoxes().empty());
    EXPECT_EQ(slotBoxes()[0].caption, "エラー");
    EXPECT_TRUE(allList().empty());
    EXPECT_EQ(ObjectBase::GetNextId(), 1u);
    EXPECT_EQ(CURRENT_PLAYER_ID, 0u);
    run("InputOpening = nil answers = nil slot = nil");
    GameData::instance().getDungeon()->setTag("");
    FILE_VERSION = 100;
}

TEST_F(OpeningBindings, WithoutInputOpeningTheSceneIdles) {
    ASSERT_TRUE(scenes_->requestChange(&SceneOpening::staticClassInfo()));
    frames(5);
    EXPECT_EQ(current(), "SceneOpening");
    EXPECT_EQ(lua().lastError(), nullptr);
}

TEST_F(OpeningBindings, RecordsReadAsTheTableSays) {
    ASSERT_EQ(run(R"(
        local p = C.OpeningParam:new_local()
        local before = p:getRaceNum()
        p:loadRaceFile(nil)
        p:loadClassFile("data/data02.dat")
        local r, k = p:getRace(1), p:getClass(0)
        local out = table.concat({before, r:id(), r:name(), r:nameMini(), tostring(r:isStart()),
            tostring(r:isAlter()), r:skillCount(), r:skill(0), tostring(r:skill(1)),
            r:expression(), k:baseId(), string.format("%x", k:color()._val), k:skill(0)}, ",")
        p:release()
        return out .. "," .. p:getRaceNum())"),
              "0,2,rabby,rabby,true,false,1,RaceSkill2,nil,text,4294967295,ffffffff,ClassSkill1,0");
}

}  // namespace
