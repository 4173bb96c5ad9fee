#include "game/world/damage.h"

void Damage::deleteEffect() {
    qel::Core* doomed = effect;
    effect = nullptr;
    delete doomed;
}
