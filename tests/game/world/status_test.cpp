#include "game/world/status.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(Status, NewAndResetBlocksHoldZeroExceptTheRatios) {
    Status s;
    for (std::int32_t i = 0; i < Status::TYPE_MAX; ++i) {
        const bool ratio = i == Status::AUTO_HEAL_RATIO || i == Status::AUTO_MANA_RATIO;
        EXPECT_EQ(s.get(i), ratio ? 100 : 0) << Status::NAMES[i];
    }
    const Status fresh = s;
    s.set(Status::LIFE, 30);
    s.set(Status::AUTO_HEAL_RATIO, 7);
    s.init();
    EXPECT_EQ(s, fresh);
}

TEST(Status, CombineRuleForEveryKindOfFigure) {
    struct Case {
        const char* name;
        std::int32_t index;
        std::int32_t held;
        std::int32_t incoming;
        std::int32_t want;
    };
    const Case cases[] = {
        {"sum", Status::STR, 5, 7, 12},
        {"sum of negatives", Status::RES_FIRE, -5, -7, -12},
        {"sum at the first index", Status::LIFE, 1, 2, 3},
        {"sum at the last index", Status::SATIETY, 100, -30, 70},
        {"sum beside the ratios", Status::AUTO_HEAL, 50, 50, 100},
        {"sum wraps upward", Status::OFFENSE, kMax, 1, kMin},
        {"sum wraps downward", Status::OFFENSE, kMin, -1, kMax},
        {"larger magnitude: incoming wins", Status::FLOAT, 3, -5, -5},
        {"larger magnitude: held wins", Status::FLOAT, -4, 2, -4},
        {"tie goes to incoming (-3 held)", Status::FLOAT, -3, 3, 3},
        {"tie goes to incoming (3 held)", Status::FLOAT, 3, -3, -3},
        {"THROUGH follows the same rule", Status::THROUGH, 1, -2, -2},
        {"INVISIBLE follows the same rule", Status::INVISIBLE, -9, 8, -9},
        {"magnitude of the minimum", Status::INVISIBLE, kMax, kMin, kMin},
        {"minimum held against maximum", Status::INVISIBLE, kMin, kMax, kMin},
        {"percent: 150 into 100", Status::AUTO_HEAL_RATIO, 100, 150, 150},
        {"percent: twice 150", Status::AUTO_HEAL_RATIO, 150, 150, 225},
        {"percent: 50 into 50", Status::AUTO_HEAL_RATIO, 50, 50, 25},
        {"percent: truncates to 0", Status::AUTO_MANA_RATIO, 99, 1, 0},
        {"percent: truncates toward zero", Status::AUTO_MANA_RATIO, -150, 3, -4},
        // 100000 * 100000 wraps to 1410065408 in 32 bits before the division.
        {"percent: product wraps", Status::AUTO_MANA_RATIO, 100000, 100000, 14100654},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Status::CalValueSum(c.index, c.held, c.incoming), c.want) << c.name;
        Status s;
        s.set(c.index, c.held);
        s.add(c.index, c.incoming);
        EXPECT_EQ(s.get(c.index), c.want) << "add: " << c.name;
        for (std::int32_t i = 0; i < Status::TYPE_MAX; ++i) {
            if (i != c.index) {
                EXPECT_EQ(s.get(i), Status().get(i)) << c.name << " touched " << i;
            }
        }
    }
}

TEST(Status, BlocksCombineIndexByIndex) {
    Status a, b;
    a.set(Status::STR, 3);
    b.set(Status::STR, 4);
    a.set(Status::FLOAT, -3);
    b.set(Status::FLOAT, 3);
    a.set(Status::AUTO_HEAL_RATIO, 150);
    b.set(Status::AUTO_HEAL_RATIO, 50);
    b.set(Status::SATIETY, -1);

    const Status sum = a + b;
    EXPECT_EQ(sum.get(Status::STR), 7);
    EXPECT_EQ(sum.get(Status::FLOAT), 3);
    EXPECT_EQ(sum.get(Status::AUTO_HEAL_RATIO), 75);
    EXPECT_EQ(sum.get(Status::AUTO_MANA_RATIO), 100) << "two neutral percentages";
    EXPECT_EQ(sum.get(Status::SATIETY), -1);
    EXPECT_EQ(a.get(Status::STR), 3) << "operator+ leaves its left operand alone";

    a += b;
    EXPECT_EQ(a, sum);
}

