// A character's effective figures as the end of its chain computes them:
// the formulas over base values, level and equipment, the level divisor at
// 0 and below, and the full-time effects on top (with the gauges judged
// without them, so a record on the gauges' own figures still ends).
#include <gtest/gtest.h>

#include <string>

#include "game/data/effect_name_list.h"
#include "game/world/full_time_effect.h"
#include "game/world/object_chara.h"
#include "game/world/world_settings.h"
#include "tests/game/world/item_fixture.h"
#include "tests/support/scoped_value.h"

namespace {

using C = ObjectChara;

// Kinds: 1 helmet (defence 4, hit 1, torch 3), 2 sword (hit 2), 3 shield
// (hit 5, defence 1), 4 bow (hit 7), 5 book (magic 2), 6 torch (torch 5);
// for the loads: 7 a stone of weight 1, 8 a helmet and 9 a shield of 10.
const std::string kKinds =
    itemRow(1, {{C_TYPE, "8"}, {C_DEFFENCE, "4"}, {C_HIT, "1"}, {C_TORCH, "3"}}) +
    itemRow(2, {{C_TYPE, "1"}, {C_HIT, "2"}}) +
    itemRow(3, {{C_TYPE, "3"}, {C_HIT, "5"}, {C_DEFFENCE, "1"}}) +
    itemRow(4, {{C_TYPE, "5"}, {C_HIT, "7"}}) + itemRow(5, {{C_TYPE, "4"}, {C_MAGIC, "2"}}) +
    itemRow(6, {{C_TYPE, "7"}, {C_TORCH, "5"}}) + itemRow(7, {{C_WEIGHT, "1"}, {C_STOCK, "1"}}) +
    itemRow(8, {{C_TYPE, "8"}, {C_WEIGHT, "10"}}) + itemRow(9, {{C_TYPE, "3"}, {C_WEIGHT, "10"}});

class StatusFormulaTest : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(kKinds)) << message_.data();
        FullTimeEffect::resetAll();
    }
    void TearDown() override {
        FullTimeEffect::resetAll();
        ItemFixture::TearDown();
    }
    qel::test::ScopedValue<std::int32_t> levelRatio_{STATUS_LEVEL_RATIO, 0};
    qel::test::ScopedValue<std::int32_t> blessedDefense_{BLESSED_DEFENSE, 2};
    qel::test::ScopedValue<std::string> float1_{ST_NAME_FLOAT1, "浮遊"};
    qel::test::ScopedValue<std::string> through_{ST_NAME_THROUGH, "壁抜け"};
    static C* chara(std::int32_t level = 1) {
        return new C("c", Point(), Color(), ObjectBase::TYPE_NPC, ObjectBase::INFO_NPC, Point(1, 1),
                     true, false, Race(), level, Status());
    }
};

TEST_F(StatusFormulaTest, FormulasOverBaseValuesAndLevel) {
    struct Case {
        const char* name;
        std::int32_t level;
        std::initializer_list<std::pair<std::int32_t, std::int32_t>> base;
        std::int32_t index;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"offense at level 1", 1, {{Status::STR, 10}}, Status::OFFENSE, 97},
        {"offense sub takes an integer mean",
         4,
         {{Status::DEX, 9}, {Status::STR, 10}},
         Status::OFFENSE_SUB,
         90},
        {"magic", 5, {{Status::WIS, 7}, {Status::MAGIC, 3}}, Status::MAGIC, 87},
        {"action", 1, {}, Status::ACTION, 12},
        {"mana from base values",
         1,
         {{Status::PER, 1}, {Status::WIS, 2}, {Status::INT, 3}, {Status::MANA, 4}},
         Status::MANA,
         15},
        {"fire", 2, {{Status::DEX, 4}}, Status::FIRE, 26},
        {"avoid takes agility twice",
         1,
         {{Status::AGI, 6}, {Status::PER, 9}, {Status::AVOID, 1}},
         Status::AVOID,
         2},
        {"control", 1, {{Status::CHA, 5}, {Status::CONTROL, 2}}, Status::CONTROL, 7},
        {"other figures are their base", 1, {{Status::VISION, 4}}, Status::VISION, 4},
    };
    for (const Case& c : cases) {
        C* ch = chara(c.level);
        for (const auto& [index, value] : c.base) ch->setBaseStatus(index, value);
        EXPECT_EQ(ch->getStatus(c.index), c.expected) << c.name;
        manager_->clearAll();
    }
}

