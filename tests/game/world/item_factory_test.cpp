#include "game/world/item_factory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "tests/game/world/item_fixture.h"

namespace {

class ItemFactoryTest : public ItemFixture {
protected:
    ItemFactory& factory = ItemFactory::instance();
};

TEST_F(ItemFactoryTest, ReadsCellsColourOrNameTypeAndDefaults) {
    ASSERT_TRUE(loadItems(
        itemRow(1, {{C_NAME_TYPE, "0x00FF00"}, {C_MATERIAL, "iwZ"}, {C_SECOND_NAME, "二つ目"}}) +
        itemRow(2, {{C_NAME_TYPE, "potion"},
                    {C_CURSE, ""},
                    {C_PER_PICK, "x"},
                    {C_SELL, ""},
                    {C_RANGE, ""},
                    {C_HIT, ""}})))
        << message_.data();
    const ItemBase& one = kind(1);
    EXPECT_EQ(one.getItemName().getColor().argb(), 0xFF00FF00u);
    EXPECT_EQ(one.nameType(), "");
    EXPECT_EQ(one.material().val,
              ItemMaterial::mask(ItemMaterial::IRON) | ItemMaterial::mask(ItemMaterial::WOOD));
    EXPECT_EQ(one.getItemName().getMainName(), "item1");
    EXPECT_EQ(one.getItemName().getSecondMainName(), "二つ目");
    const ItemBase& two = kind(2);
    EXPECT_EQ(two.nameType(), "potion");
    EXPECT_EQ(two.getItemName().getSecondMainName(), "item2");  // "-" copies
    EXPECT_EQ(two.curse(), -1.0f);
    EXPECT_EQ(two.createPer(ItemBase::TABLE_PICK), -1);
    EXPECT_EQ(two.createPer(4), 0);
    EXPECT_EQ(two.sell(), -1.0f);
    EXPECT_EQ(two.range(), 1);
    EXPECT_EQ(two.hit(), 0);
    EXPECT_EQ(factory.getBase("item2"), &two);
    EXPECT_EQ(factory.getBaseIndex(0), &one);
    EXPECT_EQ(factory.getBaseIndex(2), nullptr);
    EXPECT_EQ(factory.getBaseIndex(-1), nullptr);
}

TEST_F(ItemFactoryTest, EatAndQuaffScaleBySatietyButEmptyStaysNone) {
    struct Case {
        const char* name;
        std::int32_t base, identity;
        std::int32_t eat, quaff;
    };
    const Case cases[] = {{"factor 0", 0, 0, 0, -1}, {"factor 100", 10, 10, 150, -1}};
    for (const Case& c : cases) {
        const qel::test::ScopedValue<std::int32_t> base(SATIETY_BASE, c.base);
        const qel::test::ScopedValue<std::int32_t> identity(SATIETY_IDENTITY, c.identity);
        ASSERT_TRUE(
            loadItems(itemRow(1, {{C_EAT, "1.5"}, {C_QUAFF, ""}}) + itemRow(2, {{C_EAT, "-3"}})))
            << message_.data();
        EXPECT_EQ(kind(1).eat(), c.eat) << c.name;
        EXPECT_EQ(kind(1).quaff(), c.quaff) << c.name;
        EXPECT_EQ(kind(2).eat(), c.base == 0 ? 0 : -1) << c.name << ": raised to -1";
    }
}

TEST_F(ItemFactoryTest, BadRowsAndRepeatedIdsFailWithTheirLine) {
    struct Case {
        const char* name;
        std::string rows;
        const char* message;
        std::size_t kept;
    };
    const Case cases[] = {
        {"id 0", itemRow(1) + itemRow(0), "アイテムデータが不正です line2 : item0", 1},
        {"id -3", itemRow(-3), "アイテムデータが不正です line1 : item-3", 0},
        {"repeated id", itemRow(4) + itemRow(4, {{C_NAME_ID, "again"}}),
         "アイテムデータのIDが重複しています : line2 : 4 again", 1},
        {"cut row", "5,0,short,", "アイテムデータが不正です line1 : short", 0},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(loadItems(c.rows)) << c.name;
        EXPECT_STREQ(message_.data(), c.message) << c.name;
        EXPECT_EQ(factory.size(), c.kept) << c.name;
    }
    EXPECT_FALSE(factory.loadFile(message_, scratch_.file("none.dat")));
    EXPECT_EQ(std::string(message_.data()).rfind("アイテムリストファイルが見つかりません : ", 0),
              0u);
}

TEST_F(ItemFactoryTest, NameTableSkipsBadAndRepeatedNumbers) {
    EXPECT_FALSE(ItemFactory::instance().loadNames(scratch_.file("none.dat")));
    ASSERT_TRUE(
        loadNames("1,potion,0x0000FF,赤い薬,-,\n"
                  "0,potion,0x0,zero,-,\n"
                  "-2,potion,0x0,negative,-,\n"
                  "x,potion,0x0,not a number,-,\n"
                  "1,potion,0x0,repeat,-,\n"
                  "2,scroll,0x00FF00,白い巻物,二,\n"));
    const ItemNameList& names = factory.getNameList();
    EXPECT_EQ(names.size(), 2u);
    ASSERT_EQ(names.master().at("potion").size(), 1u);
    EXPECT_EQ(names.master().at("potion")[0]->name, "赤い薬");
    EXPECT_EQ(names.master().at("potion")[0]->color.argb(), 0xFF0000FFu);
    EXPECT_EQ(names.find(2)->secondName, "二");
}

TEST_F(ItemFactoryTest, GroupDrawsFollowTablesAndWeights) {
    // Kind 1 only in the pick table, kind 2 only in the group table, kind 3
    // in group 2 of the group table.
    ASSERT_TRUE(loadItems(itemRow(1, {{C_PER_PICK, "5"}}) + itemRow(2, {{C_PER_GROUP, "5"}}) +
                          itemRow(3, {{C_PER_GROUP, "1"}, {C_GROUP, "2"}})))
        << message_.data();
    qel::SysRand::instance().seed(7);
    EXPECT_EQ(factory.createPick(), nullptr) << "no weight set yet";
    factory.setPickGroupPer(1, 1);
    factory.setGroupPer(0, 1, 3);
    factory.setGroupPer(0, 2, 0);
    factory.setGroupPer(0, 9, 5);  // no such group: nothing
    EXPECT_EQ(factory.groupTable(0)->count(9), 0u);
    for (int i = 0; i < 50; ++i) {
        ObjectItem* pick = factory.createPick();
        ASSERT_NE(pick, nullptr);
        EXPECT_EQ(pick->getBase()->id(), 1);
        ObjectItem* group = factory.createGroup(0);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->getBase()->id(), 2) << "group 2 weighs 0";
    }
    EXPECT_NE(factory.createGroupId(0, 2), nullptr) << "a named group is drawn whatever its weight";
    EXPECT_EQ(factory.createGroupId(0, 5), nullptr);
    const std::size_t owned = manager_->ownedCount();
    for (std::int64_t table : {4, -1}) {
        EXPECT_EQ(factory.createGroup(table), nullptr) << table;
        EXPECT_EQ(factory.createGroupId(table, 1), nullptr) << table;
        factory.setGroupPer(table, 1, 9);
    }
    EXPECT_EQ(manager_->ownedCount(), owned);
    factory.setGroupPer(0, 1, 0);
    factory.setGroupPer(0, 2, -4);
    EXPECT_EQ(factory.createGroup(0), nullptr) << "every group weighs 0";
}

