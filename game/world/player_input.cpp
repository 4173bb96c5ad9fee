#include "game/world/player_input.h"

#include "engine/script/lua_param.h"
#include "engine/script/sys_lua.h"
#include "game/data/command.h"
#include "game/world/game_data.h"
#include "game/world/object_player.h"

PlayerInput::PlayerInput(void* owner) : owner_(owner), command_(new Command()) {
    (void)owner_;  // kept for whoever made the input; the requests do not use it
}

PlayerInput::~PlayerInput() {
    delete command_;
}

Command* PlayerInput::inputPlayer() {
    ObjectPlayer* player = GameData::instance().getPlayer();
    if (!command_) return nullptr;
    qel::LuaParam args;
    qel::LuaParam results;
    args.addUserType(command_, "Command");
    if (player) {
        args.addUserType(player, "ObjectPlayer");
    } else {
        args.addNil();
    }
    if (!qel::SysLua::instance().call("InputPlayer", 1, &args, &results)) return nullptr;
    if (!results.toBoolean()) return nullptr;
    command_->setActor(player);
    return command_;
}

void PlayerInput::forget(const ObjectBase* object) {
    if (!command_ || !object) return;
    // Compared by address only: the object may be inside its destructor,
    // where its class can no longer be asked.
    const void* address = object;
    if (static_cast<const void*>(command_->getActor()) == address) command_->setActor(nullptr);
    command_->removeItem(address);
}