TEST_F(StatusFormulaTest, LevelDivisorZeroDropsTheTermAndNegativeDivides) {
    C* ch = chara(10);
    ch->setBaseStatus(Status::AGI, 4);
    ch->setBaseStatus(Status::DEX, 6);
    ch->setBaseStatus(Status::HIT, 20);
    ch->setBaseStatus(Status::WIS, 3);
    const std::pair<std::int32_t, std::int32_t> expected[] = {{0, 25}, {2, 30}, {-1, 15}, {-3, 22}};
    for (const auto& [ratio, hit] : expected) {
        STATUS_LEVEL_RATIO = ratio;
        EXPECT_EQ(ch->getStatus(Status::HIT), hit) << ratio;
        // The scripts' formula gives the same.
        EXPECT_EQ(ch->baseStatus().calHit(4, 6, 10, ratio), hit) << ratio;
    }
    STATUS_LEVEL_RATIO = -1;
    EXPECT_EQ(ch->getStatus(Status::HIT_MAGIC), 0) << "3 - 10 clamps at 0";
}

TEST_F(StatusFormulaTest, EquipmentInTheFormulas) {
    C* ch = chara();
    ObjectItem* helmet = make(1);
    helmet->setLevel(3);
    helmet->setBless(true);
    BLESSED_DEFENSE = 2;
    EXPECT_EQ(ch->getStatus(Status::DEFENSE), 0);
    ASSERT_TRUE(ch->equip(helmet));
    EXPECT_EQ(ch->getStatus(Status::DEFENSE), 9) << "4 + level 3 + blessed 2";
    ObjectItem* sword = make(2);
    sword->setLevel(5);
    ASSERT_TRUE(ch->equip(sword));
    EXPECT_EQ(ch->getStatus(Status::DEFENSE), 9) << "a weapon's level is no defence";

    ASSERT_TRUE(ch->equip(make(3)));  // shield, left hand
    ASSERT_TRUE(ch->equip(make(4)));  // bow
    EXPECT_EQ(ch->getStatus(Status::HIT), 1 + 2) << "helmet and sword; not shield, not bow";
    EXPECT_EQ(ch->getStatus(Status::HIT_SUB), 0) << "1 + 5 - 9 clamps";
    EXPECT_EQ(ch->getStatus(Status::HIT_FIRE), 1 + 7) << "helmet and bow";

    EXPECT_EQ(ch->getStatus(Status::TORCH), 3);
    ASSERT_TRUE(ch->equip(make(6)));
    EXPECT_EQ(ch->getStatus(Status::TORCH), 5);
}

TEST_F(StatusFormulaTest, BookInTheLeftHandLendsItsLevel) {
    C* ch = chara();
    ObjectItem* book = make(5);
    book->setLevel(4);
    ASSERT_TRUE(ch->equip(book));
    ASSERT_EQ(ch->getEquip(C::EQUIP_LEFT), book);
    EXPECT_EQ(ch->getStatus(Status::SUCCESS_MAGIC), 2 + 4);
    book->setBless(true);
    EXPECT_EQ(ch->getStatus(Status::SUCCESS_MAGIC), 2 + 4 + 2);
}

TEST_F(StatusFormulaTest, FullTimeEffectsAtStartValuesAreNeutral) {
    C* ch = chara();
    FullTimeEffect::initFullTimeEffectFlags();
    for (std::int32_t i = 0; i < Status::TYPE_MAX; ++i) {
        const bool ratio = i == Status::AUTO_HEAL_RATIO || i == Status::AUTO_MANA_RATIO;
        EXPECT_EQ(FullTimeEffect::calStatus(i, ch), ratio ? 100 : 0) << Status::NAMES[i];
    }
}