TEST_F(ItemFactoryTest, CreatedItemsStandNowhereWithDrawnValues) {
    ASSERT_TRUE(loadItems(
        itemRow(1,
                {{C_MIN_STOCK, "5"}, {C_MAX_STOCK, "2"}, {C_MIN_LEVEL, "4"}, {C_MAX_LEVEL, "1"}}) +
        itemRow(2, {{C_TYPE, "1"}, {C_ENHANCE, "1"}, {C_MIN_LEVEL, "0"}, {C_MAX_LEVEL, "2"}}) +
        itemRow(3, {{C_TYPE, "1"},
                    {C_ENHANCE, "1"},
                    {C_CURSE, "100"},
                    {C_MAX_LEVEL, "3"},
                    {C_IDENTIFY, "2"},
                    {C_COUNT_UNKNOWN, "1"},
                    {C_BURST, "1"}})))
        << message_.data();
    qel::SysRand::instance().seed(11);
    ObjectItem* reversed = make(1);
    EXPECT_EQ(reversed->getStock(), 5) << "a reversed range gives its first value";
    EXPECT_EQ(reversed->getLevel(), 4);
    EXPECT_FALSE(reversed->isStanding());
    EXPECT_TRUE(cellList(0, 0).empty());
    std::set<int> levels;
    for (int i = 0; i < 300; ++i) levels.insert(make(2)->getLevel());
    EXPECT_EQ(levels, (std::set<int>{0, 1, 2})) << "a draw of 3 is lowered to 2";
    ObjectItem* cursed = make(3);
    EXPECT_TRUE(cursed->isCurse());
    EXPECT_FALSE(cursed->isBless());
    EXPECT_EQ(cursed->getLevel(), -1);
    EXPECT_TRUE(cursed->isStateIdentify());
    EXPECT_FALSE(cursed->isCountIdentify());
    EXPECT_TRUE(cursed->canBurst());
    ObjectItem* normal = ItemFactory::createNormal(kind(3), "名前");
    EXPECT_EQ(normal->getLevel(), 0);
    EXPECT_TRUE(normal->isNormal());
    EXPECT_STREQ(normal->getIdentityName(), "名前");
    EXPECT_EQ(factory.createId(99), nullptr);
    EXPECT_EQ(factory.createName("item1", "x")->getBase(), &kind(1));
}

