// A language over the lists the game root keeps: item texts (the second
// name "-" copying the new main name, names cut on a whole character),
// unidentified names by type and number (an unknown type changes nothing),
// monster names, and the anima taking their item's new texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/file/file.h"
#include "game/world/anima_list.h"
#include "game/world/localize.h"
#include "game/world/npc_factory.h"
#include "tests/game/world/item_fixture.h"

namespace {

namespace fs = std::filesystem;

class LocalizeWorldTest : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        old_ = fs::current_path();
        fs::current_path(scratch_.path());
        fs::create_directories("data/locale/en");
    }
    void TearDown() override {
        fs::current_path(old_);
        AnimaList::instance().clear();
        NpcFactory::instance().clear();
        ItemFixture::TearDown();
    }
    static void language(const std::string& name, const std::string& text) {
        writeScrambledTable("data/locale/en/" + name, text);
    }
    fs::path old_;
};

TEST_F(LocalizeWorldTest, ItemsNamesMonstersAndAnima) {
    ASSERT_TRUE(loadItems(itemRow(1, {{C_NAME_ID, "薬草"}}) +
                          itemRow(2, {{C_NAME_ID, "巻物"}, {C_NAME_TYPE, "scroll"}})));
    ASSERT_TRUE(loadNames("1,scroll,0xFFFFFF,赤い巻物,-,\n2,scroll,0xFFFFFF,青い巻物,-,\n"));
    const std::string monsters = scratch_.file("m.dat");
    std::string row = "7,0,slime,1,A,0x00FF00,b,m,1.0,";
    for (int c = 0; c < 9; ++c) row += "1,";
    row += "1d2,0,0,";
    for (int c = 0; c < 29; ++c) row += "0,";
    row += ",1,0,o,0,0,0,0,-,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,-,-,-,-,\n";
    writeScrambledTable(monsters, "header\n" + row);
    ASSERT_TRUE(NpcFactory::instance().loadFile(message_, monsters)) << message_.data();
    const std::string anima = scratch_.file("a.dat");
    writeScrambledTable(anima, "id,no,tag,rarity,level,drop,select\n1,3,herb,1,1,1,1,\n");
    ASSERT_TRUE(AnimaList::instance().load(message_, anima)) << message_.data();

    // 40 bytes of two-byte characters: cut to 32 on a character.
    std::string sjis;
    for (int i = 0; i < 20; ++i) sjis += "\x82\xA0";
    language("item.csv",
             "id,name,second,denom,explain\n1,Herb,-,pieces,A green herb,\n"
             "2," +
                 sjis + ",Scrolls,sheets,Paper,\n99,Nothing,-,x,y,\n");
    language("name.csv",
             "number,type,name,second\n2,scroll,Blue scroll,-,\n"
             "1,wand,Oak wand,-,\n");
    language("mons.csv", "id,name\n7,Slime,\n8,Ghost,\n");

    Localize localize;
    ASSERT_TRUE(localize.exec_data("en"));
    ItemBase& herb = kind(1);
    EXPECT_EQ(herb.getItemName().getMainName(), "Herb");
    EXPECT_EQ(herb.getItemName().getSecondMainName(), "Herb") << "'-' copies the new name";
    EXPECT_EQ(herb.denom(), "pieces");
    EXPECT_EQ(herb.explain(), "A green herb");
    EXPECT_EQ(herb.nameId(), "薬草") << "the name key stays";
    EXPECT_EQ(kind(2).getItemName().getMainName(), sjis.substr(0, 32));
    EXPECT_EQ(kind(2).getItemName().getSecondMainName(), "Scrolls");

    const auto& scrolls = ItemFactory::instance().getNameList().master().at("scroll");
    EXPECT_EQ(scrolls[0]->name, "赤い巻物") << "number 1 not in the table";
    EXPECT_EQ(scrolls[1]->name, "Blue scroll");
    EXPECT_TRUE(ItemFactory::instance().getNameList().master().at("wand").empty())
        << "an unknown type finds nothing";

    EXPECT_EQ(NpcFactory::instance().getBaseId(7)->name, "Slime");
    EXPECT_EQ(NpcFactory::instance().getBaseId(7)->nameId, "slime");
    EXPECT_EQ(AnimaList::instance().get(1)->name(), "Herb") << "the anima retook its item's text";
}

TEST_F(LocalizeWorldTest, MissingTablesChangeNothing) {
    ASSERT_TRUE(loadItems(itemRow(1)));
    Localize localize;
    EXPECT_TRUE(localize.exec_data("en"));
    EXPECT_EQ(kind(1).getItemName().getMainName(), "item1");
}

}  // namespace
