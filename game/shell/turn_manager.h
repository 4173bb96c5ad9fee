// The task that drives play on a floor. Each frame it lets every queued
// animation advance and, once none is left, takes one step of a machine
// that alternates the player's input with the scripts' turn: the player's
// turn start (0), a new turn (1), the player's input (2), the script turn
// (3) and the turn change (4). What a command or a monster's turn does is
// the scripts' (InputPlayer, ProgressTurn, ProgressTurnChange); the program
// keeps the order, the act points around the player's turn start and the
// queue of monsters that act before the player.
//
// What it keeps true: while anything animates, no state changes and no
// script runs; a failing ProgressTurn or ProgressTurnChange in the script
// turn or the turn change shows one box and counts as done, so a broken
// script cannot hang the loop; a killed monster leaves the queue with the
// cursor still on the same next monster; so does one that is queued for
// removal or deleted by any means (the manager tells it), and the player's
// command holds its actor and items as weak references, so no script ever
// reads a freed object through it. The new turn's walk over the monsters skips
// those deleted while it runs.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/task/task_base.h"
#include "game/world/object_manager.h"

class ObjectNpc;
class ObjectPlayer;
class PlayerInput;
struct ScriptCallback;

class TurnManager : public qel::TaskBase, private ObjectManager::Listener {
public:
    enum State : std::int32_t {
        PLAYER_TURN_START = 0,
        NEW_TURN = 1,
        PLAYER_INPUT = 2,
        SCRIPT_TURN = 3,
        TURN_CHANGE = 4,
    };
    static constexpr const char* kScriptErrorText = "スクリプトエラーが発生しました。";
    static constexpr std::int32_t kStuckActPoints = 12;

    TurnManager();
    TurnManager(ObjectManager* objects, void* inputOwner);
    ~TurnManager() override;
    TurnManager(const TurnManager&) = delete;
    TurnManager& operator=(const TurnManager&) = delete;

    QEL_CLASS(TurnManager, qel::TaskBase, qel::Pool::Tasks);

    // The single running one (the game scene's), or null.
    static TurnManager* instance();
    // Makes one for the game's objects under `parent`, registered as the
    // single instance; null when there already is one or it cannot be made.
    static TurnManager* start(qel::TaskBase* parent);

    bool init() override { return true; }
    void update() override;

    std::int32_t getState() const { return state_; }
    // The monsters alive with more act points than the player, by act
    // points descending then id; false when there is none.
    bool selectActNpc();
    void removeWaitNpc(const ObjectNpc* npc);
    ObjectNpc* getWaitNpc();
    void incWaitNpc() { ++waitIndex_; }
    ObjectPlayer* getPlayer() const;
    ObjectManager* getObjectManager() const { return objects_; }
    PlayerInput* getPlayerInput() const { return input_; }
    const std::vector<ObjectNpc*>& waitQueue() const { return wait_; }

private:
    void objectDeleted(ObjectBase* object) override { forget(object); }
    void objectQueued(ObjectBase* object) override { forget(object); }
    void managerDestroyed(ObjectManager* manager) override;
    void forget(ObjectBase* object);

    void playerTurnStart();
    void newTurn();
    void playerInput();
    void scriptTurn();
    void turnChange();
    // ProgressTurn or ProgressTurnChange: 1 true, 0 another answer, -1 the
    // call failed.
    int ask(const ScriptCallback& callback, bool withCommand, void* command);
    void scriptError();

    ObjectManager* objects_ = nullptr;
    PlayerInput* input_ = nullptr;
    std::int32_t state_ = PLAYER_TURN_START;
    std::vector<ObjectNpc*> wait_;
    std::int32_t waitIndex_ = -1;
    // The monsters the new turn walks, while it walks them.
    std::vector<ObjectBase*> walking_;
};
