// Monsters made from definitions: their side and how it changes, corpses,
// what they may equip, saving at each version, what they perceive and
// search, and the world's hooks (extinction, the live map layer).
#include "game/world/object_npc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/core/sys_rand.h"
#include "game/world/ai_target.h"
#include "game/world/dungeon.h"
#include "game/world/npc_factory.h"
#include "game/world/object_player.h"
#include "game/world/world.h"
#include "game/world/world_settings.h"
#include "tests/game/world/item_fixture.h"
#include "tests/support/scoped_value.h"

namespace {

// A monster row with every status cell 10 (TORCH, VISION and the rest), the
// given type, sex letter, AI bits and belongings.
std::string monsterRow(int id, const std::string& name, int type, const std::string& sex = "m",
                       const std::string& aiBits = "1,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0",
                       const std::string& belongings = "", int corpseId = 34, int corpsePer = 50) {
    std::string row = std::to_string(id) + ",0," + name + ",3,A,0x00FF00,b," + sex + ",1.0,";
    for (int c = 0; c < 9; ++c) row += "10,";
    row += "1d6,0,0,";
    for (int c = 0; c < 29; ++c) row += "10,";
    row += "hello," + std::to_string(type) + ",0,o," + std::to_string(corpseId) + "," +
           std::to_string(corpsePer) + ",2,0,-," + aiBits + ",-,-,";
    row += belongings.empty() ? "-," : belongings + ",-,";
    return row + "\n";
}

class ObjectNpcTest : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(itemRow(1, {{C_TYPE, "1"}}) + itemRow(2, {{C_TYPE, "2"}}) +
                              itemRow(3, {{C_NAME_ID, "ScrollSanctuary"}}) +
                              itemRow(34, {{C_TYPE, "18"}, {C_NAME_ID, "corpse"}})));
        const std::string path = scratch_.file("monsters.dat");
        writeScrambledTable(
            path,
            "header\n" + monsterRow(1, "slime", 1) + monsterRow(2, "villager", 0, "b") +
                monsterRow(3, "thief", 1, "f", "1,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0",
                           "item1|100") +
                monsterRow(4, "ghost", 1, "m", "1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0", "", 0));
        ASSERT_TRUE(NpcFactory::instance().loadFile(message_, path)) << message_.data();
        // An open, lit floor.
        Dungeon& dungeon = *GameData::instance().getDungeon();
        for (int x = 0; x < Dungeon::kWidth; ++x)
            for (int y = 0; y < Dungeon::kHeight; ++y) {
                Tile* tile = dungeon.getTile(x, y);
                tile->setMove(true);
                tile->setWall(false);
                tile->setState(TILE_LIGHT);
            }
    }
    void TearDown() override {
        if (friendHook_) ObjectNpc::setFriendHook(*friendHook_);
        ItemFixture::TearDown();
        NpcFactory::instance().clear();
    }
    ObjectNpc* npc(int id, int x, int y) {
        ObjectNpc* made = NpcFactory::instance().create(id, Point(x, y));
        EXPECT_NE(made, nullptr);
        return made;
    }

    // The world's own hook, put back when a test replaced it.
    std::optional<ObjectNpc::FriendHook> friendHook_;
};

TEST_F(ObjectNpcTest, CreationTakesTheDefinition) {
    ObjectNpc* slime = npc(1, 3, 4);
    EXPECT_EQ(slime->getType(), ObjectBase::TYPE_ENEMY);
    EXPECT_EQ(slime->getFriend(), -1);
    EXPECT_EQ(slime->getPos(), (Point{3, 4}));
    EXPECT_EQ(slime->getSex(), 1);
    EXPECT_EQ(slime->getTalk(), "hello") << "the definition's talk";
    slime->setTalk("boo");
    EXPECT_EQ(slime->getTalk(), "boo");
    ObjectNpc* villager = npc(2, 0, 0);
    EXPECT_EQ(villager->getType(), ObjectBase::TYPE_NPC);
    EXPECT_EQ(villager->getFriend(), 0);
    EXPECT_EQ(NpcFactory::instance().create(99), nullptr);
    EXPECT_EQ(NpcFactory::instance().createName("slime")->getBase()->id, 1);
    EXPECT_EQ(NpcFactory::instance().createClone(villager)->getBase(), villager->getBase());
    EXPECT_EQ(NpcFactory::instance().createClone(nullptr), nullptr);
    // Sex "b" draws both over many creations.
    bool seen[3] = {};
    for (int i = 0; i < 40; ++i) seen[npc(2, 0, 0)->getSex()] = true;
    EXPECT_TRUE(seen[1] && seen[2]);
}

