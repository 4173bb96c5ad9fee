#include "game/shell/scene_opening.h"

#include "game/shell/opening_param.h"
#include "game/shell/settings.h"
#include "game/world/game_data.h"
#include "game/world/object_base.h"
#include "game/world/script_call.h"

SceneOpening::~SceneOpening() {
    delete param_;
}

bool SceneOpening::init() {
    param_ = new OpeningParam();
    // A table that fails ends the game in order; the scene still starts so
    // the frame finishes and the quit is taken at its end.
    if (param_->loadRaceFile()) param_->loadClassFile();
    ObjectBase::SetNextId(1);
    GameData& game = GameData::instance();
    if (ObjectManager* manager = game.getObjectManager()) manager->clearAll();
    if (World* world = game.getWorld()) world->clearAdventure();
    CURRENT_PLAYER_ID = 0;
    return true;
}

void SceneOpening::update() {
    if (!param_) return;
    ScriptCall(script_callback::InputOpening).object(param_, "OpeningParam").run();
}

void SceneOpening::release() {
    delete param_;
    param_ = nullptr;
}
