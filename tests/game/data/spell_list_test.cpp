#include "game/data/spell_list.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "game/data/action.h"
#include "game/data/action_list.h"
#include "game/data/spell.h"
#include "tests/game/data/csv_fixture.h"

namespace {

const std::string kHeader = "name,tag,action,action,action,\n";

// Spell tag -> the tags of its actions in row order.
using Loaded = std::map<std::string, std::vector<std::string>>;

Loaded contents(const SpellList& list) {
    Loaded out;
    for (const auto& [tag, spell] : list.spells()) {
        std::vector<std::string>& actions = out[tag];
        for (std::size_t i = 0; i < spell->size(); ++i) actions.push_back(spell->action(i)->tag());
    }
    return out;
}

class SpellListTest : public CsvFixture {
protected:
    void SetUp() override {
        CsvFixture::SetUp();
        const std::string tail = ",Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp,\n";
        std::array<char, kLoadMessageSize> actionMessage{};
        ASSERT_TRUE(ActionList::instance().load(
            actionMessage,
            table("header\n炎,a1" + tail + "氷,a2" + tail + "雷,a3" + tail, "actions.dat")))
            << actionMessage.data();
    }
    void TearDown() override {
        ActionList::instance().clear();
        CsvFixture::TearDown();
    }

    bool load(const std::string& text) { return list.load(message, table(text)); }

    SpellList list;
    std::array<char, kLoadMessageSize> message{};
};

TEST_F(SpellListTest, RowsAndTheirMessages) {
    struct Case {
        const char* name;
        std::string text;
        bool ok;
        Loaded spells;
        const char* message;
    };
    const Case cases[] = {
        {"header only", kHeader, true, {}, ""},
        {"actions up to an empty cell",
         kHeader + "火,fire,a1,a2,,a3,\n",
         true,
         {{"fire", {"a1", "a2"}}},
         ""},
        {"no actions", kHeader + "無,none,,a1,\n", true, {{"none", {}}}, ""},
        {"actions up to a cell beginning with '-'",
         kHeader + "線,dash,a1,-,a2,\n負,neg,a3,-end,a1,\n",
         true,
         {{"dash", {"a1"}}, {"neg", {"a3"}}},
         ""},
        {"CRLF rows",
         kHeader + "火,fire,a1,,\r\n氷,ice,a2,,\r\n",
         true,
         {{"fire", {"a1"}}, {"ice", {"a2"}}},
         ""},
        {"the end of the data ends the last row",
         kHeader + "火,fire,a1,,\n雷,bolt,a3,a1",
         true,
         {{"fire", {"a1"}}, {"bolt", {"a3", "a1"}}},
         ""},
        {"a last row of key cells only",
         kHeader + "火,fire,a1,,\n空,empty",
         true,
         {{"fire", {"a1"}}, {"empty", {}}},
         ""},
        {"unknown action tag",
         kHeader + "火,fire,a1,,\n悪,bad,a2,zz,,\n",
         false,
         {{"fire", {"a1"}}},
         "存在しないアクションタグです :zz(悪) line2"},
        // Without the empty cell the row runs into the next one.
        {"a row ending at its last tag",
         kHeader + "走,run,a1\n次,next,a2,,\n",
         false,
         {},
         "存在しないアクションタグです :a1\n次(走) line1"},
        {"duplicate tag names both rows",
         kHeader + "一,s,a1,,\n二,s,a2,,\n",
         false,
         {{"s", {"a1"}}},
         "スペルタグが重複しています。二 以前は一でした"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        message.fill('\0');
        EXPECT_EQ(load(c.text), c.ok);
        EXPECT_EQ(contents(list), c.spells);
        EXPECT_STREQ(message.data(), c.message);
    }
}

TEST_F(SpellListTest, AMissingTableIsReportedButIsNoFailure) {
    ASSERT_TRUE(load(kHeader + "火,fire,a1,,\n"));
    EXPECT_TRUE(list.load(message, missing()));
    EXPECT_EQ(std::string(message.data()), "魔法系統リストファイルが見つかりません : " + missing());
    EXPECT_EQ(contents(list), (Loaded{{"fire", {"a1"}}}));  // nothing was read, nothing cleared
}

TEST_F(SpellListTest, SpellsBorrowTheirActionsFromTheActionList) {
    const std::size_t before = qel::poolById(qel::Pool::Resources)->stats().usedBlocks;
    ASSERT_TRUE(load(kHeader + "火,fire,a1,a3,,\n"));
    const Spell* fire = list.get("fire");
    ASSERT_NE(fire, nullptr);
    EXPECT_EQ(fire->classInfo().name, std::string("Spell"));
    EXPECT_EQ(fire->name(), "火");
    ASSERT_EQ(fire->size(), 2u);
    EXPECT_EQ(fire->action(0), ActionList::instance().get("a1"));
    EXPECT_EQ(fire->action(1), ActionList::instance().get("a3"));
    EXPECT_EQ(fire->action(2), nullptr);
    EXPECT_EQ(list.get(""), nullptr);
    EXPECT_EQ(list.get("ice"), nullptr);
    EXPECT_EQ(list.get(static_cast<const char*>(nullptr)), nullptr);
    EXPECT_FALSE(list.insert(nullptr));

    list.clear();  // the actions stay with their list
    EXPECT_EQ(qel::poolById(qel::Pool::Resources)->stats().usedBlocks, before);
    EXPECT_NE(ActionList::instance().get("a1"), nullptr);
    EXPECT_EQ(&SpellList::instance(), &SpellList::instance());
    EXPECT_EQ(SpellList::instance().classInfo().name, std::string("SpellList"));
}

}  // namespace