TEST_F(ObjectNpcTest, TheSideFollowsTheFriendValue) {
    std::vector<std::string> events;
    static std::vector<std::string>* log = nullptr;
    log = &events;
    friendHook_ = ObjectNpc::setFriendHook([](ObjectNpc* n, bool joined) {
        log->push_back(std::string(joined ? "join " : "leave ") + n->getBase()->nameId);
    });
    ObjectNpc* villager = npc(2, 0, 0);
    villager->setFriend(-1);
    EXPECT_EQ(villager->getType(), ObjectBase::TYPE_ENEMY);
    villager->setFriend(5);
    EXPECT_EQ(villager->getType(), ObjectBase::TYPE_FRIEND);
    villager->setFriend(0);
    EXPECT_EQ(villager->getType(), ObjectBase::TYPE_NPC) << "by its definition's type";
    ObjectNpc* slime = npc(1, 0, 0);
    slime->setFriend(3);
    slime->setFriend(0);
    EXPECT_EQ(slime->getType(), ObjectBase::TYPE_ENEMY);
    EXPECT_EQ(events, (std::vector<std::string>{"join villager", "leave villager", "join slime",
                                                "leave slime"}));

    // Harm by the player: an ally loses friendship but stays one at 1; a
    // neutral character turns hostile; harm by another does nothing.
    const qel::test::ScopedValue<std::int32_t> harmLost(FRIEND_POINT_HARM_LOST, 5);
    const qel::test::ScopedValue<std::int32_t> memory(AI_MEMORY_TIME, 7);
    auto* player = new ObjectPlayer("p", Point(0, 0), Color::WHITE, Race(), Status());
    player->setPos(1, 1);
    slime->setFriend(3);
    slime->receiveHarm(player);
    EXPECT_EQ(slime->getFriend(), 1);
    EXPECT_EQ(slime->getType(), ObjectBase::TYPE_FRIEND);
    ObjectNpc* other = npc(2, 5, 5);
    other->receiveHarm(slime);
    EXPECT_EQ(other->getType(), ObjectBase::TYPE_NPC);
    other->receiveHarm(player);
    EXPECT_EQ(other->getType(), ObjectBase::TYPE_ENEMY);
    EXPECT_EQ(other->getMemoryPoint(), (Point{1, 1})) << "it remembers its enemy";
    EXPECT_EQ(other->getMemoryTime(), 7);
}

TEST_F(ObjectNpcTest, CorpsesAndEquipment) {
    ObjectNpc* slime = npc(1, 2, 2);
    EXPECT_EQ(slime->createCorpse(0), nullptr);
    ObjectItem* corpse = slime->createCorpse(100);
    ASSERT_NE(corpse, nullptr);
    EXPECT_EQ(corpse->getCorpse(), slime->getBase());
    EXPECT_EQ(npc(4, 0, 0)->createCorpse(100), nullptr) << "no corpse kind";
    // AI bits: walk, hit and right hand; not two hands.
    EXPECT_TRUE(slime->checkCanEquip(make(1)));
    EXPECT_FALSE(slime->checkCanEquip(make(2)));
    EXPECT_FALSE(slime->checkCanEquip(nullptr));
    // A belonging of 100 percent is always given and equipped.
    ObjectNpc* thief = npc(3, 0, 0);
    thief->getBase()->addBelongings(thief);
    ASSERT_NE(thief->getEquip(ObjectChara::EQUIP_RIGHT), nullptr);
    EXPECT_EQ(thief->getEquip(ObjectChara::EQUIP_RIGHT)->getBaseId(), 1u);
}

TEST_F(ObjectNpcTest, LeashAndEliteFlags) {
    // A leashed item that dies is forgotten; one released merges back.
    ObjectNpc* slime = npc(1, 2, 2);
    ObjectItem* item = make(1);
    slime->setLeash(item);
    EXPECT_EQ(item->getBindChara(), slime);
    item->kill();
    manager_->exeRemove();
    EXPECT_EQ(slime->getLeash(), nullptr);
    ObjectItem* other = make(1);
    slime->setLeash(other);
    slime->setFriend(3);
    slime->setFriend(0);  // leaving the party releases the leash
    EXPECT_EQ(slime->getLeash(), nullptr);
    EXPECT_EQ(other->getBindChara(), nullptr);

    // Elite sets the unique race bit; clearing it keeps a unique kind's.
    slime->setElite(true);
    EXPECT_TRUE(slime->getRace()._unique);
    slime->setElite(false);
    EXPECT_FALSE(slime->getRace()._unique);
    auto* unique = const_cast<NpcBase*>(npc(2, 0, 0)->getBase());
    unique->race |= NpcBase::_unique;
    ObjectNpc* boss = npc(2, 1, 1);
    boss->setElite(false);
    EXPECT_TRUE(boss->getRace()._unique);

    // A muggle is everybody's enemy; an ally ignores kinds with bit 18.
    ObjectNpc* villager = npc(2, 4, 4);
    EXPECT_FALSE(ObjectNpc::areEnemies(*slime, *villager));
    villager->setMuggle(true);
    EXPECT_TRUE(ObjectNpc::areEnemies(*slime, *villager));
}