TEST_F(StatusFormulaTest, RecordsOnTheGaugesOwnFiguresStillEnd) {
    // Out of water on land 0: the strand state; over any load (WEIGHT 0 and
    // a carried item): weight dead.
    FullTimeEffect::FIELD_STRAND._status.set(Status::STR, 3);
    FullTimeEffect::FIELD_STRAND._status.set(Status::WEIGHT, 10);
    FullTimeEffect::FIELD_STRAND._status.set(Status::AUTO_HEAL_RATIO, 50);
    FullTimeEffect::WEIGHT_OVER._condition = 1.0f;
    FullTimeEffect::WEIGHT_PRESS._condition = 2.0f;
    FullTimeEffect::WEIGHT_DEAD._condition = 3.0f;
    FullTimeEffect::WEIGHT_OVER._status.set(Status::STR, -1);
    FullTimeEffect::initFullTimeEffectFlags();
    C* ch = chara();
    ch->setBaseStatus(Status::STR, 10);
    EXPECT_EQ(ch->getStatus(Status::STR), 13) << "no load: strand only";
    EXPECT_EQ(ch->getStatus(Status::AUTO_HEAL_RATIO), 50);
    // Capacity is judged without the records: 0 here, so any load is dead.
    EXPECT_EQ(ch->getStatus(Status::WEIGHT), 10);
    ASSERT_TRUE(ch->equip(make(2)));
    EXPECT_EQ(ch->getStatus(Status::STR), 13) << "judged at capacity 0: weight dead, no STR";
    // Asked from outside, capacity includes the strand's 10.
    EXPECT_EQ(FullTimeEffect::GetWeightState(ch), 0);
}

TEST_F(StatusFormulaTest, WeightStateGradesBothLoadsAtTheirThresholdsAndStopsAtThree) {
    // Capacity 10: all that is carried is judged against 20, what is
    // equipped against 10.
    FullTimeEffect::WEIGHT_OVER._condition = 1.0f;
    FullTimeEffect::WEIGHT_PRESS._condition = 1.5f;
    FullTimeEffect::WEIGHT_DEAD._condition = 2.0f;
    struct Case {
        const char* name;
        std::int32_t loose;     // weight carried and not equipped
        std::int32_t equipped;  // 0, 10 (a helmet) or 20 (and a shield)
        std::int32_t expected;
    };
    const Case cases[] = {
        {"nothing", 0, 0, 0},
        {"just below the first threshold", 19, 0, 0},
        {"exactly at it", 20, 0, 1},
        {"at the second", 30, 0, 2},
        {"at the third", 40, 0, 3},
        {"equipped at the first, all carried below it", 0, 10, 1},
        {"both at the first", 10, 10, 2},
        {"all at the second, equipped at the first", 20, 10, 3},
        {"both at the third stop at 3", 20, 20, 3},
    };
    for (const Case& k : cases) {
        C* ch = chara();
        ch->setBaseStatus(Status::WEIGHT, 10);
        ASSERT_EQ(ch->getStatus(Status::WEIGHT), 10);
        if (k.loose > 0) {
            ObjectItem* stones = make(7);
            ASSERT_TRUE(stones->setStock(k.loose));
            ch->addItem(stones, false);
        }
        for (std::int32_t kind : {8, 9}) {
            if (k.equipped < (kind - 7) * 10) continue;
            ObjectItem* armour = make(kind);
            ch->addItem(armour, false);
            ASSERT_TRUE(ch->equip(armour)) << k.name;
        }
        ASSERT_EQ(ch->getItemTotalWeight(), static_cast<std::uint32_t>(k.loose + k.equipped));
        ASSERT_EQ(ch->getEquipTotalWeight(), static_cast<std::uint32_t>(k.equipped)) << k.name;
        EXPECT_EQ(FullTimeEffect::GetWeightState(ch), k.expected) << k.name;
        manager_->clearAll();
    }
}

TEST_F(StatusFormulaTest, EffectNamesOnceEach) {
    FullTimeEffect::FIELD_STRAND.set(0.0f, 5, "陸", Color::RED);
    C* ch = chara();
    ch->setBaseStatus(Status::FLOAT, 1);
    ch->setBaseStatus(Status::THROUGH, 1);
    EffectNameList list;
    list.add(1, ST_NAME_THROUGH, Color::WHITE);  // some effect already shows it
    ch->getEffectName(&list);
    std::string names;
    for (std::size_t i = 0; i < list.size(); ++i) names += list.get(i)->name + ";";
    // Floating: no field state, so no strand name.
    EXPECT_EQ(names, "浮遊;壁抜け;");
    ch->setBaseStatus(Status::FLOAT, 0);
    list.clear();
    ch->getEffectName(&list);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.get(0)->name, "壁抜け") << "sorted by key";
    EXPECT_EQ(list.get(1)->name, "陸");
}

}  // namespace
