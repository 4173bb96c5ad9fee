// Acquired-skill lists over a few fixture skills: merging repeated adds,
// the sort order, and writing entries back.
#include "game/world/acquire_skill.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "game/data/skill.h"
#include "game/data/skill_list.h"

namespace {

class AcquireSkillTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Ids in another order than the tags'.
        const std::tuple<const char*, int, int> skills[] = {{"slash", 1, 1},   {"guard", 1, 4},
                                                            {"poison", 1, 11}, {"fire", 2, 2},
                                                            {"heal", 2, 3},    {"zeal", 0, 5}};
        for (const auto& [tag, type, id] : skills)
            ASSERT_TRUE(SkillList::instance().add(new Skill(tag, "Skill", type, id)));
    }
    void TearDown() override { SkillList::instance().clear(); }

    // "tag active level identify" per entry, in list order.
    static std::string shown(const AcquireSkill& list) {
        std::string out;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const AcquireSkill::DATA& d = *list.at(i);
            out += d.skill->tag() + " " + (d.active ? "A" : "-") + std::to_string(d.level) +
                   (d.identify ? "I" : "-") + ";";
        }
        return out;
    }
};

TEST_F(AcquireSkillTest, RepeatedAddsMergeIntoOneEntry) {
    struct Add {
        const char* name;
        bool active;
        int level;
        bool identify;
    };
    struct Case {
        const char* name;
        std::vector<Add> adds;
        const char* expected;
    };
    const Case cases[] = {
        {"inactive 3 then active 1",
         {{"fire", false, 3, false}, {"fire", true, 1, false}},
         "fire A3-;"},
        {"levels 3 then 2, identify from either",
         {{"fire", false, 3, true}, {"fire", true, 2, false}},
         "fire A3I;"},
        {"enabled, then its level entry",
         {{"heal", true, 2, true}, {"heal", false, 5, true}},
         "heal A5I;"},
        {"an empty and an unknown name add nothing",
         {{"", true, 1, true}, {"Fire", true, 1, true}},
         ""},
        {"different skills keep their order",
         {{"heal", false, 1, false}, {"slash", true, -2, true}},
         "heal -1-;slash A-2I;"},
    };
    for (const Case& c : cases) {
        AcquireSkill list;
        for (const Add& a : c.adds) list.add(a.name, a.active, a.level, a.identify);
        EXPECT_EQ(shown(list), c.expected) << c.name;
    }
}

TEST_F(AcquireSkillTest, SortsByTypeThenActiveThenIdentifiedThenId) {
    AcquireSkill list;
    list.add("heal", true, 1, true);     // type 2, active, identified
    list.add("fire", true, 1, false);    // type 2, active, unknown
    list.add("poison", false, 1, true);  // type 1, inactive, id 11
    list.add("guard", false, 1, true);   // type 1, inactive, id 4
    list.add("slash", false, 1, true);   // type 1, inactive, id 1
    list.add("zeal", false, 1, false);   // type 0
    list.sort();
    EXPECT_EQ(shown(list), "zeal -1-;slash -1I;guard -1I;poison -1I;heal A1I;fire A1-;");
    list.add("poison", true, 1, false);
    list.sort();
    EXPECT_EQ(shown(list), "zeal -1-;poison A1I;slash -1I;guard -1I;heal A1I;fire A1-;");
}

TEST_F(AcquireSkillTest, EntriesAreWrittenBackOnlyInsideTheList) {
    AcquireSkill list;
    EXPECT_EQ(list.size(), 0u);
    list.add("fire", false, 1, false);
    AcquireSkill::DATA copy = *list.at(0);
    copy.level = 9;
    copy.active = true;
    EXPECT_EQ(list.at(0)->level, 1);
    EXPECT_TRUE(list.set(0, copy));
    EXPECT_FALSE(list.set(1, copy));
    copy.skill = nullptr;
    EXPECT_FALSE(list.set(0, copy));
    EXPECT_EQ(shown(list), "fire A9-;");
    EXPECT_EQ(list.at(1), nullptr);
    list.clear();
    EXPECT_EQ(list.size(), 0u);
}

}  // namespace
