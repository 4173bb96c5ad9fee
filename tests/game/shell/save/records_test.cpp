// The records of the global file and of the world section: the slot list,
// the ranking and the friends, byte for byte, and the global record file
// with its anima, its refusals, the copy kept of one that failed and the
// slots found again on the disc when it does not name them.
#include <gtest/gtest.h>

#include <cstring>

#include "game/shell/save/save_data.h"
#include "game/world/ranking.h"
#include "game/world/save_file_list.h"
#include "game/world/world_settings.h"
#include "tests/game/shell/save/save_fixture.h"
#include "tests/support/scoped_value.h"

namespace {

class RecordsTest : public SaveFixture {
protected:
    // What `transfer` writes, as plain bytes.
    template <class Record>
    std::string bytesOf(Record& record) {
        const std::string path = scratch_.file("record.dat");
        {
            qel::File out(path, qel::File::MODE_WRITE);
            EXPECT_TRUE(record.serialize(out));
            EXPECT_TRUE(out.close());
        }
        return plainText(path);
    }
    template <class Record>
    bool readBytes(Record& record, const std::string& bytes) {
        const std::string path = scratch_.put("record.dat", bytes);
        qel::File in(path, qel::File::MODE_READ);
        return record.serialize(in);
    }
    static std::string u32(std::uint32_t v) { return std::string(reinterpret_cast<char*>(&v), 4); }
};

TEST_F(RecordsTest, TheSlotListHandsOutTheSmallestFreeId) {
    SaveFileList list;
    ASSERT_TRUE(
        readBytes(list, u32(2) + u32(3) + std::string("c\0", 2) + u32(1) + std::string("a\0", 2)));
    // A leftover folder of the new id is emptied.
    ASSERT_TRUE(SaveData(2).appendLog("old"));
    EXPECT_EQ(list.newData("b"), 2);
    EXPECT_FALSE(std::filesystem::exists("save/data02"));
    EXPECT_EQ(list.getEntry(0)->id, 2);
    EXPECT_EQ(list.getEntry(3), nullptr);
    EXPECT_EQ(list.getName(-1), nullptr);
    EXPECT_TRUE(list.updateData(1, "z"));
    EXPECT_FALSE(list.updateData(9, "z"));
    EXPECT_EQ(bytesOf(list), u32(3) + u32(1) + std::string("z\0", 2) + u32(2) +
                                 std::string("b\0", 2) + u32(3) + std::string("c\0", 2));
    ASSERT_TRUE(SaveData(3).appendLog("x"));
    EXPECT_TRUE(list.removeData(3));
    EXPECT_FALSE(std::filesystem::exists("save/data03"));
    EXPECT_FALSE(list.removeData(3));
    EXPECT_EQ(list.getDataNum(), 2);
    // A cut list changes nothing.
    EXPECT_FALSE(readBytes(list, u32(1) + u32(5) + "e"));
    EXPECT_EQ(list.getDataNum(), 2);
}

TEST_F(RecordsTest, TheRankingOrdersSignedScoresAndKeepsTiesInOrder) {
    Ranking ranking;
    EXPECT_EQ(ranking.addData("a", 10), 0);
    EXPECT_FALSE(ranking.isOutOfTable());
    EXPECT_EQ(ranking.addData("b", 10), 1) << "a tie goes after the old entry";
    EXPECT_EQ(ranking.addData("c", -5), 2);
    EXPECT_EQ(ranking.addData("d", 20), 0);
    EXPECT_EQ(ranking.getNew(), 0);
    EXPECT_EQ(bytesOf(ranking), u32(4) + u32(20) + std::string("d\0", 2) + u32(10) +
                                    std::string("a\0", 2) + u32(10) + std::string("b\0", 2) +
                                    u32(static_cast<std::uint32_t>(-5)) + std::string("c\0", 2));
    Ranking back;
    ASSERT_TRUE(readBytes(back, bytesOf(ranking)));
    EXPECT_EQ(back.getData(3)->getScore(), -5) << "a negative score round-trips";
    EXPECT_EQ(back.getNew(), -1);

    // A full table of 15 and a score no better than any: position 15,
    // beyond the table, until removeNew.
    Ranking full;
    for (int i = 0; i < 15; ++i) full.addData("x", 100 - i);
    EXPECT_EQ(full.addData("low", 86), 15);
    EXPECT_TRUE(full.isOutOfTable());
    EXPECT_EQ(full.getDataMax(), 15);
    ASSERT_NE(full.getData(-1), nullptr);
    EXPECT_STREQ(full.getData(-1)->getText(), "low");
    EXPECT_EQ(full.getData(-2), nullptr);
    EXPECT_EQ(full.getData(16), nullptr);
    full.removeNew();
    EXPECT_EQ(full.getDataNum(), 15);
    EXPECT_EQ(full.getData(-1), nullptr);
    // The next add drops what lay beyond the table first.
    EXPECT_EQ(full.addData("top", 1000), 0);
    EXPECT_EQ(full.getDataNum(), 16);
    EXPECT_EQ(full.addData("top2", 1000), 1);
    EXPECT_EQ(full.getDataNum(), 16);

    // A lowered maximum.
    const qel::test::ScopedValue<std::uint32_t> max(RANKING_MAX, 2u);
    Ranking small;
    small.addData("a", 3);
    small.addData("b", 2);
    EXPECT_EQ(small.addData("c", 1), 2);
    EXPECT_TRUE(small.isOutOfTable());
    EXPECT_EQ(small.addData("d", 5), 0);
    EXPECT_EQ(small.getDataNum(), 3);
    EXPECT_EQ(small.getDataMax(), 2);
}

TEST_F(RecordsTest, RankingNamesAreCutOnAWholeCharacter) {
    EXPECT_EQ(std::strlen(RankingData(std::string(300, 'n'), 1).getText()), 256u);
    // 255 single bytes then a two-byte character: the character does not fit.
    const std::string name = std::string(255, 'n') + "\x82\xA0" + "tail";
    EXPECT_EQ(std::strlen(RankingData(name, 1).getText()), 255u);
    EXPECT_STREQ(RankingData(static_cast<const char*>(nullptr), 1).getText(), "");
}

TEST_F(RecordsTest, FriendsFollowTheFloor) {
    ObjectNpc* present = npc(1, 3, 3);
    ObjectNpc* leaving = npc(2, 4, 4);
    FriendData friends;
    EXPECT_TRUE(friends.addFriend(present));
    EXPECT_FALSE(friends.addFriend(present));
    EXPECT_TRUE(friends.addFriend(leaving));
    EXPECT_EQ(friends.getTotalControl(), 8);
    const auto leavingId = static_cast<std::int32_t>(leaving->getId());
    const auto presentId = static_cast<std::int32_t>(present->getId());
    ASSERT_LT(presentId, leavingId);
    manager_->remove(leaving);
    manager_->exeRemove();
    EXPECT_EQ(friends.getFriendId(0), presentId);
    EXPECT_EQ(friends.getFriendId(2), 0);
    EXPECT_EQ(friends.getFriendId(-1), 0);
    EXPECT_EQ(friends.getFriendNumS(), 1);
    EXPECT_EQ(friends.getFriendS(0), present);
    EXPECT_EQ(friends.getFriendS(1), nullptr);
    EXPECT_EQ(friends.getFriendNumA(), 1);
    EXPECT_EQ(friends.getFriendIdA(0), leavingId);
    EXPECT_EQ(friends.getFriendIdA(1), 0);
    EXPECT_EQ(friends.getFriend(1), nullptr);
    EXPECT_EQ(friends.getControl(leavingId), 5);
    EXPECT_EQ(bytesOf(friends), u32(2) + u32(presentId) + u32(3) + u32(leavingId) + u32(5));
    // A repeated id keeps the last cost; a cut list changes nothing.
    FriendData back;
    ASSERT_TRUE(readBytes(back, u32(2) + u32(7) + u32(1) + u32(7) + u32(9)));
    EXPECT_EQ(back.getControl(7), 9);
    EXPECT_FALSE(readBytes(back, u32(0xFFFFFFFFu) + u32(1)));
    EXPECT_EQ(back.getFriendNum(), 1);
    EXPECT_TRUE(friends.removeFriend(leavingId));
    EXPECT_FALSE(friends.removeFriend(leavingId));
}

TEST_F(RecordsTest, TheGlobalFileRoundTripsAndKeepsABadOneAside) {
    EXPECT_TRUE(SaveData::loadGlobal()) << "no file is no failure";
    EXPECT_EQ(GameData::instance().getSaveFileList()->getDataNum(), 0);
    GameData& data = GameData::instance();
    data.getSaveFileList()->newData("slot");
    data.getRanking()->addData("best", 99);
    World::setAnimaLookup([](std::uint32_t id) { return id != 13; });
    world().addAnima(4);
    world().addAnima(13);
    data.getGlobalRecord()->setClearFlag(3, true);
    ASSERT_TRUE(SaveData::saveGlobal());
    const std::string bytes = plain("save/global.dat");
    EXPECT_EQ(bytes.substr(0, 4), u32(109));

    data.getSaveFileList()->clear();
    data.getRanking()->clear();
    world().removeAnima(4);
    data.getGlobalRecord()->init();
    ASSERT_TRUE(SaveData::loadGlobal());
    EXPECT_STREQ(data.getSaveFileList()->getName(0), "slot");
    EXPECT_STREQ(data.getRanking()->getData(0)->getText(), "best");
    EXPECT_TRUE(world().hasAnima(4));
    EXPECT_FALSE(world().hasAnima(13)) << "an anima the table does not know is dropped";
    EXPECT_TRUE(data.getGlobalRecord()->isClear(3));
    World::setAnimaLookup(nullptr);

    // A newer file is refused and kept as global.dat.bad at the next save.
    std::string newer = bytes;
    const std::uint32_t v = 110;
    std::memcpy(newer.data(), &v, 4);
    putPlain("save/global.dat", newer);
    EXPECT_FALSE(SaveData::loadGlobal());
    ASSERT_FALSE(boxes_.boxes().empty());
    EXPECT_EQ(boxes_.boxes().back().text,
              "グローバルデータのファイルバージョンが未対応です セーブファイルバージョン:1.10 "
              "現行ファイルバージョン:1.09");
    ASSERT_TRUE(SaveData::saveGlobal());
    EXPECT_EQ(plain("save/global.dat.bad"), newer);
    EXPECT_EQ(plain("save/global.dat").substr(0, 4), u32(109));
    // A cut file likewise.
    putPlain("save/global.dat", bytes.substr(0, 10));
    EXPECT_FALSE(SaveData::loadGlobal());
    EXPECT_EQ(boxes_.boxes().back().text, "グローバルデータの読込に失敗");
}

struct LostRecord {
    const char* name;
    // What becomes of the global record that named slot 1 only.
    void (*spoil)(const std::string& bytes);
};

// Slots 1 and 3 hold committed saves (3's commit cut off after its record),
// 2 only a log; the global record named slot 1 only, as when a slot's
// first save was cut off before the record. However the record is lost, a
// new adventure takes slot 2 and both saves stay listed and loadable.
TEST_F(RecordsTest, SavesTheGlobalFileDoesNotNameAreListedAndNeverTaken) {
    const LostRecord kRecords[] = {
        {"readable, older than the slot", [](const std::string&) {}},
        {"missing", [](const std::string&) { std::filesystem::remove("save/global.dat"); }},
        {"cut short",
         [](const std::string& bytes) { putPlain("save/global.dat", bytes.substr(0, 6)); }},
        {"truncated to nothing",
         [](const std::string&) { std::filesystem::resize_file("save/global.dat", 0); }},
    };
    GameData& data = GameData::instance();
    SaveFileList& list = *data.getSaveFileList();
    for (const LostRecord& record : kRecords) {
        SCOPED_TRACE(record.name);
        std::filesystem::remove_all("save");
        list.clear();
        buildWorld();
        for (const int id : {1, 3}) ASSERT_TRUE(SaveData(id).saveGame());
        std::filesystem::rename("save/data03/player.dat", "save/data03/player.dat.new");
        {
            qel::File commit("save/data03/commit.lst", qel::File::MODE_WRITE);
            ASSERT_TRUE(commit.write("player.dat\nend\n", 15));
            ASSERT_TRUE(commit.close());
        }
        ASSERT_TRUE(SaveData(2).appendLog("a log, no save"));
        ASSERT_TRUE(list.adoptData(1, "hero"));
        ASSERT_TRUE(SaveData::saveGlobal());
        record.spoil(plain("save/global.dat"));
        list.clear();
        SaveData::loadGlobal();

        ASSERT_EQ(list.getDataNum(), 2);
        EXPECT_TRUE(list.hasId(1));
        EXPECT_TRUE(list.hasId(3));
        EXPECT_EQ(list.getEntry(0)->name, list.getEntry(0)->id == 3 ? "data03" : "data01")
            << "found again, listed first under their folder's name";
        EXPECT_FALSE(list.hasId(2)) << "a folder without a save is no slot";
        EXPECT_EQ(list.newData("new"), 2);
        EXPECT_FALSE(std::filesystem::exists("save/data02")) << "its leftovers go";
        EXPECT_EQ(list.newData("newer"), 4);
        manager_->clearAll();
        for (const int id : {1, 3}) {
            std::string message;
            EXPECT_TRUE(SaveData(id).loadGame(message)) << id << ": " << message;
            manager_->clearAll();
        }
    }
    // Even a list that was never read skips the folders of committed saves.
    list.clear();
    EXPECT_EQ(list.newData("fresh"), 2);
    EXPECT_TRUE(SaveData::holdsSave(1));
    EXPECT_FALSE(SaveData::holdsSave(2));
    // Folder names that only look like a slot's are none.
    for (const char* name : {"save/data1", "save/data001", "save/dataX1", "save/data"}) {
        std::filesystem::create_directories(name);
        std::filesystem::copy_file("save/data03/player.dat", std::string(name) + "/player.dat");
    }
    EXPECT_EQ(SaveData::savedSlots(), (std::vector<std::int32_t>{1, 3}));
    EXPECT_TRUE(SaveData(1).removeData());
    EXPECT_FALSE(SaveData::holdsSave(1));
}

}  // namespace
