#include "game/world/npc_factory.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "engine/core/sys_rand.h"
#include "game/world/object_item.h"
#include "tests/game/world/item_fixture.h"
#include "tests/game/world/npc_row.h"

namespace {

class NpcFactoryTest : public ItemFixture {
protected:
    void TearDown() override {
        NpcFactory::instance().clear();
        ItemFixture::TearDown();
    }
    bool loadNpcs(const std::vector<NpcRow>& rows) {
        const std::string path = scratch_.file("npcs.dat");
        writeScrambledTable(path, npcTable(rows));
        return NpcFactory::instance().loadFile(message_, path);
    }
    std::string message() const { return message_.data(); }
};

TEST_F(NpcFactoryTest, ARowFillsEveryField) {
    ASSERT_TRUE(loadItems(itemRow(7, {{2, "ポーション"}}) + itemRow(8)));
    NpcRow row;
    row.eatEffects = {"Poison|30", "", "Heal"};
    row.skills = {"Regenerate", "", "Fly"};
    row.ais = {"Chase"};
    row.belongings = {"ポーション|30", "item8|100", "nothing|50"};
    ASSERT_TRUE(loadNpcs({row})) << message();
    const NpcBase* b = NpcFactory::instance().getBaseId(1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->library, 3);
    EXPECT_EQ(b->nameId, "slime");
    EXPECT_EQ(b->name, "slime");
    EXPECT_EQ(b->level, 5);
    EXPECT_EQ(b->chip, (Point{1, 4}));
    EXPECT_EQ(b->color.argb(), 0xFF00FF00u);
    EXPECT_EQ(b->race, NpcBase::_beast | NpcBase::_undead | NpcBase::_unique);
    EXPECT_EQ(b->sex(), 1);
    EXPECT_EQ(b->expBase, 0);
    EXPECT_FLOAT_EQ(b->expRatio, 1.5f);
    // Cells 10..18 are slots 0..8, then the grouped and shuffled slots.
    const std::map<int, int> slots = {
        {0, 110},  {8, 118},  {9, 120},  {10, 15},  {11, 122}, {13, 122}, {15, 123},
        {16, 124}, {17, 124}, {18, 124}, {20, 125}, {22, 127}, {24, 128}, {28, 129},
        {32, 133}, {25, 134}, {27, 136}, {33, 137}, {45, 149}, {49, 150}, {12, 0},
        {14, 0},   {19, 0},   {23, 0},   {46, 0},   {53, 100}, {55, 100}};
    for (const auto& [slot, value] : slots) EXPECT_EQ(b->status.get(slot), value) << slot;
    EXPECT_EQ(b->note(), "a note");
    EXPECT_EQ(b->type, 1);
    EXPECT_EQ(b->control, 2);
    EXPECT_EQ(b->eat.val, ItemMaterial::fromLetters("hM").val);
    EXPECT_EQ(b->corpseId, 33);
    EXPECT_EQ(b->corpsePer, 40);
    EXPECT_EQ(b->corpseSize, 6);
    EXPECT_EQ(b->eatType, 1);
    EXPECT_EQ(b->aiFlag.val, NpcBase::_walk | NpcBase::_hit | (1u << 18));
    ASSERT_EQ(b->eatEffects().size(), 2u);
    EXPECT_EQ(b->eatEffects()[0].tag, "Poison");
    EXPECT_EQ(b->eatEffects()[0].percent, 30);
    EXPECT_EQ(b->eatEffects()[1].tag, "Heal");  // no '|': percent 0
    EXPECT_EQ(b->eatEffects()[1].percent, 0);
    ASSERT_EQ(b->skillCount(), 2);
    EXPECT_STREQ(b->skill(1), "Fly");
    EXPECT_EQ(b->skill(2), nullptr);
    EXPECT_EQ(b->skill(-1), nullptr);
    EXPECT_STREQ(b->ai(0), "Chase");
    EXPECT_EQ(b->ai(1), nullptr);
    // The trail byte of the first character of the name is '|': the split
    // is at the last one.
    ASSERT_EQ(b->belongings().size(), 3u);
    EXPECT_EQ(b->belongings()[0].nameId, "ポーション");
    EXPECT_EQ(b->belongings()[0].percent, 30);
    EXPECT_EQ(b->belongings()[0].base, &kind(7));
    EXPECT_EQ(b->belongings()[1].base, &kind(8));
    EXPECT_EQ(b->belongings()[2].base, nullptr);  // kept, never gives an item
    EXPECT_EQ(b->damageDice.count(), 2);
}

TEST_F(NpcFactoryTest, ExperienceSexAndSlotTenCells) {
    struct Case {
        std::string exp, sex, slot10;
        int expBase;
        float expRatio;
        int sexValue, slot10Value;
    } cases[] = {
        {"(250)", "f", "(15)", 250, 0.0f, 2, 3},
        {"1.5", "b", "15", 0, 1.5f, 3, 15},
        {"", "x", "", 0, 0.0f, 0, 0},
    };
    std::vector<NpcRow> rows;
    int id = 1;
    for (const Case& c : cases) {
        NpcRow r;
        r.id = std::to_string(id++);
        r.exp = c.exp;
        r.sex = c.sex;
        r.slot10 = c.slot10;
        rows.push_back(r);
    }
    ASSERT_TRUE(loadNpcs(rows)) << message();
    for (int i = 0; i < 3; ++i) {
        const NpcBase* b = NpcFactory::instance().getBaseId(i + 1);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->expBase, cases[i].expBase) << i;
        EXPECT_FLOAT_EQ(b->expRatio, cases[i].expRatio) << i;
        EXPECT_EQ(b->sex(), cases[i].sexValue) << i;
        EXPECT_EQ(b->status.get(10), cases[i].slot10Value) << i;
    }
}

