#include "game/world/chara_decorator.h"

#include "game/world/chara_end.h"
#include "game/world/version_file.h"

VirtualChara& CharaDecorator::next() {
    static CharaEnd ownerless;
    return inner_ ? *inner_ : ownerless;
}

std::int32_t CharaDecorator::getStatus(std::int32_t index) {
    return next().getStatus(index);
}
bool CharaDecorator::preInput() {
    return next().preInput();
}
void CharaDecorator::beginTurn() {
    next().beginTurn();
}
bool CharaDecorator::beginAction(Command* command) {
    return next().beginAction(command);
}
void CharaDecorator::endAction() {
    next().endAction();
}
void CharaDecorator::endTurn() {
    next().endTurn();
}
void CharaDecorator::getDamageDice(Dice& dice, const char* tag) {
    next().getDamageDice(dice, tag);
}
std::int32_t CharaDecorator::preSendDamage(ObjectChara* target, Damage* damage) {
    return next().preSendDamage(target, damage);
}
std::int32_t CharaDecorator::receiveDamage(ObjectChara* attacker, Damage* damage) {
    return next().receiveDamage(attacker, damage);
}
void CharaDecorator::receiveHarm(ObjectChara* attacker, const char* text) {
    next().receiveHarm(attacker, text);
}
std::int32_t CharaDecorator::postSendDamage(ObjectChara* target, Damage* damage,
                                            std::int32_t result) {
    return next().postSendDamage(target, damage, result);
}
bool CharaDecorator::preCastSpell(const Action* action) {
    return next().preCastSpell(action);
}
bool CharaDecorator::postCastSpell(const Action* action) {
    return next().postCastSpell(action);
}
std::int32_t CharaDecorator::calManaCost(const Action* action) {
    return next().calManaCost(action);
}
bool CharaDecorator::checkMana(std::int32_t cost) {
    return next().checkMana(cost);
}
bool CharaDecorator::useMana(std::int32_t cost) {
    return next().useMana(cost);
}
std::int32_t CharaDecorator::healLife(std::int32_t amount) {
    return next().healLife(amount);
}
std::int32_t CharaDecorator::death(const char* cause) {
    return next().death(cause);
}
std::int32_t CharaDecorator::afterDead() {
    return next().afterDead();
}
void CharaDecorator::getEffectName(EffectNameList* list) {
    next().getEffectName(list);
}
void CharaDecorator::getSubIconList(SubIconList* list) {
    next().getSubIconList(list);
}

void CharaDecorator::attach(ObjectChara*) {}

bool CharaDecorator::serialize(ObjectChara*, VersionFile& file) {
    if (file.isWriteMode() && !file.writeString(classInfo().name)) return false;
    return file.serialize(priority_) && file.serialize(id_) && file.serialize(type_);
}
