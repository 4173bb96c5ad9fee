// How the turn manager asks the scripts for the player's next command: one
// command record, reused for every request, handed to InputPlayer with the
// game's player.
#pragma once

#include "engine/core/core.h"

class Command;

class PlayerInput : public qel::Core {
public:
    explicit PlayerInput(void* owner = nullptr);
    ~PlayerInput() override;
    PlayerInput(const PlayerInput&) = delete;
    PlayerInput& operator=(const PlayerInput&) = delete;

    QEL_CLASS(PlayerInput, qel::Core, qel::Pool::General);

    // InputPlayer(command, player): when it answers the boolean true, the
    // command (its actor now the player, or none when the script deleted
    // the player meanwhile); otherwise null. The command is not cleared
    // between requests: the script fills it.
    Command* inputPlayer();
    Command* command() const { return command_; }

private:
    void* owner_ = nullptr;
    Command* command_ = nullptr;
};
