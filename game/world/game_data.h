// The game-wide root: owns the per-process managers (map, run state,
// cross-run record, and the object manager, ranking, monster placement,
// save-slot list and field view as they join) and points at the player and
// at the game scene's running windows.
//
// What it keeps true:
//   - The owned managers are built in a fixed order when the root is built
//     and are never replaced. When one cannot be built, those already built
//     are destroyed and the construction fails with std::bad_alloc.
//   - They are destroyed in the reverse of that order, so the map objects go
//     while the dungeon still stands, and everything goes before the Lua
//     host (the root makes sure the host was created first, so it outlives
//     the root at process exit). release() does the same earlier, for a
//     shutdown that closes Lua itself.
//   - The player pointer never outlives the player: deleting the player
//     clears it (forgetPlayer).
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/core.h"
#include "game/world/dungeon.h"
#include "game/world/enemy_maker.h"
#include "game/world/field_view.h"
#include "game/world/global_record.h"
#include "game/world/object_manager.h"
#include "game/world/owned_members.h"
#include "game/world/ranking.h"
#include "game/world/save_file_list.h"
#include "game/world/world.h"

class ObjectPlayer;
class TaskMessageLog;
class TaskField;
class TaskItemList;
class TaskAnimaList;

class GameData : public qel::Core {
public:
    static GameData& instance();

    GameData();
    ~GameData() override;
    GameData(const GameData&) = delete;
    GameData& operator=(const GameData&) = delete;

    QEL_CLASS(GameData, qel::Core, qel::Pool::World);

    // Destroys the owned managers now (reverse build order); the accessors
    // answer null afterwards.
    void release() { owned_.release(); }

    Dungeon* getDungeon() const { return dungeon_; }
    ObjectManager* getObjectManager() const { return objectManager_; }
    World* getWorld() const { return world_; }
    GlobalRecord* getGlobalRecord() const { return globalRecord_; }
    Ranking* getRanking() const { return ranking_; }
    SaveFileList* getSaveFileList() const { return saveFileList_; }
    EnemyMaker* getEnemyMaker() const { return enemyMaker_; }
    FieldView* getFieldView() const { return fieldView_; }

    ObjectPlayer* getPlayer() const { return player_; }
    void setPlayer(ObjectPlayer* player) { player_ = player; }
    // Called by the player's destructor: clears the pointer when it is this
    // player.
    void forgetPlayer(const ObjectPlayer* player) {
        if (player_ == player) player_ = nullptr;
    }

    // The game scene's running windows; set when it creates them, all null
    // once it is released. Not owned.
    TaskMessageLog* getMessageLog() const { return messageLog_; }
    void setMessageLog(TaskMessageLog* task) { messageLog_ = task; }
    TaskField* getField() const { return field_; }
    void setField(TaskField* task) { field_ = task; }
    TaskItemList* getItemList() const { return itemList_; }
    void setItemList(TaskItemList* task) { itemList_ = task; }
    TaskAnimaList* getAnimaList() const { return animaList_; }
    void setAnimaList(TaskAnimaList* task) { animaList_ = task; }

private:
    OwnedMembers owned_;
    // The managers, in build order; each joins with one line here (and its
    // accessor above): the object manager after the dungeon, then the world,
    // the ranking, the monster placement table, the save-slot list and the
    // field view, and the global record last.
    Dungeon* dungeon_ = owned_.add(dungeon_, new Dungeon());
    ObjectManager* objectManager_ = owned_.add(objectManager_, new ObjectManager());
    World* world_ = owned_.add(world_, new World());
    Ranking* ranking_ = owned_.add(ranking_, new Ranking());
    EnemyMaker* enemyMaker_ = owned_.add(enemyMaker_, new EnemyMaker());
    SaveFileList* saveFileList_ = owned_.add(saveFileList_, new SaveFileList());
    FieldView* fieldView_ = owned_.add(fieldView_, new FieldView(dungeon_, objectManager_));
    GlobalRecord* globalRecord_ = owned_.add(globalRecord_, new GlobalRecord());

    ObjectPlayer* player_ = nullptr;
    TaskMessageLog* messageLog_ = nullptr;
    TaskField* field_ = nullptr;
    TaskItemList* itemList_ = nullptr;
    TaskAnimaList* animaList_ = nullptr;
};