TEST_F(ObjectNpcTest, SavedAndReadAtEachVersion) {
    for (const std::uint32_t version : {100u, 108u, 109u}) {
        SCOPED_TRACE(version);
        ObjectNpc* slime = npc(1, 6, 7);
        slime->setFriend(4);
        slime->setMemoryPoint(Point(9, 8), 2, 5);
        slime->setTalk("grr");
        slime->setSummoned(true);
        slime->setElite(true);
        slime->setMuggle(true);
        {
            VersionFile out(path_, qel::File::MODE_WRITE);
            out.setVersion(version);
            ASSERT_TRUE(slime->serialize(out));
            ASSERT_TRUE(out.close());
        }
        ObjectNpc copy;
        VersionFile in(path_, qel::File::MODE_READ);
        in.setVersion(version);
        ASSERT_TRUE(copy.serialize(in));
        EXPECT_EQ(copy.getBase(), slime->getBase());
        EXPECT_EQ(copy.getFriend(), 4);
        EXPECT_EQ(copy.getMemoryPoint(), (Point{9, 8}));
        EXPECT_EQ(copy.getMemoryKind(), 2);
        EXPECT_EQ(copy.getMemoryTime(), 5);
        EXPECT_EQ(copy.getTalk(), "grr");
        EXPECT_TRUE(copy.isSummoned());
        EXPECT_EQ(copy.isElite(), version > 100);
        EXPECT_EQ(copy.isMuggle(), version > 108);
        manager_->clearAll();
    }
}

TEST_F(ObjectNpcTest, AnUnknownDefinitionFailsTheRead) {
    ObjectNpc* slime = npc(1, 6, 7);
    {
        VersionFile out(path_, qel::File::MODE_WRITE);
        out.setVersion(109);
        ASSERT_TRUE(slime->serialize(out));
        ASSERT_TRUE(out.close());
    }
    NpcFactory::instance().clear();
    ObjectNpc copy;
    VersionFile in(path_, qel::File::MODE_READ);
    in.setVersion(109);
    EXPECT_FALSE(copy.serialize(in));
}

TEST_F(ObjectNpcTest, SearchesFindTheNearestOfASide) {
    const qel::test::ScopedValue<std::int32_t> memory(AI_MEMORY_TIME, 3);
    auto* player = new ObjectPlayer("p", Point(0, 0), Color::WHITE, Race(), Status());
    player->setPos(10, 10);
    ObjectNpc* slime = npc(1, 11, 10);
    std::unique_ptr<AITarget> next(slime->searchNearestTarget(ObjectNpc::SEARCH_OTHER_SIDE));
    EXPECT_TRUE(next->_adjoin);
    EXPECT_EQ(next->_point, (Point{10, 10}));
    EXPECT_EQ(next->_pointDir, (Point{-2, 0}));
    EXPECT_EQ(slime->getMemoryPoint(), (Point{10, 10}));
    EXPECT_EQ(slime->getMemoryTime(), 3);

    // On a sanctuary the player is still the target but not adjoining.
    ASSERT_TRUE(make(3)->put(10, 10, false));
    std::unique_ptr<AITarget> sanctuary(slime->searchNearestTarget(ObjectNpc::SEARCH_OTHER_SIDE));
    EXPECT_FALSE(sanctuary->_adjoin);
    EXPECT_EQ(sanctuary->_pointLen2, 1);

    // Too far to see (VISION 10): nothing, and the memory leads on.
    slime->setPos(30, 10);
    std::unique_ptr<AITarget> far(slime->searchNearestTarget(ObjectNpc::SEARCH_OTHER_SIDE));
    EXPECT_EQ(far->_pointLen2, -1);
    EXPECT_EQ(far->_memoryDir, (Point{-2, 0}));
    EXPECT_EQ(slime->getMemoryTime(), 2);
    // The same side: the other monster; the player only for kind 2.
    ObjectNpc* friendOfSlime = npc(1, 28, 10);
    std::unique_ptr<AITarget> same(slime->searchNearestTarget(ObjectNpc::SEARCH_SAME_SIDE));
    EXPECT_EQ(same->_point, friendOfSlime->getPos());
    EXPECT_EQ(same->_lineDir, (Point{-1, 0}));
    std::unique_ptr<AITarget> player2(friendOfSlime->searchNearestTarget(ObjectNpc::SEARCH_PLAYER));
    EXPECT_EQ(player2->_pointLen2, -1) << "18 cells away, VISION 10";

    // Items: the nearest free one within TORCH.
    ObjectItem* sword = make(1);
    ASSERT_TRUE(sword->put(26, 12, false));
    std::unique_ptr<AITarget> item(slime->searchNearestTarget(ObjectNpc::SEARCH_ITEM));
    EXPECT_EQ(item->_point, (Point{26, 12}));

    // Any other kind searches characters of either side: the nearest one.
    constexpr std::int32_t kAnyone = 7;
    std::unique_ptr<AITarget> monster(slime->searchNearestTarget(kAnyone));
    EXPECT_EQ(monster->_point, friendOfSlime->getPos());
    player->setPos(31, 10);
    std::unique_ptr<AITarget> beside(slime->searchNearestTarget(kAnyone));
    EXPECT_TRUE(beside->_adjoin);
    EXPECT_EQ(beside->_point, (Point{31, 10}));
}

