// The race and class tables, the making of a player from them, a race's
// and a class's upgrade, and the end of the game when a table is missing.
#include "game/shell/opening_param.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/system/sys_main.h"
#include "game/shell/boot_loader.h"
#include "game/shell/settings.h"
#include "game/world/class_base.h"
#include "game/world/game_data.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/race_base.h"
#include "game/world/world.h"
#include "tests/game/world/item_fixture.h"
#include "tests/support/message_box_recorder.h"

namespace {

constexpr int kStatusCells = 38;

// A race row (class rows leave out `alter`, take a base id for the race
// word and have no equipment cells). Status cells are "0" unless set.
struct Row {
    std::string id = "1";
    std::string name = "human";
    std::string chip = "0x40";
    std::string color = "0x102030";
    std::string word = "5";  // race word (race) or base id (class)
    std::vector<std::string> status = std::vector<std::string>(kStatusCells, "0");
    std::vector<std::string> equip = std::vector<std::string>(RaceBase::kEquipCells, "1");
    std::vector<std::string> skills;  // written as given, then "-"
    std::string expression = "about";

    Row& cell(int index, std::string text) {
        status.at(static_cast<std::size_t>(index)) = std::move(text);
        return *this;
    }
    std::string text(bool race) const {
        std::string out = id + "," + name + ",unused," + name.substr(0, 2) + ",1,";
        out += race ? "1," + chip + "," + color + "," + word + ","
                    : word + "," + chip + "," + color + ",";
        for (const std::string& s : status) out += s + ",";
        if (race)
            for (const std::string& e : equip) out += e + ",";
        for (const std::string& s : skills) out += s + ",";
        return out + "-," + expression + ",\n";
    }
};

std::string table(const std::vector<Row>& rows, bool race) {
    std::string text = "header\n";
    for (const Row& r : rows) text += r.text(race);
    return text;
}

std::string format(const char* pattern, int line, const char* name) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, line, name);
    return text;
}

class OpeningParamTest : public ItemFixture {
protected:
    bool races(const std::vector<Row>& rows) {
        return param_.readRaceFile(put("races.dat", table(rows, true)));
    }
    bool classes(const std::vector<Row>& rows) {
        return param_.readClassFile(put("classes.dat", table(rows, false)));
    }
    std::string put(const char* name, const std::string& text) {
        const std::string path = scratch_.file(name);
        writeScrambledTable(path, text);
        return path;
    }
    int players() const {
        int count = 0;
        for (ObjectBase* o : *manager_->getLinkAllRoot())
            if (o->isKindOf(ObjectPlayer::staticClassInfo())) ++count;
        return count;
    }

    OpeningParam param_;
};

