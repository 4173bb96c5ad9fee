#include "game/shell/turn_manager.h"

#include <algorithm>

#include "engine/core/register.h"
#include "engine/system/message_box.h"
#include "engine/system/window.h"
#include "engine/task/sys_task.h"
#include "game/shell/net/network_text_buffer.h"
#include "game/shell/settings.h"
#include "game/world/command.h"
#include "game/world/game_data.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/player_input.h"
#include "game/world/script_call.h"
#include "game/world/world.h"

namespace {

void forgetKilled(ObjectNpc* npc) {
    if (TurnManager* turns = TurnManager::instance()) turns->removeWaitNpc(npc);
}

}  // namespace

TurnManager::TurnManager() = default;

TurnManager::TurnManager(ObjectManager* objects, void* inputOwner)
    : objects_(objects), input_(new PlayerInput(inputOwner)) {
    if (objects_) objects_->addListener(this);
}

TurnManager::~TurnManager() {
    if (objects_) objects_->removeListener(this);
    delete input_;
}

void TurnManager::managerDestroyed(ObjectManager* manager) {
    if (manager != objects_) return;
    objects_ = nullptr;
    wait_.clear();
    walking_.clear();
}

void TurnManager::forget(ObjectBase* object) {
    // By address: a deleted object may be inside its destructor, where its
    // class can no longer be asked (objects start at their object base).
    const void* address = object;
    const auto queued = std::find_if(wait_.begin(), wait_.end(), [address](const ObjectNpc* npc) {
        return static_cast<const void*>(npc) == address;
    });
    if (queued != wait_.end()) removeWaitNpc(*queued);
    std::replace(walking_.begin(), walking_.end(), object, static_cast<ObjectBase*>(nullptr));
}

TurnManager* TurnManager::instance() {
    return qel::Register<TurnManager>::instance().getSingle();
}

TurnManager* TurnManager::start(qel::TaskBase* parent) {
    auto* task = new TurnManager(GameData::instance().getObjectManager(), nullptr);
    if (!task) return nullptr;
    if (!qel::registerSingle(task)) {
        delete task;
        return nullptr;
    }
    if (!qel::SysTask::instance().add(task, parent)) {
        // Outside the tree it would never be killed: it goes at once.
        qel::Register<TurnManager>::instance().remove(0, 0);
        delete task;
        return nullptr;
    }
    ObjectNpc::setKillHook(&forgetKilled);
    return task;
}

ObjectPlayer* TurnManager::getPlayer() const {
    return GameData::instance().getPlayer();
}

void TurnManager::update() {
    if (!objects_) return;
    if (!objects_->updateAnimations()) return;  // still animating
    switch (state_) {
        case PLAYER_TURN_START:
            playerTurnStart();
            break;
        case NEW_TURN:
            newTurn();
            break;
        case PLAYER_INPUT:
            playerInput();
            break;
        case SCRIPT_TURN:
            scriptTurn();
            break;
        case TURN_CHANGE:
            turnChange();
            break;
        default:
            state_ = PLAYER_TURN_START;
            break;
    }
}

void TurnManager::playerTurnStart() {
    objects_->exeRemove();
    ObjectPlayer* player = getPlayer();
    if (player && player->isLive() && !player->preInput()) {
        if (ANIM_WALK_FRAME != 0) player->addAnimWait(static_cast<std::int32_t>(ANIM_WALK_FRAME));
        player->addActPoint(-kStuckActPoints);
        state_ = SCRIPT_TURN;
        return;
    }
    state_ = PLAYER_INPUT;
}

void TurnManager::newTurn() {
    if (World* world = GameData::instance().getWorld()) world->addTurn();
    ObjectPlayer* player = getPlayer();
    if (player) player->beginTurn();
    // A snapshot: a turn start may delete monsters (a floor change), and
    // those deleted are struck out of it.
    walking_.clear();
    for (LinkList<ObjectBase>* node = objects_->getLinkType(ObjectBase::LINK_NPC); node;
         node = node->next) {
        if (node->obj) walking_.push_back(node->obj);
    }
    for (std::size_t i = 0; i < walking_.size(); ++i) {
        if (auto* chara = qel::classCast<ObjectChara>(walking_[i])) chara->beginTurn();
    }
    walking_.clear();
    if (!objects_) return;
    objects_->exeRemove();
    player = getPlayer();
    if (!player || player->getActPoint() <= 0) {
        selectActNpc();
        state_ = SCRIPT_TURN;
        return;
    }
    playerTurnStart();
}

void TurnManager::playerInput() {
    // Texts from the message server show while the player decides.
    NetworkTextBuffer::instance().flush();
    Command* command = input_ ? input_->inputPlayer() : nullptr;
    if (!command) return;  // no command yet: keep waiting
    const int answer = ask(script_callback::ProgressTurn, true, command);
    if (answer != 1) {
        state_ = SCRIPT_TURN;
        return;
    }
    ObjectPlayer* player = getPlayer();
    if (!player || player->getActPoint() <= 0) state_ = TURN_CHANGE;
}

void TurnManager::scriptTurn() {
    const int answer = ask(script_callback::ProgressTurn, false, nullptr);
    if (answer < 0) scriptError();
    if (answer == 0) return;  // again next frame
    ObjectPlayer* player = getPlayer();
    if (!player || player->getActPoint() <= 0) {
        state_ = TURN_CHANGE;
        return;
    }
    playerTurnStart();
}

void TurnManager::turnChange() {
    const int answer = ask(script_callback::ProgressTurnChange, false, nullptr);
    if (answer < 0) {
        scriptError();
        state_ = NEW_TURN;
        return;
    }
    if (answer == 1) state_ = NEW_TURN;
}

int TurnManager::ask(const ScriptCallback& callback, bool withCommand, void* command) {
    ScriptCall call(callback);
    call.object(this, "TurnManager");
    if (withCommand) call.object(command, "Command");
    const bool yes = call.askBoolean();
    if (!call.ran()) return -1;
    return yes ? 1 : 0;
}

void TurnManager::scriptError() {
    qel::MessageBox::show(kScriptErrorText, qel::Window::instance().title());
}

bool TurnManager::selectActNpc() {
    wait_.clear();
    ObjectPlayer* player = getPlayer();
    const std::int32_t playerPoints = player ? player->getActPoint() : 0;
    if (objects_) {
        for (LinkList<ObjectBase>* node = objects_->getLinkType(ObjectBase::LINK_NPC); node;
             node = node->next) {
            auto* npc = qel::classCast<ObjectNpc>(node->obj);
            if (npc && npc->isLive() && npc->getActPoint() > playerPoints) wait_.push_back(npc);
        }
    }
    if (wait_.empty()) return false;
    std::sort(wait_.begin(), wait_.end(), [](const ObjectNpc* a, const ObjectNpc* b) {
        if (a->getActPoint() != b->getActPoint()) return a->getActPoint() > b->getActPoint();
        return a->getId() < b->getId();
    });
    waitIndex_ = -1;
    return true;
}

void TurnManager::removeWaitNpc(const ObjectNpc* npc) {
    const auto it = std::find(wait_.begin(), wait_.end(), npc);
    if (it == wait_.end()) return;
    const auto position = static_cast<std::int32_t>(it - wait_.begin());
    wait_.erase(it);
    if (waitIndex_ >= position) --waitIndex_;
}

ObjectNpc* TurnManager::getWaitNpc() {
    if (waitIndex_ < 0) waitIndex_ = 0;
    if (waitIndex_ >= static_cast<std::int32_t>(wait_.size())) return nullptr;
    return wait_[static_cast<std::size_t>(waitIndex_)];
}
