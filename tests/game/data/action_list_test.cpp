#include "game/data/action_list.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "game/data/action.h"
#include "tests/game/data/csv_fixture.h"

namespace {

const std::string kHeader =
    "name,tag,func,type,target,ai,range,mana,ap,difficulty,mouse,eyes,msg,"
    "p0,p1,p2,p3,p4,p5,p6,p7,explain,\n";

// A row whose cells after name and tag are plain and valid.
std::string row(const std::string& name, const std::string& tag) {
    return name + "," + tag + ",Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp,\n";
}

std::vector<std::string> tags(const ActionList& list) {
    std::vector<std::string> out;
    for (const auto& [tag, action] : list.actions()) out.push_back(tag);
    return out;
}

class ActionListTest : public CsvFixture {
protected:
    bool load(const std::string& text) { return list.load(message, table(text)); }

    ActionList list;
    std::array<char, kLoadMessageSize> message{};
};

TEST_F(ActionListTest, ReadsEveryCellOfARow) {
    ASSERT_TRUE(load(kHeader +
                     "火の玉,fireball,ActFire,2,0x13,attack,5,10,100,3,1,0,%sは火を放った,"
                     "1.5,0.1,,abc,-2,7x,,,炎を放つ,extra,cells\r\n"
                     "空欄,blank,,,3,,,0,,,,,,,,,,,,,,,\n"))
        << message.data();
    ASSERT_EQ(list.size(), 2u);

    const Action* fire = list.get("fireball");
    ASSERT_NE(fire, nullptr);
    EXPECT_EQ(fire->classInfo().name, std::string("Action"));
    EXPECT_EQ(fire->name(), "火の玉");
    EXPECT_EQ(fire->tag(), "fireball");
    EXPECT_EQ(fire->luaFunc(), "ActFire");
    EXPECT_EQ(fire->type(), Action::MAGIC_BLACK);
    EXPECT_EQ(fire->target().val, 0x13u);
    EXPECT_TRUE(fire->target().test(TARGET_FLAG::DIR));
    EXPECT_TRUE(fire->target().test(TARGET_FLAG::POINT));
    EXPECT_FALSE(fire->target().test(TARGET_FLAG::ITEM1));
    EXPECT_TRUE(fire->target().test(TARGET_FLAG::LOCK));
    EXPECT_EQ(fire->aiType(), "attack");
    EXPECT_EQ(fire->range(), 5);
    EXPECT_EQ(fire->mana(), 10);
    EXPECT_EQ(fire->ap(), 100);
    EXPECT_EQ(fire->difficulty(), 3);
    EXPECT_TRUE(fire->useMouse());
    EXPECT_FALSE(fire->useEyes());
    EXPECT_EQ(fire->msg(), "%sは火を放った");
    const char* const strs[] = {"1.5", "0.1", "", "abc", "-2", "7x", "", ""};
    const float values[] = {1.5f, 0.1f, 0.0f, 0.0f, -2.0f, 7.0f, 0.0f, 0.0f};
    for (int i = 0; i < Action::PARAM_MAX; ++i) {
        EXPECT_EQ(fire->paramStr(i), strs[i]) << i;
        EXPECT_EQ(fire->param(i), values[i]) << i;
    }
    EXPECT_EQ(fire->paramStr(8), "");
    EXPECT_EQ(fire->param(-1), 0.0f);
    EXPECT_EQ(fire->explain(), "炎を放つ");

    // Empty number cells take -1, the cell 0 stays 0; a target without its
    // 'x' sets every bit.
    const Action* blank = list.get("blank");
    ASSERT_NE(blank, nullptr);
    EXPECT_EQ(blank->type(), -1);
    EXPECT_EQ(blank->target().val, 0xFFFFFFFFu);
    EXPECT_EQ(blank->range(), -1);
    EXPECT_EQ(blank->mana(), 0);
    EXPECT_EQ(blank->ap(), -1);
    EXPECT_EQ(blank->difficulty(), -1);
    EXPECT_FALSE(blank->useMouse());
    EXPECT_EQ(blank->explain(), "");

    EXPECT_EQ(list.get("unknown"), nullptr);
    EXPECT_EQ(list.get(""), nullptr);
    EXPECT_EQ(list.get(static_cast<const char*>(nullptr)), nullptr);
}

TEST_F(ActionListTest, RowsAndTheirMessages) {
    struct Case {
        const char* name;
        std::string text;
        bool ok;
        std::vector<std::string> tags;
        const char* message;
    };
    const Case cases[] = {
        {"header only", kHeader, true, {}, ""},
        {"empty table", "", true, {}, ""},
        {"tag order, not row order", kHeader + row("B", "b") + row("A", "a"), true, {"a", "b"}, ""},
        {"same name, different tags",
         kHeader + row("同名", "x") + row("同名", "y"),
         true,
         {"x", "y"},
         ""},
        {"last row without a line end",
         kHeader + row("A", "a") + "B,b,Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp,",
         true,
         {"a", "b"},
         ""},
        {"duplicate tag names both rows",
         kHeader + row("一つ目", "a") + row("B", "b") + row("二つ目", "a"),
         false,
         {"a", "b"},
         "アクションタグが重複しています。二つ目 以前は一つ目でした"},
        {"last row without the ',' after its explanation",
         kHeader + row("A", "a") + "壊れ,broken,Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp",
         false,
         {"a"},
         "アクションデータが不正です。 line2 : 壊れ"},
        {"last row cut short",
         kHeader + row("A", "a") + row("B", "b") + "途中,cut,Act,0",
         false,
         {"a", "b"},
         "アクションデータが不正です。 line3 : 途中"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        message.fill('\0');
        EXPECT_EQ(load(c.text), c.ok);
        EXPECT_EQ(tags(list), c.tags);
        EXPECT_STREQ(message.data(), c.message);
    }
}

TEST_F(ActionListTest, ReloadReplacesButAMissingTableKeepsTheList) {
    ASSERT_TRUE(load(kHeader + row("A", "a")));
    ASSERT_TRUE(load(kHeader + row("B", "b")));
    EXPECT_EQ(tags(list), std::vector<std::string>{"b"});

    EXPECT_FALSE(list.load(message, missing()));
    EXPECT_EQ(std::string(message.data()),
              "アクションリストファイルが見つかりません : " + missing());
    EXPECT_EQ(tags(list), std::vector<std::string>{"b"});
}

TEST_F(ActionListTest, InsertIsUniqueByTagAndTheListOwnsItsRecords) {
    const std::size_t before = qel::poolById(qel::Pool::Resources)->stats().usedBlocks;
    ASSERT_TRUE(load(kHeader + row("A", "a") + row("B", "b")));
    CsvReader reader(table("Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp,", "one.dat"));
    Action* again = new Action();
    ASSERT_TRUE(again->parse(reader, "X", "a"));
    EXPECT_FALSE(list.insert(again));  // "a" is taken: nothing changes
    EXPECT_EQ(list.get("a")->name(), "A");
    EXPECT_FALSE(list.insert(nullptr));
    delete again;
    list.clear();
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(qel::poolById(qel::Pool::Resources)->stats().usedBlocks, before);
}

TEST(ActionListSingletonTest, OneListMadeOnFirstUse) {
    EXPECT_EQ(&ActionList::instance(), &ActionList::instance());
    EXPECT_EQ(ActionList::instance().classInfo().name, std::string("ActionList"));
}

}  // namespace
