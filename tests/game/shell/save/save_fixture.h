// Save tests: a scratch working folder (the saves go to its "save"), item
// and monster tables of a few rows, an open lit floor named "cave" 2, and a
// built world to save: the player carrying a bag with a potion and wielding
// a sword, a friend beside it, a leashed monster far off, an enemy and an
// effect synchronised to the enemy left on the floor.
#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/file/file.h"
#include "game/shell/save/save_data.h"
#include "game/shell/settings.h"
#include "game/world/npc_factory.h"
#include "game/world/object_effect.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/world.h"
#include "tests/game/world/item_fixture.h"
#include "tests/support/message_box_recorder.h"

inline std::string monsterRow(int id, const std::string& name, int type, int control) {
    std::string row = std::to_string(id) + ",0," + name + ",3,A,0x00FF00,b,m,1.0,";
    for (int c = 0; c < 9; ++c) row += "10,";
    row += "1d6,0,0,";
    for (int c = 0; c < 29; ++c) row += "10,";
    row += "hello," + std::to_string(type) + "," + std::to_string(control) +
           ",o,0,0,2,0,-,1,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,-,-,-,";
    return row + "\n";
}

class SaveFixture : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(scratch_.path());
        FILE_VERSION = 109;
        CURRENT_PLAYER_ID = 0;
        ASSERT_TRUE(
            loadItems(itemRow(1, {{C_TYPE, "1"}}) + itemRow(2) + itemRow(3, {{C_TYPE, "16"}})));
        const std::string path = scratch_.file("monsters.dat");
        writeScrambledTable(
            path, "header\n" + monsterRow(1, "slime", 1, 3) + monsterRow(2, "villager", 0, 5));
        ASSERT_TRUE(NpcFactory::instance().loadFile(message_, path)) << message_.data();
        Dungeon& dungeon = *GameData::instance().getDungeon();
        dungeon.setTag("cave");
        dungeon.setLevel(2);
        for (int x = 0; x < Dungeon::kWidth; ++x)
            for (int y = 0; y < Dungeon::kHeight; ++y) {
                Tile* tile = dungeon.getTile(x, y);
                tile->setMove(true);
                tile->setWall(false);
            }
        world().init();
        world().getFriendData().clear();
        GameData::instance().getRanking()->clear();
        GameData::instance().getSaveFileList()->clear();
        SaveData::installHooks();
    }
    void TearDown() override {
        std::filesystem::current_path(old_);
        FILE_VERSION = 100;
        CURRENT_PLAYER_ID = 0;
        world().getFriendData().clear();
        world().init();
        GameData::instance().getRanking()->clear();
        GameData::instance().getSaveFileList()->clear();
        ItemFixture::TearDown();
        NpcFactory::instance().clear();
    }

    static World& world() { return *GameData::instance().getWorld(); }

    ObjectNpc* npc(int id, int x, int y) {
        ObjectNpc* made = NpcFactory::instance().create(id, Point(x, y));
        EXPECT_NE(made, nullptr);
        return made;
    }

    // The world described above.
    void buildWorld() {
        auto* player = new ObjectPlayer("hero", Point(5, 5), Color::WHITE, Race(), Status());
        ASSERT_EQ(player->getManager(), manager_);
        player->setPos(5, 5);
        ObjectItem* sword = make(1);
        player->addItem(sword, false);
        ASSERT_TRUE(player->equip(sword));
        ObjectItem* bag = make(3);
        player->addItem(bag, false);
        ASSERT_TRUE(bag->putInventory(make(2)));
        ObjectNpc* pal = npc(2, 6, 5);
        pal->setFriend(4);
        world().getFriendData().addFriend(pal);
        ObjectNpc* leashed = npc(1, 30, 20);
        ObjectItem* collar = make(2);
        collar->setPos(31, 20);
        leashed->setLeash(collar);
        ObjectNpc* enemy = npc(1, 40, 10);
        auto* fx = new ObjectEffect("fx", Point(0, 0), Color(0u), Point(40, 10));
        fx->setSyncObject(enemy);
        ASSERT_EQ(fx->getManager(), manager_);
        ObjectItem* loose = make(2);
        loose->setPos(10, 10);
        world().addTurn(41);
        world().addScore(-7);
        world().setCause("cause", "result");
        world().addGenocide(9);
    }

    // Everything a save must bring back, one object a line, in the order of
    // the object list sorted by id.
    static std::string describe() {
        std::ostringstream out;
        World& w = world();
        out << "turn " << w.getTurn() << " score " << w.getScore() << " " << w.getCause() << "/"
            << w.getResult() << " genocide " << w.genocideSet().size() << " friends";
        for (const auto& [id, cost] : w.getFriendData().entries()) out << " " << id << ":" << cost;
        out << "\n";
        std::vector<ObjectBase*> objects;
        for (ObjectBase* o : *GameData::instance().getObjectManager()->getLinkAllRoot())
            objects.push_back(o);
        std::sort(objects.begin(), objects.end(),
                  [](ObjectBase* a, ObjectBase* b) { return a->getId() < b->getId(); });
        for (ObjectBase* o : objects) {
            out << o->getClassName() << " " << o->getId() << " at " << o->getPos().x << ","
                << o->getPos().y;
            if (auto* chara = dynamic_cast<ObjectChara*>(o)) {
                out << " carries";
                for (LinkList<ObjectItem>* n = chara->getItemLink(); n; n = n->next)
                    if (n->obj) out << " " << n->obj->getId();
                for (int s = 0; s < ObjectChara::EQUIP_POS_MAX; ++s)
                    if (ObjectItem* e = chara->getEquip(s))
                        out << " slot" << s << "=" << e->getId();
            }
            if (auto* item = dynamic_cast<ObjectItem*>(o)) {
                out << " holds";
                for (LinkList<ObjectItem>* n = item->getInventory(); n; n = n->next)
                    if (n->obj) out << " " << n->obj->getId();
            }
            if (auto* n = dynamic_cast<ObjectNpc*>(o); n && n->getLeash())
                out << " leash " << n->getLeash()->getId();
            if (auto* fx = dynamic_cast<ObjectEffect*>(o)) out << " sync " << fx->getSyncId();
            out << "\n";
        }
        return out.str();
    }

    // The bytes of every file under save/, by path.
    static std::map<std::string, std::string> saveTree() {
        std::map<std::string, std::string> files;
        if (!std::filesystem::exists("save")) return files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator("save")) {
            if (!entry.is_regular_file()) continue;
            std::vector<unsigned char> bytes;
            qel::File::readWhole(entry.path().string(), bytes);
            files[entry.path().generic_string()] = std::string(bytes.begin(), bytes.end());
        }
        return files;
    }

    // A save file's plain bytes, and writing them back scrambled.
    static std::string plain(const std::string& path) {
        std::vector<unsigned char> bytes;
        EXPECT_TRUE(
            qel::File::readWhole(path, bytes, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY));
        return std::string(bytes.begin(), bytes.end());
    }
    static void putPlain(const std::string& path, const std::string& bytes) {
        qel::File out(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
        ASSERT_TRUE(out.write(bytes.data(), bytes.size()));
        ASSERT_TRUE(out.close());
    }

    static std::string plainText(const std::string& path) {
        std::vector<unsigned char> bytes;
        EXPECT_TRUE(qel::File::readWhole(path, bytes));
        return std::string(bytes.begin(), bytes.end());
    }

    std::filesystem::path old_;
    qel::test::MessageBoxRecorder boxes_;
};
