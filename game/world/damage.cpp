#include "game/world/damage.h"

#include "game/world/chara_decorator.h"

void Damage::deleteEffect() {
    qel::Core* doomed = effect;
    effect = nullptr;
    // A receiver that took the effect onto its chain owns it now.
    const auto* decorator = qel::classCast<CharaDecorator>(doomed);
    if (decorator && decorator->isTaken()) return;
    delete doomed;
}
