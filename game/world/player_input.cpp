#include "game/world/player_input.h"

#include "game/world/command.h"
#include "game/world/game_data.h"
#include "game/world/object_player.h"
#include "game/world/script_call.h"

PlayerInput::PlayerInput(void* owner) : owner_(owner), command_(new Command()) {
    (void)owner_;  // kept for whoever made the input; the requests do not use it
}

PlayerInput::~PlayerInput() {
    delete command_;
}

Command* PlayerInput::inputPlayer() {
    if (!command_) return nullptr;
    ScriptCall call(script_callback::InputPlayer);
    ObjectPlayer* player = GameData::instance().getPlayer();
    if (!call.object(command_, "Command").object(player, "ObjectPlayer").askBoolean()) {
        return nullptr;
    }
    // A player the script deleted meanwhile is no actor (the command's actor
    // is a weak reference: nil for a going object).
    command_->setActor(player);
    return command_;
}