TEST_F(OpeningParamTest, RowsFillEveryFieldAsTheCellsSay) {
    Row human;
    human.chip = "A";
    human.cell(0, "5").cell(1, "").cell(10, "7").cell(12, "9").cell(19, "-3");
    human.equip = {"1", "0", "1", "0", "0", "0", "0", "0", "0", "0", "2"};
    human.skills = {"Swim", "", "Fly"};
    Row rabby;
    rabby.id = "x";
    rabby.name = "rabby";
    rabby.chip = "0x2F";
    ASSERT_TRUE(races({human, rabby})) << param_.message();
    ASSERT_EQ(param_.getRaceNum(), 2);
    const RaceBase& r = *param_.getRace(0);
    EXPECT_EQ(r.id(), 1);
    EXPECT_EQ(r.name(), "human");
    EXPECT_EQ(r.nameMini(), "hu");
    EXPECT_TRUE(r.isStart());
    EXPECT_TRUE(r.isAlter());
    EXPECT_EQ(r.chip(), (Point{1, 4}));
    EXPECT_EQ(r.color().argb(), 0xFF102030u);
    EXPECT_EQ(r.raceValue(), 5);
    EXPECT_EQ(r.status()[Status::LIFE], 5);
    EXPECT_EQ(r.status()[Status::STR], -1) << "an empty cell is -1";
    for (int figure : {Status::OFFENSE, Status::FIRE}) EXPECT_EQ(r.status()[figure], 7);
    for (int figure : {Status::HIT, Status::HIT_SUB, Status::HIT_FIRE})
        EXPECT_EQ(r.status()[figure], 9);
    EXPECT_EQ(r.status()[Status::FLOAT], -3);
    EXPECT_EQ(r.status()[Status::MANA], 0) << "no cell names it";
    EXPECT_EQ(r.status()[Status::AUTO_HEAL_RATIO], 100);
    EXPECT_EQ(r.status()[Status::AUTO_MANA_RATIO], 100);
    EXPECT_EQ(r.equipFlag().word(), 0b100'0000'0101u);
    EXPECT_EQ(r.skills(), (std::vector<std::string>{"Swim", "Fly"}));
    EXPECT_EQ(r.expression(), "about");
    EXPECT_EQ(param_.getRace(1)->id(), -1) << "a key cell that is not a number";
    EXPECT_EQ(param_.getRace(1)->chip(), (Point{15, 2}));
    EXPECT_EQ(param_.getRace(2), nullptr);
    EXPECT_EQ(param_.getRace(-1), nullptr);

    Row mage;
    mage.name = "mage";
    mage.word = "";
    mage.cell(37, "11");
    ASSERT_TRUE(classes({mage})) << param_.message();
    const ClassBase& k = *param_.getClass(0);
    EXPECT_EQ(k.baseId(), -1);
    EXPECT_EQ(k.status()[Status::RES_STONE], 11);
    EXPECT_EQ(k.chip(), (Point{0, 4}));
    EXPECT_EQ(k.skill(0), nullptr);

    param_.release();
    EXPECT_EQ(param_.getRaceNum(), 0);
    EXPECT_EQ(param_.getClassNum(), 0);
}

TEST_F(OpeningParamTest, TheChosenLanguageRenamesTheRacesAndClassesItsTablesName) {
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(scratch_.path());
    std::filesystem::create_directories("data/locale/en");
    writeScrambledTable("data/locale/en/race.csv",
                        "id,name,nameMini,expression\n1,Human,Hu,Plains folk,\n9,Nobody,N,-,\n"
                        "2,Cut");
    writeScrambledTable("data/locale/en/class.csv",
                        "id,name,nameMini,expression\n1,Mage,Ma,Casts spells,\n");
    Row human, rabby;
    rabby.id = "2";
    rabby.name = "rabby";
    Row mage;
    mage.name = "mage";
    const std::string previous = LOCALE;
    for (const char* language : {"en", "", "fr"}) {
        SCOPED_TRACE(language);
        LOCALE = language;
        ASSERT_TRUE(races({human, rabby})) << param_.message();
        ASSERT_TRUE(classes({mage})) << param_.message();
        const bool english = LOCALE == "en";
        EXPECT_EQ(param_.getRace(0)->name(), english ? "Human" : "human");
        EXPECT_EQ(param_.getRace(0)->nameMini(), english ? "Hu" : "hu");
        EXPECT_EQ(param_.getRace(0)->expression(), english ? "Plains folk" : "about");
        EXPECT_EQ(param_.getRace(1)->name(), "rabby") << "a row cut short changes nothing";
        EXPECT_EQ(param_.getClass(0)->name(), english ? "Mage" : "mage");
        EXPECT_EQ(param_.getClass(0)->expression(), english ? "Casts spells" : "about");
    }
    LOCALE = previous;
    std::filesystem::current_path(old);
}

TEST_F(OpeningParamTest, BadTablesAreReportedAndKeepNothing) {
    Row good;
    std::string cutRace = table({good}, true) + "2,short";  // the data ends in the row
    std::string cutClass = table({good}, false) + "2,short";
    EXPECT_FALSE(param_.readRaceFile(put("r.dat", cutRace)));
    EXPECT_EQ(param_.message(), format(OpeningParam::kBadRace, 2, "short"));
    EXPECT_EQ(param_.getRaceNum(), 0);
    EXPECT_FALSE(param_.readClassFile(put("c.dat", cutClass)));
    EXPECT_EQ(param_.message(), format(OpeningParam::kBadClass, 2, "short"));
    EXPECT_EQ(param_.getClassNum(), 0);

    EXPECT_TRUE(param_.readRaceFile(put("h.dat", "header only\n")));
    EXPECT_EQ(param_.getRaceNum(), 0);

    const std::string missing = scratch_.file("none.dat");
    char expected[256];
    EXPECT_FALSE(param_.readRaceFile(missing));
    std::snprintf(expected, sizeof expected, OpeningParam::kRaceNotFound, missing.c_str());
    EXPECT_STREQ(param_.message(), expected);
    EXPECT_FALSE(param_.readClassFile(missing));
    std::snprintf(expected, sizeof expected, OpeningParam::kClassNotFound, missing.c_str());
    EXPECT_STREQ(param_.message(), expected);
}

