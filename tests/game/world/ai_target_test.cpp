#include "game/world/ai_target.h"

#include <gtest/gtest.h>

#include "tests/game/world/object_fixture.h"

namespace {

TEST(AITarget, Directions) {
    struct Case {
        Point offset, dir8, dir16;
    } cases[] = {
        {{3, 1}, {1, 1}, {2, 1}},
        {{1, 3}, {1, 1}, {1, 2}},
        {{2, 2}, {1, 1}, {2, 2}},
        {{0, -5}, {0, -1}, {0, -2}},
        {{-4, 0}, {-1, 0}, {-2, 0}},
        {{4, -1}, {1, -1}, {2, -1}},
        {{-3, -3}, {-1, -1}, {-2, -2}},
        {{0, 0}, {0, 0}, {0, 0}},
        {{-2147483647 - 1, 5}, {-1, 1}, {-2, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AITarget::cal8Dir(c.offset), c.dir8) << c.offset.x << "," << c.offset.y;
        EXPECT_EQ(AITarget::cal16Dir(c.offset), c.dir16) << c.offset.x << "," << c.offset.y;
    }
}

TEST(AITarget, StartsWithNoTarget) {
    const AITarget t;
    EXPECT_FALSE(t._adjoin);
    EXPECT_EQ(t._lineLen2, -1);
    EXPECT_EQ(t._pointLen2, -1);
    EXPECT_EQ(t._point, Point(0, 0));
}

class AITargetSet : public ObjectFixture {
protected:
    ObjectBase* at(int x, int y) {
        return new ObjectBase("o", Point(), Color::WHITE, ObjectBaseTypes::TYPE_NONE,
                              ObjectBase::INFO(), Point(x, y), true, false);
    }
};

TEST_F(AITargetSet, SetTargetFillsThePointAndOnlyStraightLines) {
    ObjectBase* me = at(10, 10);
    struct Case {
        Point target;
        bool adjoin;
        Point lineDir;
        std::int32_t lineLen2;
        Point pointDir;
        std::int32_t pointLen2;
    } cases[] = {
        {{11, 10}, true, {1, 0}, 1, {2, 0}, 1},     // east, next door
        {{10, 14}, false, {0, 1}, 16, {0, 2}, 16},  // a column away
        {{11, 11}, false, {0, 0}, -1, {2, 2}, 2},   // diagonal: no line
        {{13, 11}, false, {0, 0}, -1, {2, 1}, 10},
        {{10, 10}, true, {0, 0}, 0, {0, 0}, 0},  // the same cell
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.target.x) + "," + std::to_string(c.target.y));
        AITarget t;
        ASSERT_TRUE(t.setTarget(me, at(c.target.x, c.target.y)));
        EXPECT_EQ(t._adjoin, c.adjoin);
        EXPECT_EQ(t._lineDir, c.lineDir);
        EXPECT_EQ(t._lineLen2, c.lineLen2);
        EXPECT_EQ(t._point, c.target);
        EXPECT_EQ(t._pointDir, c.pointDir);
        EXPECT_EQ(t._pointLen2, c.pointLen2);
        EXPECT_EQ(t._memoryDir, c.pointDir);
    }
    // A diagonal target leaves an earlier line as it was.
    AITarget t;
    t.setTarget(me, at(9, 10));
    t.setTarget(me, at(12, 12));
    EXPECT_TRUE(t._adjoin);
    EXPECT_EQ(t._lineDir, Point(-1, 0));
    EXPECT_EQ(t._pointLen2, 8);
    // Null is refused.
    EXPECT_FALSE(t.setTarget(me, nullptr));
    EXPECT_FALSE(t.setTarget(nullptr, me));
    EXPECT_EQ(t._pointLen2, 8);
}

}  // namespace
