// The slot files: a built world saved and loaded back whole, the keep
// levels, versions, damaged files of every length, the grouped commit and
// its recovery, character and floor files, the slot folder and the log.
#include "game/shell/save/save_data.h"

#include <gtest/gtest.h>

#include <map>

#include "game/shell/save/slot_commit.h"
#include "game/world/object_linker.h"
#include "tests/game/shell/save/save_fixture.h"

namespace {

class SaveDataTest : public SaveFixture {
protected:
    std::size_t boxesBefore_ = 0;
};

TEST_F(SaveDataTest, AGameSavedLoadsBackWhole) {
    buildWorld();
    const std::uint32_t nextId = ObjectBase::GetNextId();
    const std::string before = describe();
    ASSERT_TRUE(SaveData(1).saveGame()) << (boxes_.boxes().empty() ? "" : boxes_.boxes()[0].text);
    EXPECT_TRUE(std::filesystem::exists("save/data01/player.dat"));
    EXPECT_TRUE(std::filesystem::exists("save/data01/cave002.dat"));
    EXPECT_FALSE(std::filesystem::exists("save/data01/commit.lst"));

    // Everything changes before the load brings it back.
    manager_->clearAll();
    world().init();
    world().getFriendData().clear();
    ObjectBase::SetNextId(5000);
    std::string message;
    ASSERT_TRUE(SaveData(1).loadGame(message)) << message;
    EXPECT_EQ(describe(), before);
    EXPECT_EQ(ObjectBase::GetNextId(), nextId);
    EXPECT_EQ(ObjectLinker::instance().size(), 0u);
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(SaveDataTest, KeepLevelsChooseWhatTheGameFileHolds) {
    buildWorld();
    ObjectNpc* stranger = npc(2, 4, 5);  // a plain NPC beside the player
    ObjectNpc* foe = npc(1, 4, 4);       // an enemy beside the player
    ObjectNpc* pal = dynamic_cast<ObjectNpc*>(manager_->getPosChara(6, 5));
    ObjectNpc* leashed = dynamic_cast<ObjectNpc*>(manager_->getPosChara(30, 20));
    ASSERT_TRUE(pal && leashed);
    struct Row {
        int level;
        bool pal, leashed, foe;
    };
    const Row rows[] = {{0, false, false, false},
                        {1, false, true, false},
                        {2, true, true, false},
                        {3, true, true, true}};
    for (const Row& row : rows) {
        SaveData::removeUnkeepObject(row.level);
        EXPECT_TRUE(GameData::instance().getPlayer()->isKeep());
        EXPECT_EQ(pal->isKeep(), row.pal) << "level " << row.level;
        EXPECT_EQ(leashed->isKeep(), row.leashed) << "level " << row.level;
        EXPECT_EQ(foe->isKeep(), row.foe) << "level " << row.level;
        EXPECT_FALSE(stranger->isKeep()) << "level " << row.level;
    }
    // What the player carries goes with it, bag contents too.
    for (LinkList<ObjectItem>* n = GameData::instance().getPlayer()->getItemLink(); n;
         n = n->next) {
        ASSERT_TRUE(n->obj->isKeep());
        for (LinkList<ObjectItem>* c = n->obj->getInventory(); c; c = c->next)
            EXPECT_TRUE(c->obj->isKeep());
    }
    // An object kept regardless stays at every level.
    ObjectItem* relic = make(2);
    relic->setPos(45, 25);
    relic->setExceptionKeep(true);
    SaveData::removeUnkeepObject(0);
    EXPECT_TRUE(relic->isKeep());
}

TEST_F(SaveDataTest, VersionsAreCheckedBeforeAnythingChanges) {
    buildWorld();
    ASSERT_TRUE(SaveData(1).saveGame());
    const std::string good = plain("save/data01/player.dat");
    struct Row {
        std::uint32_t version;
        const char* message;
    };
    const Row rows[] = {
        {103,
         "ゲームデータのファイルバージョンが未対応です セーブファイルバージョン:1.03 "
         "現行ファイルバージョン:1.09"},
        {110,
         "ゲームデータのファイルバージョンが未対応です セーブファイルバージョン:1.10 "
         "現行ファイルバージョン:1.09"},
    };
    const std::string before = describe();
    for (const Row& row : rows) {
        std::string bytes = good;
        std::memcpy(bytes.data(), &row.version, 4);
        putPlain("save/data01/player.dat", bytes);
        std::string message;
        EXPECT_FALSE(SaveData(1).loadGame(message));
        EXPECT_EQ(message, row.message);
        EXPECT_EQ(describe(), before) << "a refused version removes nothing";
    }
    std::string message;
    EXPECT_FALSE(SaveData(7).loadGame(message));
    EXPECT_EQ(message, "ゲームデータファイルのオープンに失敗 : save/data07/player.dat");

    // A newer floor or character file is refused with its box.
    putPlain("save/data01/player.dat", good);
    ObjectPlayer* hero = GameData::instance().getPlayer();
    ASSERT_NE(hero, nullptr);
    const std::uint32_t heroId = hero->getId();
    ASSERT_TRUE(SaveData(1).saveCharacter(hero));
    const std::string charaPath = "save/data01/chara" +
                                  std::string(8 - std::to_string(heroId).size(), '0') +
                                  std::to_string(heroId) + ".dat";
    for (const char* path : {"save/data01/cave002.dat", charaPath.c_str()}) {
        std::string bytes = plain(path);
        const std::uint32_t newer = 110;
        std::memcpy(bytes.data(), &newer, 4);
        putPlain(path, bytes);
    }
    EXPECT_EQ(SaveData(1).loadDungeon(SaveData::KEEP_ALL, "cave", 2), -1);
    EXPECT_EQ(boxes_.boxes().back().text,
              "ダンジョンデータのファイルバージョンが未対応です セーブファイルバージョン:1.10 "
              "現行ファイルバージョン:1.09");
    EXPECT_EQ(SaveData(1).loadCharacter(heroId + 500), nullptr);
    EXPECT_EQ(SaveData(1).loadCharacter(heroId), nullptr);
    EXPECT_EQ(boxes_.boxes().back().text,
              "キャラクターデータのファイルバージョンが未対応です セーブファイルバージョン:1.10 "
              "現行ファイルバージョン:1.09");
    boxesBefore_ = boxes_.boxes().size();

    // Saving while the program's own version is one loading would refuse.
    ASSERT_TRUE(SaveData(1).saveGame());
    putPlain("save/data01/player.dat", good);
    const auto tree = saveTree();
    FILE_VERSION = 100;
    EXPECT_FALSE(SaveData(1).saveGame());
    EXPECT_EQ(saveTree(), tree);
    ASSERT_EQ(boxes_.boxes().size(), boxesBefore_ + 1);
    EXPECT_EQ(boxes_.boxes().back().text,
              "ゲームデータを保存できません 現行ファイルバージョン:1.00");
    EXPECT_EQ(boxes_.boxes().back().caption, "エラー");
}

// Every cut of the player file and of the floor file fails the load with
// the section's message, removes what was read and leaves the files alone.
TEST_F(SaveDataTest, DamagedFilesFailWholeAtEveryLength) {
    buildWorld();
    ASSERT_TRUE(SaveData(1).saveGame());
    ASSERT_TRUE(SaveData::saveGlobal());
    const std::string player = plain("save/data01/player.dat");
    const std::string floor = plain("save/data01/cave002.dat");
    const std::set<std::string> messages = {"オブジェクトデータの読込に失敗",
                                            "スクリプトゲームデータの読込に失敗",
                                            "ダンジョンデータの読込に失敗"};
    struct Target {
        const char* path;
        const std::string& bytes;
    };
    for (const Target& target :
         {Target{"save/data01/player.dat", player}, Target{"save/data01/cave002.dat", floor}}) {
        // Every length, except inside the floor's 1,500 cells (every 61st).
        const std::size_t cellsFrom = 64;
        const std::size_t cellsTo = target.bytes.find("Object") - 16;
        for (std::size_t cut = 4; cut < target.bytes.size();
             cut += (cut >= cellsFrom && cut < cellsTo) ? 61 : 1) {
            putPlain(target.path, target.bytes.substr(0, cut));
            const auto tree = saveTree();
            std::string message;
            ASSERT_FALSE(SaveData(1).loadGame(message)) << target.path << " cut at " << cut;
            ASSERT_EQ(messages.count(message), 1u) << message << " at " << cut;
            ASSERT_EQ(manager_->ownedCount(), 0u) << "cut at " << cut;
            ASSERT_EQ(ObjectLinker::instance().size(), 0u);
            ASSERT_EQ(saveTree(), tree);
        }
        putPlain(target.path, target.bytes);
    }
    std::string message;
    EXPECT_TRUE(SaveData(1).loadGame(message)) << message;
}

TEST_F(SaveDataTest, HugeCountsAndBadIndicesEndAtOnce) {
    buildWorld();
    ASSERT_TRUE(SaveData(1).saveGame());
    const std::string player = plain("save/data01/player.dat");
    const std::string floor = plain("save/data01/cave002.dat");
    // The friend count follows turn, score, cause, result and the genocide
    // set inside the world section, after the version and the next id.
    const std::size_t causeAt = 16;
    const std::size_t friendsAt =
        causeAt + std::string("cause").size() + 1 + std::string("result").size() + 1 + 4 + 4;
    std::uint32_t count = 0;
    std::memcpy(&count, player.data() + friendsAt, 4);
    ASSERT_EQ(count, 1u);
    std::string huge = player;
    const std::uint32_t many = 0xFFFFFFFFu;
    std::memcpy(huge.data() + friendsAt, &many, 4);
    putPlain("save/data01/player.dat", huge);
    std::string message;
    EXPECT_FALSE(SaveData(1).loadGame(message));
    EXPECT_EQ(message, "オブジェクトデータの読込に失敗");

    // A cell naming a palette record the floor does not have.
    putPlain("save/data01/player.dat", player);
    std::uint16_t records = 0;
    const std::size_t paletteAt = 4 + 4 + std::string("cave").size() + 1 + 4;
    std::memcpy(&records, floor.data() + paletteAt, 2);
    std::string bad = floor;
    const std::uint16_t index = records;
    std::memcpy(bad.data() + paletteAt + 2 + records * 58u, &index, 2);
    putPlain("save/data01/cave002.dat", bad);
    EXPECT_FALSE(SaveData(1).loadGame(message));
    EXPECT_EQ(message, "ダンジョンデータの読込に失敗");
    EXPECT_EQ(manager_->ownedCount(), 0u);
}

TEST_F(SaveDataTest, ACutOffCommitIsFinishedOrForgotten) {
    buildWorld();
    SaveData slot(1);
    ASSERT_TRUE(slot.saveGame());
    const auto old = saveTree();
    // Staged files without a record: the old save stands.
    putPlain("save/data01/player.dat.new", "junk");
    putPlain("save/data01/cave002.dat.new", "junk");
    EXPECT_TRUE(slot.existDungeon("cave", 2));
    EXPECT_EQ(saveTree(), old);
    // Staged files with a record: the new files take over.
    const std::string newPlayer = plain("save/data01/player.dat") + "X";
    putPlain("save/data01/player.dat.new", newPlayer);
    {
        qel::File record("save/data01/commit.lst", qel::File::MODE_WRITE);
        const std::string text = "player.dat\ncave002.dat\nend\n";
        ASSERT_TRUE(record.write(text.data(), text.size()));
        ASSERT_TRUE(record.close());
    }
    EXPECT_TRUE(slot.existDungeon("cave", 2));
    EXPECT_EQ(plain("save/data01/player.dat"), newPlayer);
    EXPECT_FALSE(std::filesystem::exists("save/data01/commit.lst"));
    EXPECT_FALSE(std::filesystem::exists("save/data01/player.dat.new"));
}

TEST_F(SaveDataTest, FloorAndCharacterFiles) {
    buildWorld();
    SaveData slot(2);
    ASSERT_TRUE(slot.saveDungeon(SaveData::KEEP_ALL));
    EXPECT_TRUE(slot.existDungeon("cave", 2));
    EXPECT_FALSE(slot.existDungeon("cave", 3));
    for (const char* name : {"", "../cave", "a/b", "a\\b", "..", "a\nb"}) {
        EXPECT_FALSE(slot.existDungeon(name, 2)) << name;
        EXPECT_FALSE(slot.removeDungeon(name, 2)) << name;
    }
    // Leaving the floor and coming back: the unkept objects return, and the
    // leash of the kept monster finds its item again.
    const std::string before = describe();
    world().addTurn(10);
    EXPECT_EQ(slot.loadDungeon(SaveData::KEEP_ALL, "cave", 2), 10);
    world().addTurn(-10);
    EXPECT_EQ(describe(), before);
    // A floor never saved: -1, its box, and the unkept objects stay gone.
    const std::size_t shown = boxes_.boxes().size();
    EXPECT_EQ(slot.loadDungeon(SaveData::KEEP_PLAYER, "cave", 9), -1);
    ASSERT_EQ(boxes_.boxes().size(), shown + 1);
    EXPECT_EQ(boxes_.boxes().back().text,
              "ダンジョンデータファイルのオープンに失敗 : save/data02/cave009.dat");
    EXPECT_EQ(manager_->getPosChara(40, 10), nullptr);
    EXPECT_TRUE(slot.removeDungeon("cave", 2));
    EXPECT_FALSE(slot.existDungeon("cave", 2));

    // A stored character comes back with what it carries.
    ObjectPlayer* hero = GameData::instance().getPlayer();
    ASSERT_NE(hero, nullptr);
    const std::uint32_t id = hero->getId();
    ASSERT_TRUE(slot.saveCharacter(hero));
    EXPECT_TRUE(std::filesystem::exists("save/data02/chara" +
                                        std::string(8 - std::to_string(id).size(), '0') +
                                        std::to_string(id) + ".dat"));
    manager_->clearAll();
    ObjectChara* back = slot.loadCharacter(id);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->getId(), id);
    EXPECT_NE(back->getEquip(ObjectChara::EQUIP_RIGHT), nullptr);
    EXPECT_EQ(back->getItemNum(), 2);
    EXPECT_EQ(slot.loadCharacter(id + 1000), nullptr);
    EXPECT_TRUE(slot.removeCharacter(id));
    EXPECT_FALSE(slot.removeCharacter(id));
}

// A floor file's name goes into the commit record, one a line: a name that
// could not come back from it (or could leave the slot folder) is refused
// by the save, which says which character, and the old save stays whole.
TEST_F(SaveDataTest, DungeonNamesThatCannotNameAFileFailTheSaveSayingWhy) {
    buildWorld();
    ASSERT_TRUE(SaveData(1).saveGame());
    const auto old = saveTree();
    const struct {
        std::string name;
        const char* box;
    } kRefused[] = {
        {"cave\nhall", "ダンジョン名に保存できない文字があります (0x0A) : cave<0x0A>hall"},
        {"\tcave", "ダンジョン名に保存できない文字があります (0x09) : <0x09>cave"},
        {"cave\x7F", "ダンジョン名に保存できない文字があります (0x7F) : cave<0x7F>"},
        {std::string("ca\0ve", 5), "ダンジョン名に保存できない文字があります (0x00) : ca<0x00>ve"},
        {"up/down", "ダンジョン名に保存できない文字があります (/) : up/down"},
        {"up\\down", "ダンジョン名に保存できない文字があります (\\) : up\\down"},
        {"..", "ダンジョン名に保存できない文字があります (..) : .."},
        {"", "ダンジョン名に保存できない文字があります (empty) : "},
    };
    Dungeon& dungeon = *GameData::instance().getDungeon();
    for (const auto& refused : kRefused) {
        SCOPED_TRACE(refused.box);
        dungeon.setTag(refused.name);
        EXPECT_FALSE(SaveData(1).saveGame());
        ASSERT_FALSE(boxes_.boxes().empty());
        EXPECT_EQ(boxes_.boxes().back().text, refused.box);
        EXPECT_FALSE(SaveData(1).saveDungeon());
        EXPECT_EQ(boxes_.boxes().back().text, refused.box);
        EXPECT_EQ(saveTree(), old);
    }
    // A second byte of 0x5C belongs to its two-byte character ("ソ", "表"):
    // such a name is no separator and saves and loads.
    const std::string kana = "\x83\x5C\x95\x5C";
    dungeon.setTag(kana);
    const std::size_t shown = boxes_.boxes().size();
    ASSERT_TRUE(SaveData(1).saveGame()) << boxes_.boxes().back().text;
    EXPECT_EQ(boxes_.boxes().size(), shown);
    EXPECT_TRUE(std::filesystem::exists("save/data01/" + kana + "002.dat"));
    dungeon.setTag("elsewhere");
    manager_->clearAll();
    std::string message;
    ASSERT_TRUE(SaveData(1).loadGame(message)) << message;
    EXPECT_EQ(dungeon.getTag(), kana);
}

TEST_F(SaveDataTest, SlotFoldersAndTheLog) {
    SaveData slot(3);
    EXPECT_EQ(slot.getLogPath(), "save/data03/log.txt");
    EXPECT_FALSE(std::filesystem::exists("save"));
    EXPECT_TRUE(slot.appendLog("one "));
    EXPECT_TRUE(slot.appendLog("two"));
    EXPECT_EQ(plainText("save/data03/log.txt"), "one two");
    EXPECT_TRUE(slot.createDirectory(true));
    EXPECT_TRUE(boxes_.boxes().empty());
    // The message log writes to the active slot's file only.
    CURRENT_PLAYER_ID = 3;
    SaveData::appendActiveLog("three");
    CURRENT_PLAYER_ID = 0;
    SaveData::appendActiveLog("none");
    EXPECT_EQ(plainText("save/data03/log.txt"), "one twothree");
    EXPECT_TRUE(slot.removeData());
    EXPECT_FALSE(std::filesystem::exists("save/data03"));
    EXPECT_TRUE(std::filesystem::exists("save"));
}

}  // namespace
