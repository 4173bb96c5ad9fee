// The player's own bookkeeping: equip flags by item kind, fate counters,
// dark-illness tags, satiety with its floor and states, the game's player
// pointer, and saving across the versions.
#include "game/world/object_player.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "engine/script/sys_lua.h"
#include "game/data/item_base.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "game/world/acquire_skill.h"
#include "game/world/full_time_effect.h"
#include "game/world/game_data.h"
#include "game/world/version_file.h"
#include "tests/game/world/item_fixture.h"

namespace {

class ObjectPlayerTest : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(qel::SysLua::instance().init());
    }
    void TearDown() override {
        FullTimeEffect::resetAll();
        ItemFixture::TearDown();
        qel::SysLua::instance().close();
    }
    bool save(ObjectPlayer& p, std::uint32_t version) {
        VersionFile out(path_, qel::File::MODE_WRITE);
        out.setVersion(version);
        return p.serialize(out) && out.close();
    }
    bool load(ObjectPlayer& p, std::uint32_t version) {
        VersionFile in(path_, qel::File::MODE_READ);
        in.setVersion(version);
        return p.serialize(in);
    }
    const std::string path_ = scratch_.file("player.dat");
};

TEST_F(ObjectPlayerTest, EquipFlagsAllowTheKindsTheirBitsName) {
    std::string rows;
    for (int type = 0; type <= 14; ++type)
        rows += itemRow(100 + type, {{C_TYPE, std::to_string(type)}});
    ASSERT_TRUE(loadItems(rows)) << message_.data();
    struct Case {
        const char* name;
        std::uint32_t flags;
        std::vector<int> allowed;  // item types
    };
    const Case cases[] = {
        {"all bits", 0xFFFFFFFFu, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"twoHand off keeps one-handed weapons",
         0xFFFFFFFFu & ~(1u << 2),
         {1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"bow off refuses bows and arrows",
         0xFFFFFFFFu & ~(1u << 4),
         {1, 2, 3, 4, 7, 8, 9, 10, 11, 12}},
        {"only torch", 1u << 10, {7}},
        {"none", 0, {}},
    };
    ObjectPlayer p;
    for (const Case& c : cases) {
        p.setEquipFlag(EquipFlag(c.flags));
        std::vector<int> allowed;
        for (int type = 0; type <= 14; ++type) {
            ObjectItem* item = make(100 + type);
            ASSERT_NE(item, nullptr);
            // Asked as any character is asked.
            if (static_cast<ObjectChara&>(p).checkCanEquip(item)) allowed.push_back(type);
            delete item;
        }
        EXPECT_EQ(allowed, c.allowed) << c.name;
    }
    EXPECT_FALSE(p.checkCanEquip(nullptr));
}

TEST_F(ObjectPlayerTest, FatesAddOnlyToCountersThatExist) {
    ObjectPlayer p;
    p.addFate("luck", 5);
    EXPECT_EQ(p.getFate("luck"), 0);
    p.setFate("luck", 0);
    p.addFate("luck", 5);
    p.addFate("luck", -2);
    EXPECT_EQ(p.getFate("luck"), 3);
    p.setFate("luck", 9);
    EXPECT_EQ(p.getFate("luck"), 9);
    EXPECT_EQ(p.getFate(""), 0);
}

TEST_F(ObjectPlayerTest, DarkIllTagsStayUniqueAndPositionsOutsideChangeNothing) {
    ObjectPlayer p;
    EXPECT_TRUE(p.addDarkIllTag("a"));
    EXPECT_FALSE(p.addDarkIllTag("a"));
    EXPECT_TRUE(p.addDarkIllTag("b"));
    EXPECT_TRUE(p.addDarkIllTag("c"));
    EXPECT_EQ(p.getDarkIllNum(), 3);
    for (int index : {-1, 3}) {
        EXPECT_FALSE(p.removeDarkIllTag(index)) << index;
        EXPECT_EQ(p.getDarkIllTag(index), nullptr) << index;
    }
    EXPECT_TRUE(p.removeDarkIllTag(0));
    ASSERT_EQ(p.getDarkIllNum(), 2);
    EXPECT_STREQ(p.getDarkIllTag(0), "b");
    EXPECT_STREQ(p.getDarkIllTag(1), "c");
    EXPECT_FALSE(p.checkDarkIll("a"));
    EXPECT_TRUE(p.checkDarkIll("c"));
}

TEST_F(ObjectPlayerTest, SatietyFloorsAtZeroAndRatiosOfAZeroMaximumAreZero) {
    ObjectPlayer p;
    p.setSatietyMax(100);
    p.setSatiety(-10);
    EXPECT_EQ(p.getSatiety(), 0);
    p.setSatiety(50);
    p.addSatiety(-1000);
    EXPECT_EQ(p.getSatiety(), 0);
    p.setSatiety(50);
    p.addSatiety(500);
    EXPECT_EQ(p.getSatiety(), 550);
    p.setSatiety(0x7FFFFFFF);
    p.addSatiety(1);
    EXPECT_EQ(p.getSatiety(), 0x7FFFFFFF);
    p.addSatietyMax(-1000);
    EXPECT_EQ(p.getSatietyMax(), 0);
    EXPECT_EQ(p.getSatietyPer(), 0.0f);
    p.setSatietyMax(200);
    p.setSatiety(50);
    EXPECT_EQ(p.getSatietyPer(), 0.25f);
    p.setDarkIll(3);
    EXPECT_EQ(p.getDarkIllPer(), 0.0f);
    p.setDarkIllMax(4);
    EXPECT_EQ(p.getDarkIllPer(), 0.75f);
}

TEST_F(ObjectPlayerTest, SatietyStatesChangeJustPastEachThreshold) {
    FullTimeEffect::SATIETY_OVER._condition = 0.9f;
    FullTimeEffect::SATIETY_FULL._condition = 0.75f;
    FullTimeEffect::SATIETY_EMPTY._condition = 0.25f;
    FullTimeEffect::SATIETY_HUNGER._condition = 0.125f;
    FullTimeEffect::SATIETY_DEAD._condition = 0.0f;
    ObjectPlayer p;
    struct Case {
        int satiety;
        int max;
        int state;
    };
    const Case cases[] = {
        {1000, 1000, 1}, {900, 1000, 2}, {901, 1000, 1}, {750, 1000, 0},
        {751, 1000, 2},  {250, 1000, 3}, {251, 1000, 0}, {125, 1000, 4},
        {126, 1000, 3},  {0, 1000, 5},   {1, 1000, 4},   {5, 0, 0},
    };
    for (const Case& c : cases) {
        p.setSatietyMax(c.max);
        p.setSatiety(c.satiety);
        EXPECT_EQ(FullTimeEffect::GetSatietyState(&p), c.state) << c.satiety << "/" << c.max;
    }
    ObjectChara other;
    EXPECT_EQ(FullTimeEffect::GetSatietyState(&other), 0);
}

TEST_F(ObjectPlayerTest, TheNewestPlayerIsTheGamesUntilItGoes) {
    auto* first = new ObjectPlayer();
    EXPECT_EQ(GameData::instance().getPlayer(), first);
    auto* second = new ObjectPlayer("hero", Point(1, 2), Color::WHITE, Race(), Status());
    EXPECT_EQ(GameData::instance().getPlayer(), second);
    EXPECT_EQ(second->getType(), ObjectBase::TYPE_PLAYER);
    EXPECT_EQ(second->getLevel(), 1);
    delete first;
    EXPECT_EQ(GameData::instance().getPlayer(), second);
    delete second;
    EXPECT_EQ(GameData::instance().getPlayer(), nullptr);
    EXPECT_STREQ(ObjectPlayer().getClassName(), "ObjectPlayer");
}

TEST_F(ObjectPlayerTest, SavesKeepWhatTheirVersionHolds) {
    for (std::uint32_t version : {100u, 103u, 104u}) {
        ObjectPlayer a;
        a.setCharaRace("エルフ", 7);
        a.setCharaClass("戦士", 3);
        a.setSkillPoint(11);
        a.setSatietyMax(900);
        a.setSatiety(450);
        a.setDarkIll(-4);
        a.setDarkIllMax(30);
        a.setFaith(-2);
        a.addDarkIllTag("x");
        a.addDarkIllTag("y");
        a.setFate("b", 2);
        a.setFate("a", -1);
        a.setPressure(6);
        a.setEquipFlag(EquipFlag(0x5u));
        ASSERT_TRUE(save(a, version)) << version;
        ObjectPlayer b;
        ASSERT_TRUE(load(b, version)) << version;
        EXPECT_EQ(b.getCharaRace(), "エルフ");
        EXPECT_EQ(b.getCharaClass(), "戦士");
        EXPECT_EQ(b.getSkillPoint(), 11);
        EXPECT_EQ(b.getSatiety(), 450);
        EXPECT_EQ(b.getSatietyMax(), 900);
        EXPECT_EQ(b.getDarkIll(), -4);
        EXPECT_EQ(b.getDarkIllMax(), 30);
        EXPECT_EQ(b.getFaith(), -2);
        EXPECT_EQ(b.getDarkIllNum(), 2);
        EXPECT_EQ(b.getFate("a"), -1);
        EXPECT_EQ(b.getFate("b"), 2);
        EXPECT_EQ(b.getPressure(), version > 100 ? 6 : 0) << version;
        EXPECT_EQ(b.getCharaRaceId(), version > 102 ? 7 : 0) << version;
        EXPECT_EQ(b.getEquipFlag().word(), version > 103 ? 0x5u : 0xFFFFFFFFu) << version;
    }
}

TEST_F(ObjectPlayerTest, ATruncatedSaveFails) {
    ObjectPlayer a;
    a.setFate("long name", 1);
    ASSERT_TRUE(save(a, 104));
    std::ifstream in(path_, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 12u);
    for (std::size_t cut : {bytes.size() - 1, bytes.size() - 6, bytes.size() / 2}) {
        std::ofstream(path_, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(cut));
        ObjectPlayer b;
        EXPECT_FALSE(load(b, 104)) << cut;
    }
}

TEST_F(ObjectPlayerTest, APlayerInTheObjectSectionReadsBackAsTheGamesPlayer) {
    auto* p = new ObjectPlayer("hero", Point(1, 2), Color::WHITE, Race(), Status());
    p->setFate("oath", 4);
    ASSERT_EQ(manager_->getLinkAll()->obj, p);
    {
        VersionFile out(path_, qel::File::MODE_WRITE);
        out.setVersion(103);
        ASSERT_TRUE(manager_->writeObjects(out, false));
        ASSERT_TRUE(out.close());
    }
    manager_->clearAll();
    EXPECT_EQ(GameData::instance().getPlayer(), nullptr);
    VersionFile in(path_, qel::File::MODE_READ);
    in.setVersion(103);
    ASSERT_TRUE(manager_->readObjects(in));
    ObjectPlayer* back = GameData::instance().getPlayer();
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getFate("oath"), 4);
    EXPECT_EQ(manager_->getLinkAll()->obj, back);
}

}  // namespace