TEST_F(ItemFactoryTest, ResetNameDealsFalseNamesUntilTheyRunOut) {
    ASSERT_TRUE(loadItems(itemRow(1, {{C_IDENTIFY, "0"}, {C_NAME_TYPE, "potion"}}) +
                          itemRow(2, {{C_IDENTIFY, "0"}, {C_NAME_TYPE, "potion"}}) +
                          itemRow(3, {{C_IDENTIFY, "0"}, {C_NAME_TYPE, "potion"}}) +
                          itemRow(4, {{C_IDENTIFY, "1"}, {C_NAME_TYPE, "potion"}})));
    ASSERT_TRUE(loadNames("1,potion,0x0000FF,赤い薬,-,\n2,potion,0x00FF00,緑の薬,緑,\n"));
    kind(4).getItemName().toAssumed("まえ");
    factory.resetName();
    std::set<std::string> dealt;
    for (int id : {1, 2}) {
        const ItemName& name = kind(id).getItemName();
        EXPECT_EQ(name.getState(), ItemName::UNKNOWN);
        dealt.insert(name.getFalseName());
    }
    EXPECT_EQ(dealt, (std::set<std::string>{"赤い薬", "緑の薬"}));
    EXPECT_STREQ(kind(3).getItemName().getName(), "???");
    EXPECT_EQ(kind(3).getItemName().getNumber(), 0);
    EXPECT_EQ(kind(4).getItemName().getState(), ItemName::ANALYZE);
    EXPECT_EQ(kind(4).getItemName().getAssumeName(), "");
}

TEST_F(ItemFactoryTest, NameSectionRoundTripsAtBothVersions) {
    ASSERT_TRUE(loadItems(itemRow(1, {{C_IDENTIFY, "0"}, {C_NAME_TYPE, "potion"}}) +
                          itemRow(2, {{C_IDENTIFY, "0"}, {C_NAME_TYPE, "potion"}})));
    ASSERT_TRUE(loadNames("1,potion,0x0000FF,赤い薬,赤,\n2,potion,0x00FF00,緑の薬,-,\n"));
    for (std::uint32_t version : {103u, 104u}) {
        factory.resetName();
        kind(2).getItemName().toAssumed("苦い");
        const ItemName saved1 = kind(1).getItemName();
        {
            VersionFile out(path_, qel::File::MODE_WRITE);
            out.setVersion(version);
            ASSERT_TRUE(factory.serialize(out));
            ASSERT_TRUE(out.close());
        }
        // Another game in between.
        kind(1).getItemName().setNumber(0);
        kind(1).getItemName().setFalseName("別");
        kind(1).getItemName().setSecondFalseName("別2");
        kind(2).getItemName().toAnalyze();
        VersionFile in(path_, qel::File::MODE_READ);
        in.setVersion(version);
        ASSERT_TRUE(factory.serialize(in)) << version;
        const ItemName& one = kind(1).getItemName();
        EXPECT_EQ(one.getState(), ItemName::UNKNOWN) << version;
        EXPECT_EQ(kind(2).getItemName().getState(), ItemName::ASSUMED) << version;
        EXPECT_EQ(kind(2).getItemName().getAssumeName(), "苦い") << version;
        if (version == 104) {
            EXPECT_EQ(one.getNumber(), saved1.getNumber());
            EXPECT_EQ(one.getFalseName(), saved1.getFalseName()) << "refreshed from the number";
            EXPECT_EQ(one.getSecondFalseName(), saved1.getSecondFalseName());
        } else {
            EXPECT_EQ(one.getNumber(), 0) << "older saves keep the number as it was";
            EXPECT_EQ(one.getFalseName(), saved1.getFalseName());
            EXPECT_EQ(one.getSecondFalseName(), "別2");
        }
    }
    // A cut section changes nothing.
    const std::string whole = readRaw();
    writeRaw(whole.substr(0, whole.size() - 6));
    kind(2).getItemName().toAnalyze();
    VersionFile in(path_, qel::File::MODE_READ);
    in.setVersion(104);
    std::string error;
    EXPECT_FALSE(factory.serialize(in, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(kind(2).getItemName().getState(), ItemName::ANALYZE);
}

}  // namespace