TEST_F(OpeningParamTest, AMissingTableEndsTheGameInOrder) {
    qel::test::MessageBoxRecorder boxes;
    qel::SysMain& app = qel::SysMain::instance();
    EXPECT_FALSE(param_.loadClassFile(scratch_.file("none.dat")));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, BootLoader::kDataFailureText);
    EXPECT_EQ(boxes.boxes()[0].caption, BootLoader::kDataFailureCaption);
    EXPECT_EQ(app.exitCode(), -1);
    EXPECT_TRUE(app.isQuit());
    app.quitFlag() = false;
    app.setExitCode(0);
}

TEST_F(OpeningParamTest, APlayerIsMadeFromTheStartFiguresTheRaceAndTheClass) {
    Row zero;
    zero.chip = "0x00";
    zero.word = "0";
    Row race;
    race.word = "9";
    race.chip = "0x23";
    race.equip = {"1", "1", "0", "1", "0", "1", "1", "1", "1", "1", "1"};  // no two-hand, no bow
    race.skills = {"Swim"};
    race.cell(0, "3").cell(19, "3");  // LIFE, FLOAT
    Row cls;
    cls.id = "4";
    cls.name = "mage";
    cls.color = "0xABCDEF";
    cls.chip = "0x31";
    cls.skills = {"Fire"};
    cls.cell(0, "4").cell(19, "-5");
    Row zeroClass = zero;
    zeroClass.chip = "0x40";
    ASSERT_TRUE(races({zero, race}));
    ASSERT_TRUE(classes({zeroClass, cls}));

    ObjectPlayer* plain = param_.createPlayer("a", 0, 0, 0);
    ASSERT_NE(plain, nullptr);
    for (int figure = 0; figure < Status::TYPE_MAX; ++figure) {
        int expected = 0;
        if (figure <= Status::CHA) expected = 12;
        if (figure == Status::LAND || figure == Status::WATER) expected = 1;
        if (figure == Status::AUTO_HEAL_RATIO || figure == Status::AUTO_MANA_RATIO) expected = 100;
        EXPECT_EQ(plain->getBaseStatus(figure), expected) << Status::NAMES[figure];
    }
    EXPECT_EQ(plain->getChip(), (Point{0, 4})) << "a race without a picture takes the class's";

    ObjectPlayer* hero = param_.createPlayer("hero", 2, 1, 1);
    ASSERT_NE(hero, nullptr);
    EXPECT_EQ(players(), 1) << "making a player removes the one before";
    EXPECT_EQ(GameData::instance().getPlayer(), hero);
    EXPECT_EQ(hero->getBaseStatus(Status::LIFE), 12 + 3 + 4);
    EXPECT_EQ(hero->getBaseStatus(Status::FLOAT), -5) << "the larger magnitude stays";
    EXPECT_EQ(hero->getBaseStatus(Status::AUTO_HEAL_RATIO), 100);
    EXPECT_EQ(hero->getChip(), (Point{3, 2}));
    EXPECT_EQ(hero->getRace().word(), 9u);
    EXPECT_EQ(hero->getSex(), 2);
    EXPECT_STREQ(hero->getName(), "hero");
    EXPECT_EQ(hero->getCharaRace(), "human");
    EXPECT_EQ(hero->getCharaClass(), "mage");
    EXPECT_EQ(hero->getCharaClassId(), 4);
    EXPECT_EQ(hero->ObjectBase::getColor().argb(), 0xFFABCDEFu);
    EXPECT_EQ(hero->getEquipFlag().word(), 0b111'1110'1011u);
    EXPECT_TRUE(hero->checkEnableSkill("Swim") > 0);
    EXPECT_TRUE(hero->checkEnableSkill("Fire") > 0);

    ASSERT_TRUE(loadItems(itemRow(1, {{C_TYPE, "1"}}) + itemRow(2, {{C_TYPE, "2"}}) +
                          itemRow(3, {{C_TYPE, "5"}}) + itemRow(4, {{C_TYPE, "6"}})));
    const std::pair<int, bool> kinds[] = {{1, true}, {2, false}, {3, false}, {4, false}};
    for (const auto& [id, allowed] : kinds) {
        ObjectItem* item = make(id);
        EXPECT_EQ(hero->checkCanEquip(item), allowed) << "kind " << id;
    }

    const std::uint32_t nextId = ObjectBase::GetNextId();
    EXPECT_EQ(param_.createPlayer("x", 0, -1, 0), nullptr);
    EXPECT_EQ(param_.createPlayer("x", 0, 0, 2), nullptr);
    EXPECT_EQ(param_.createPlayer("x", 0, 2, 0), nullptr);
    EXPECT_EQ(ObjectBase::GetNextId(), nextId) << "nothing was made";
    EXPECT_EQ(GameData::instance().getPlayer(), hero);
    ObjectPlayer* unnamed = param_.createPlayer(nullptr, 0, 0, 0);
    ASSERT_NE(unnamed, nullptr);
    EXPECT_STREQ(unnamed->getName(), "");
}

