#include "game/world/damage.h"

const qel::ClassInfo& Damage::staticClassInfo() {
    static const qel::ClassInfo info = qel::ClassInfo::make<Damage, qel::Core>("Damage");
    return info;
}

void Damage::deleteEffect() {
    qel::Core* doomed = effect;
    effect = nullptr;
    delete doomed;
}