TEST_F(NpcFactoryTest, BadRowsAndRepeatedIds) {
    NpcRow good;
    NpcRow badDice;
    badDice.id = "2";
    badDice.nameId = "bad";
    badDice.dice = "2d";
    EXPECT_FALSE(loadNpcs({good, badDice}));
    EXPECT_EQ(message(), "NPCデータが不正です line2 : bad");
    EXPECT_NE(NpcFactory::instance().getBaseId(1), nullptr);  // the rows before stay
    EXPECT_EQ(NpcFactory::instance().getBaseId(2), nullptr);

    NpcRow again;
    again.nameId = "again";
    EXPECT_FALSE(loadNpcs({good, again}));
    EXPECT_EQ(message(), "NPCデータのIDが重複しています : line2 : 1 again");
    EXPECT_EQ(NpcFactory::instance().getBaseId(1)->nameId, "slime");

    EXPECT_FALSE(NpcFactory::instance().loadFile(message_, scratch_.file("none.dat")));
    EXPECT_EQ(message(), "NPCリストファイルが見つかりません : " + scratch_.file("none.dat"));
    EXPECT_EQ(NpcFactory::instance().size(), 1u);  // a missing file changes nothing
}

TEST_F(NpcFactoryTest, LookupsFileOrderAndTheRandomList) {
    NpcRow a, b, c;
    a.id = "30";
    b.id = "10";
    b.type = "0";
    c.id = "20";
    c.nameId = "slime";  // a repeated name key finds the first
    ASSERT_TRUE(loadNpcs({a, b, c})) << message();
    NpcFactory& f = NpcFactory::instance();
    EXPECT_EQ(f.getBaseIndex(0)->id, 30);
    EXPECT_EQ(f.getBaseIndex(2)->id, 20);
    EXPECT_EQ(f.getBaseIndex(3), nullptr);
    EXPECT_EQ(f.getBaseIndex(-1), nullptr);
    EXPECT_EQ(f.getBase("slime")->id, 30);
    EXPECT_EQ(f.getBase("none"), nullptr);
    ASSERT_EQ(f.randomList().size(), 2u);
    EXPECT_EQ(f.randomList()[1]->id, 20);
    // r mod 2 chooses.
    qel::SysRand::instance().seed(5);
    const std::uint32_t r = qel::SysRand::instance().getRand();
    qel::SysRand::instance().seed(5);
    EXPECT_EQ(f.pickRandom(), f.randomList()[r % 2]);

    NpcBase* extra = new NpcBase();
    extra->id = 30;
    EXPECT_FALSE(f.add(extra));
    extra->id = 31;
    extra->type = 1;
    EXPECT_TRUE(f.add(extra));
    EXPECT_EQ(f.randomList().size(), 3u);

    f.clear();
    EXPECT_EQ(f.pickRandom(), nullptr);  // no type-1 definition
}

TEST_F(NpcFactoryTest, EatEffectsDrawTheirPercent) {
    NpcRow r;
    r.eatEffects = {"Poison|30"};
    ASSERT_TRUE(loadNpcs({r})) << message();
    const NpcBase* b = NpcFactory::instance().getBaseId(1);
    qel::SysRand::instance().seed(42);
    int hits = 0;
    for (int i = 0; i < 1000; ++i) {
        const char* tag = b->getEatEffect();
        if (tag) {
            EXPECT_STREQ(tag, "Poison");
            ++hits;
        }
    }
    EXPECT_GT(hits, 240);
    EXPECT_LT(hits, 360);
}

TEST_F(NpcFactoryTest, ItemsKeepTheirMonsterKindsByIdWithFoodSizeAndEatEffects) {
    ASSERT_TRUE(loadItems(itemRow(5, {{C_TYPE, "18"}, {C_MIN_LEVEL, "4"}}) +
                          itemRow(6, {{C_MIN_LEVEL, "9"}})));
    NpcRow slime;
    slime.id = "12";
    slime.nameId = "スライム";
    slime.eatEffects = {"Poison|100"};
    ASSERT_TRUE(loadNpcs({slime})) << message();
    const NpcBase* kind = NpcFactory::instance().getBaseId(12);
    ObjectItem* corpse = make(5);
    ObjectItem* plain = make(6);
    // Without a monster kind: the item kind's minimum level, no effect.
    EXPECT_EQ(corpse->getFoodSize(), 4);
    EXPECT_EQ(corpse->getEatEffect(), nullptr);
    corpse->setCorpse(kind, 30, 2);
    plain->setMimic(kind);
    EXPECT_EQ(corpse->getFoodSize(), 6);  // the monster's corpse size
    EXPECT_STREQ(corpse->getEatEffect(), "Poison");
    EXPECT_EQ(plain->getFoodSize(), 9);

    ASSERT_TRUE(write(109, false));
    manager_->clearAll();
    ASSERT_TRUE(read(109));
    std::vector<ObjectItem*> items;
    for (ObjectBase* o : allList()) items.push_back(static_cast<ObjectItem*>(o));
    ASSERT_EQ(items.size(), 2u);
    for (ObjectItem* item : items) {
        if (item->getBase()->id() == 5) {
            EXPECT_EQ(item->getCorpse(), kind);
        } else {
            EXPECT_EQ(item->getMimic(), kind);
        }
    }
    // A kind the table no longer has reads back as none.
    ASSERT_TRUE(write(109, false));
    manager_->clearAll();
    NpcFactory::instance().clear();
    ASSERT_TRUE(read(109));
    for (ObjectBase* o : allList()) {
        EXPECT_EQ(static_cast<ObjectItem*>(o)->getCorpse(), nullptr);
        EXPECT_EQ(static_cast<ObjectItem*>(o)->getMimic(), nullptr);
    }
}

}  // namespace
