#include "game/world/damage.h"

#include "engine/script/script_object_hook.h"

Damage::~Damage() {
    qel::forgetScriptObject(&type);
}

void Damage::deleteEffect() {
    qel::Core* doomed = effect;
    effect = nullptr;
    delete doomed;
}