TEST(Status, IndexOutsideTheBlockIsRefused) {
    Status s;
    const Status before = s;
    for (std::int32_t bad : {std::int32_t{-1}, std::int32_t{Status::TYPE_MAX}, kMin, kMax}) {
        EXPECT_FALSE(Status::isIndex(bad)) << bad;
        EXPECT_THROW(s.get(bad), std::out_of_range) << bad;
        EXPECT_THROW(s[bad], std::out_of_range) << bad;
        EXPECT_THROW(s.set(bad, 1), std::out_of_range) << bad;
        EXPECT_THROW(s.add(bad, 1), std::out_of_range) << bad;
        // The rule alone touches no block: an index with no rule of its own adds.
        EXPECT_EQ(Status::CalValueSum(bad, 2, 3), 5) << bad;
    }
    EXPECT_EQ(s, before);
    EXPECT_TRUE(Status::isIndex(0));
    EXPECT_TRUE(Status::isIndex(57));
}

TEST(Status, IndexNames) {
    struct Case {
        const char* name;
        std::int32_t index;
    };
    const Case cases[] = {
        {"LIFE", 0},
        {"CHA", 8},
        {"MANA", 9},
        {"ACTION", 10},
        {"WATER", 29},
        {"FLOAT", 30},
        {"INVISIBLE", 32},
        {"RES_STONE", 45},
        {"SUCCESS_MAGIC", 47},
        {"LUCK", 48},
        {"MOVE_SPEED", 52},
        {"AUTO_HEAL_RATIO", 53},
        {"AUTO_MANA_RATIO", 55},
        {"SATIETY", 57},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Status::indexOf(c.name), c.index) << c.name;
        EXPECT_STREQ(Status::NAMES[c.index], c.name);
    }
    for (std::int32_t i = 0; i < Status::TYPE_MAX; ++i) {
        EXPECT_EQ(Status::indexOf(Status::NAMES[i]), i) << "names are unique: " << i;
    }
    EXPECT_EQ(Status::MAIN_MAX, Status::MANA);
    EXPECT_EQ(Status::TYPE_MAX, 58);
    EXPECT_EQ(Status::indexOf("life"), -1) << "case-sensitive";
    EXPECT_EQ(Status::indexOf("TYPE_MAX"), -1);
    EXPECT_EQ(Status::indexOf(nullptr), -1);
}

TEST(Status, DerivedFigures) {
    const Status reset;
    Status s;
    s.set(Status::MANA, 1);
    s.set(Status::WEIGHT, 7);
    s.set(Status::HIT_MAGIC, 2);
    struct Case {
        const char* name;
        std::int32_t got;
        std::int32_t want;
    };
    const Case cases[] = {
        {"calAction", reset.calAction(), 12},
        {"calMana", s.calMana(2, 3, 4), 1 + 10 + 4},
        {"calOffense", reset.calOffense(10, 4), 120},
        {"calOffense truncates toward zero", reset.calOffense(-3, 1), -29},
        {"calOffense saturates", reset.calOffense(kMax, kMax), kMax},
        {"calOffenseSub", reset.calOffenseSub(3, 4, 0), 21},
        {"calFire", reset.calFire(4, 2), 26},
        {"calMagic", reset.calMagic(10, 5), 120},
        {"calDefense", reset.calDefense(10, 22, 0.1f), 20},
        {"calDefense toward zero", reset.calDefense(10, 2, 0.1f), 0},
        {"calHit", reset.calHit(3, 4, 25, 10), 5},
        {"calHitSub", reset.calHitSub(3, 4, 25, 10), -4},
        {"calHitFire", reset.calHitFire(3, 4, 25, 10), 5},
        {"calHitMagic", s.calHitMagic(3, 25, 10), 2 + 3 + 2},
        {"calAvoid", reset.calAvoid(1, 1, 0, 10), -5},
        {"calAvoid weighs its first figure twice", reset.calAvoid(6, 0, 0, 10), -2},
        {"calResist", reset.calResist(3, 4, 25, 10), -1},
        {"calWeight", s.calWeight(10, 20, 1.5f, 2.0f, 3.0f), 7 + 30 + 20 + 3},
        // 10 * 0.7f is 6.99999988 in double, 7 once rounded to float.
        {"calWeight rounds to float before truncating", reset.calWeight(0, 10, 0.7f, 0, 0), 7},
        {"calControl ignores its second number", reset.calControl(5, 99), 5},
        {"unset level ratio drops the level term", reset.calHit(3, 4, 25, 0), 3},
        {"unset level ratio in calAvoid", reset.calAvoid(3, 3, 99, 0), -3},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(Status, ScriptCreatedBlocksStartLikeAnyOther) {
    Status* s = new Status();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->get(Status::AUTO_MANA_RATIO), 100);
    delete s;
}

}  // namespace