// The search takes its characters from the cells within the searcher's
// reach; it must answer exactly as the walk over every character does, ties
// between equally near ones included (the walk's order decides them). Random
// floors: walls that block sight, dark and lit cells, sanctuaries, crowds
// sharing cells, characters off the map, moved and deleted ones, friends,
// invisible ones, and searchers of every reach (none, short, long, past the
// map, negative).
TEST_F(ObjectNpcTest, TheNearSearchAnswersAsTheWalkOverEveryCharacter) {
    Dungeon& dungeon = *GameData::instance().getDungeon();
    std::mt19937 random(5);
    auto draw = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const int reaches[] = {0, 1, 2, 3, 6, 10, 25, 60, -4};
    auto reach = [&] { return reaches[draw(static_cast<int>(std::size(reaches)))]; };
    // Mostly on the map, a few just off it and one far off.
    auto position = [&] {
        if (draw(20) == 0)
            return Point(draw(2) ? -1 - draw(3) : Dungeon::kWidth + draw(3), draw(30));
        if (draw(50) == 0) return Point(100000, -7);
        return Point(draw(Dungeon::kWidth), draw(Dungeon::kHeight));
    };
    std::vector<bool> lit;
    constexpr auto kCells = static_cast<std::size_t>(Dungeon::kCellCount);
    for (std::size_t i = 0; i < kCells; ++i) lit.push_back(dungeon.cellAt(i).isLight());
    int compared = 0;
    int found = 0;
    for (int floor = 0; floor < 30; ++floor) {
        SCOPED_TRACE(floor);
        manager_->clearAll();
        for (int x = 0; x < Dungeon::kWidth; ++x)
            for (int y = 0; y < Dungeon::kHeight; ++y) {
                Tile* tile = dungeon.getTile(x, y);
                tile->setWall(draw(8) == 0);
                tile->setLight(draw(2) == 0);
            }
        for (int n = draw(4); n > 0; --n) ASSERT_TRUE(make(3)->put(draw(50), draw(30), false));
        std::vector<ObjectChara*> charas;
        for (int n = 1 + draw(2); n > 0; --n) {
            auto* player = new ObjectPlayer("p", Point(0, 0), Color::WHITE, Race(), Status());
            player->setPos(position());
            charas.push_back(player);
        }
        // Crowds thick enough that cells are shared.
        const int crowd = 5 + draw(80);
        for (int n = 0; n < crowd; ++n) {
            const Point p = draw(4) == 0 && !charas.empty()
                                ? charas[draw(static_cast<int>(charas.size()))]->getPos()
                                : position();
            ObjectNpc* monster = npc(1 + draw(4), p.x, p.y);
            ASSERT_NE(monster, nullptr);
            if (draw(6) == 0) monster->setFriend(1 + draw(3));
            if (draw(8) == 0) monster->setBaseStatus(Status::INVISIBLE, 1);
            monster->setBaseStatus(Status::TORCH, reach());
            monster->setBaseStatus(Status::VISION, reach());
            monster->setBaseStatus(Status::TELEPATHY, draw(3) == 0 ? reach() : 0);
            monster->setBaseStatus(Status::INVISI_VISION, reach());
            charas.push_back(monster);
        }
        // Some move (on, off and back onto the map), some go.
        for (ObjectChara* chara : charas) {
            if (draw(5) == 0) chara->setPos(position());
        }
        for (std::size_t i = 0; i < charas.size(); ++i) {
            if (qel::classCast<ObjectNpc>(charas[i]) && draw(10) == 0) {
                charas[i]->kill();
                charas[i] = nullptr;
            }
        }
        manager_->exeRemove();
        for (ObjectChara* chara : charas) {
            auto* searcher = qel::classCast<ObjectNpc>(chara);
            if (!searcher) continue;
            for (const std::int32_t kind :
                 {ObjectNpc::SEARCH_OTHER_SIDE, ObjectNpc::SEARCH_SAME_SIDE,
                  ObjectNpc::SEARCH_PLAYER, std::int32_t{7}}) {
                const Point memory = searcher->getMemoryPoint();
                const std::int32_t memoryKind = searcher->getMemoryKind();
                const std::int32_t memoryTime = searcher->getMemoryTime();
                std::unique_ptr<AITarget> all(
                    searcher->searchNearestTarget(kind, ObjectNpc::CandidateWalk::All));
                const Point memoryAfter = searcher->getMemoryPoint();
                const std::int32_t timeAfter = searcher->getMemoryTime();
                searcher->setMemoryPoint(memory, memoryKind, memoryTime);
                std::unique_ptr<AITarget> near(searcher->searchNearestTarget(kind));
                ASSERT_TRUE(all && near);
                SCOPED_TRACE(testing::Message() << "searcher at " << searcher->getPos().x << ","
                                                << searcher->getPos().y << " kind " << kind);
                EXPECT_EQ(near->_adjoin, all->_adjoin);
                EXPECT_EQ(near->_lineDir, all->_lineDir);
                EXPECT_EQ(near->_lineLen2, all->_lineLen2);
                EXPECT_EQ(near->_point, all->_point);
                EXPECT_EQ(near->_pointDir, all->_pointDir);
                EXPECT_EQ(near->_pointLen2, all->_pointLen2);
                EXPECT_EQ(near->_memoryDir, all->_memoryDir);
                EXPECT_EQ(searcher->getMemoryPoint(), memoryAfter);
                EXPECT_EQ(searcher->getMemoryTime(), timeAfter);
                ++compared;
                if (all->_pointLen2 != -1) ++found;
            }
        }
    }
    // The floors gave searches of both outcomes in numbers.
    EXPECT_GT(compared, 2000);
    EXPECT_GT(found, compared / 4);
    EXPECT_LT(found, compared);
    manager_->clearAll();
    for (std::size_t i = 0; i < kCells; ++i) {
        dungeon.cellAt(i).setWall(false);
        dungeon.cellAt(i).setLight(lit[i]);
    }
}