TEST_F(OpeningParamTest, UpgradesAddARaceOrAClassToAPlayer) {
    Row race;
    race.name = "angel";
    race.chip = "0x12";
    race.equip = {"1", "0", "1", "1", "1", "1", "1", "1", "1", "1", "1"};
    race.skills = {"Fly"};
    race.cell(1, "2");
    Row cls;
    cls.name = "priest";
    cls.color = "0x00FF00";
    cls.cell(1, "3");
    ASSERT_TRUE(races({race}));
    ASSERT_TRUE(classes({cls}));
    auto* player = new ObjectPlayer("p", Point(0, 0), Color::WHITE, Race(), Status());
    player->setEquipFlag(EquipFlag(0b11));
    player->setUpdate(false);
    const int str = player->getBaseStatus(Status::STR);
    EXPECT_TRUE(param_.getRace(0)->upgrade(player));
    EXPECT_EQ(player->getEquipFlag().word(), 0b01u);
    EXPECT_EQ(player->getBaseStatus(Status::STR), str + 2);
    EXPECT_EQ(player->getBaseStatus(Status::AUTO_HEAL_RATIO), 100) << "not added";
    EXPECT_EQ(player->getChip(), (Point{2, 1}));
    EXPECT_EQ(player->getCharaRace(), "angel");
    EXPECT_TRUE(player->getUpdate());
    EXPECT_TRUE(player->checkEnableSkill("Fly") > 0);
    EXPECT_TRUE(param_.getClass(0)->upgrade(player));
    EXPECT_EQ(player->getBaseStatus(Status::STR), str + 5);
    EXPECT_EQ(player->ObjectBase::getColor().argb(), 0xFF00FF00u);
    EXPECT_EQ(player->getCharaClass(), "priest");
    EXPECT_FALSE(param_.getRace(0)->upgrade(nullptr));
    EXPECT_FALSE(param_.getClass(0)->upgrade(nullptr));
}

}  // namespace

TEST_F(OpeningParamTest, ANewAdventureKeepsNoAllyOrExtinctKindOfTheLastOne) {
    World& world = *GameData::instance().getWorld();
    ObjectNpc ally;
    ASSERT_TRUE(world.getFriendData().addFriend(&ally));
    world.addGenocide(7);
    param_.beginNewGame();
    // Ids start again at 1, so an old ally's id would name a stranger.
    EXPECT_EQ(world.getFriendData().getFriendNum(), 0);
    EXPECT_TRUE(world.genocideSet().empty());
}