namespace {

// "tag active level identify;" per entry of a list, which is then deleted.
std::string shownAndDeleted(AcquireSkill* list) {
    std::string out;
    for (std::size_t i = 0; list && i < list->size(); ++i) {
        const AcquireSkill::DATA& d = *list->at(i);
        out += d.skill->tag() + " " + (d.active ? "A" : "-") + std::to_string(d.level) +
               (d.identify ? "I" : "-") + ";";
    }
    delete list;
    return out;
}

TEST_F(ObjectPlayerTest, TheAcquiredSkillsOfACharacterFollowWhatThePlayerKnowsOfItsItems) {
    for (const auto& [tag, type] :
         {std::pair{"blade", 1}, {"guard", 1}, {"oath", 2}, {"DoubleWeapon", 1}, {"zeal", 0}}) {
        ASSERT_TRUE(SkillList::instance().add(new Skill(tag, "Skill", type)));
    }
    // A one-handed weapon bringing "blade".
    ASSERT_TRUE(loadItems(itemRow(1, {{C_TYPE, "1"}, {C_SKILL, "blade"}})));
    struct Case {
        const char* name;
        bool kindKnown;
        bool itemIdentified;
        const char* expected;
    };
    const Case cases[] = {
        {"all known", true, true, "zeal A2I;blade A0I;guard -4I;oath A0I;"},
        {"the item not identified", true, false, "zeal A2I;blade A0I;guard -4I;oath A0-;"},
        {"the kind unknown", false, true, "zeal A2I;blade A0-;guard -4I;oath A0-;"},
    };
    for (const Case& c : cases) {
        ObjectPlayer p;
        p.addEnableSkill("zeal");
        p.setSkillLevel("zeal", 2);
        p.setSkillLevel("guard", 4);
        ObjectItem* weapon = make(1);
        ASSERT_NE(weapon, nullptr);
        weapon->setSubSkillTag("oath");
        weapon->setStateIdentify(c.itemIdentified);
        weapon->setCountIdentify(true);
        kind(1).getItemName().setState(c.kindKnown ? ItemName::ANALYZE : ItemName::UNKNOWN);
        p.addItem(weapon);
        ASSERT_TRUE(p.equip(weapon)) << c.name;
        EXPECT_EQ(shownAndDeleted(p.createAcquireSkill()), c.expected) << c.name;
    }
    SkillList::instance().clear();
}

}  // namespace