TEST_F(ObjectNpcTest, WorldHooksKillExtinctKindsAndHideUnseenMonsters) {
    ObjectNpc* slime = npc(1, 2, 2);
    ObjectNpc* villager = npc(2, 3, 3);
    GameData::instance().getWorld()->execGenocide(1);
    manager_->exeRemove();
    const std::vector<ObjectBase*> left = allList();
    EXPECT_EQ(std::count(left.begin(), left.end(), slime), 0);
    EXPECT_EQ(std::count(left.begin(), left.end(), villager), 1);

    // Sight of these (invisible) monsters: seen near enough to the player's
    // INVISI_VISION on a lit cell; a dark cell is only felt by telepathy.
    auto* player = new ObjectPlayer("p", Point(0, 0), Color::WHITE, Race(), Status());
    player->setPos(3, 4);
    player->setBaseStatus(Status::INVISI_VISION, 5);
    GameData::instance().getDungeon()->getTile(20, 20)->setState(TILE_DARK);
    ObjectNpc* hidden = npc(2, 20, 20);
    EXPECT_EQ(hidden->getSightState(), ObjectChara::SIGHT_OUT);
    EXPECT_EQ(hidden->getDrawAlpha(Point(20, 20)), 0.0f);
    EXPECT_EQ(npc(2, 3, 3)->getSightState(), ObjectChara::SIGHT_IN);
    EXPECT_EQ(npc(2, 9, 9)->getSightState(), ObjectChara::SIGHT_OUT) << "beyond INVISI_VISION";
    player->setBaseStatus(Status::TELEPATHY, 30);
    EXPECT_EQ(npc(2, 20, 20)->getSightState(), ObjectChara::SIGHT_TELEPATHY);
}

}  // namespace
