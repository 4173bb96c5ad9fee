// The skill table: levels of each kind and the texts built for them, rows
// that fail (a missing action, an unknown status, a repeated tag), and a
// language renaming a skill with its level texts built over the translated
// actions.
#include "game/data/skill_list.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "game/data/action.h"
#include "game/data/action_list.h"
#include "game/data/table_settings.h"
#include "tests/game/data/csv_fixture.h"
#include "tests/game/data/skill_row.h"
#include "tests/support/scoped_value.h"

namespace {

class SkillListTest : public CsvFixture {
protected:
    void SetUp() override {
        const std::string tail = ",Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp,\n";
        ASSERT_TRUE(ActionList::instance().load(message_,
                                                table("header\nSlash,slash" + tail, "actions.dat")))
            << message_.data();
    }
    void TearDown() override {
        SkillList::instance().clear();
        ActionList::instance().clear();
    }
    bool load(const std::string& rows) {
        return SkillList::instance().load(message_, table("header\n" + rows, "skills.dat"));
    }
    std::string message() const { return message_.data(); }

    std::array<char, kLoadMessageSize> message_{};
    // Status names that show their index.
    qel::test::ScopedValue<std::string> strength_{STATUS_NAME[StatusIndex::STR], "S1"};
    qel::test::ScopedValue<std::string> weight_{STATUS_NAME[StatusIndex::WEIGHT], "S22"};
    qel::test::ScopedValue<std::string> heal_{STATUS_NAME[StatusIndex::AUTO_HEAL_RATIO], "S53"};
    qel::test::ScopedValue<float> weightRatio_{ITEM_WEIGHT_RATIO, 0.5f};
    qel::test::ScopedValue<std::string> equipCount_{EQUIP_COUNT, "(eq)"};
};

TEST_F(SkillListTest, LevelsOfEachKindAndTheirTexts) {
    ASSERT_TRUE(load(skillRow(1, "blade",
                              {{"A text", 0},
                               {"slash", 1},
                               {"STR+2", 3},
                               {"STR*3", 3},
                               {"AUTO_HEAL_RATIO+150", 3},
                               {"WEIGHT+4", 3},
                               {"poison:Bites", 4},
                               {"plain", 4}})))
        << message();
    const Skill& s = *SkillList::instance().get("blade");
    EXPECT_EQ(s.id(), 1);
    EXPECT_EQ(s.name(), "blade name");
    EXPECT_EQ(s.luaClass(), "Deco");
    EXPECT_TRUE(s.library());
    EXPECT_EQ(s.levelMax(), 3);
    EXPECT_STREQ(s.levelName(0), "A text");
    EXPECT_EQ(s.levelSkillPoint(0), 0);
    EXPECT_STREQ(s.levelName(1), "Slash");
    EXPECT_EQ(s.levelAction(1), ActionList::instance().get("slash"));
    EXPECT_EQ(s.levelSkillPoint(1), 1);
    EXPECT_STREQ(s.levelName(2), "S1+2");
    EXPECT_STREQ(s.levelName(3), "S1+3(eq)");
    EXPECT_TRUE(s.levelData(3)->_statusEq);
    EXPECT_EQ(s.levelData(3)->_statusVal, 3);
    EXPECT_STREQ(s.levelName(4), "S53x1.50");
    EXPECT_STREQ(s.levelName(5), "S22+4.0");
    EXPECT_EQ(s.levelData(6)->_otherTag, "poison");
    EXPECT_STREQ(s.levelName(6), "Bites");
    EXPECT_EQ(s.levelData(7)->_otherTag, "plain") << "no ':' keeps the whole text";
    EXPECT_STREQ(s.levelName(7), "plain");
    EXPECT_STREQ(s.levelName(8), "") << "an empty text level";
    EXPECT_EQ(s.levelName(9), nullptr);
    EXPECT_EQ(SkillList::instance().skills().front(), &s);
}

TEST_F(SkillListTest, RowsThatFailAreReported) {
    EXPECT_FALSE(load(skillRow(1, "a", {{"x", 0}, {"nothing", 1}})));
    EXPECT_EQ(message(), "スキルデータが不正です line1 : a name (level 2)");
    EXPECT_FALSE(load(skillRow(1, "a", {{"LUCKY+1", 3}})));
    EXPECT_EQ(message(), "スキルデータが不正です line1 : a name (level 1)");
    EXPECT_FALSE(load(skillRow(1, "a", {{"x", 9}})));
    EXPECT_FALSE(load(skillRow(1, "a", {}) + skillRow(2, "a", {})));
    EXPECT_EQ(message(), "スキルタグが重複しています。a name 以前はa nameでした");
    EXPECT_EQ(SkillList::instance().size(), 1u) << "the rows before stay";
    EXPECT_FALSE(SkillList::instance().load(message_, missing()));
    EXPECT_EQ(message(), "スキルリストファイルが見つかりません : " + missing());
}

TEST_F(SkillListTest, ALanguageRenamesASkillOverTranslatedActions) {
    ASSERT_TRUE(load(skillRow(1, "blade", {{"x", 0}, {"slash", 1}}))) << message();
    ASSERT_TRUE(ActionList::instance().loadLocale(
        table("header\nKiri,slash,msg,exp,\n", "action_locale.dat")));
    ASSERT_TRUE(SkillList::instance().loadLocale(
        table("header\nKen,blade,\nNone,nothing,\n", "skill_locale.dat")));
    const Skill& s = *SkillList::instance().get("blade");
    EXPECT_EQ(s.name(), "Ken");
    EXPECT_STREQ(s.levelName(1), "Kiri");
}

}  // namespace
