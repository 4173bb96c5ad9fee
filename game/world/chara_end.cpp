#include "game/world/chara_end.h"

#include "engine/script/script_object_hook.h"
#include "game/data/action.h"
#include "game/world/chara_script.h"
#include "game/world/object_chara.h"

namespace callback = script_callback;

CharaEnd::~CharaEnd() {
    qel::forgetScriptObject(this);
}

std::int32_t CharaEnd::getStatus(std::int32_t index) {
    return owner_ ? owner_->getBaseStatus(index) : 0;
}

void CharaEnd::beginTurn() {
    if (!owner_) return;
    qel::LuaParam args;
    chara_script::addChara(args, owner_);
    chara_script::hook(callback::BeginTurn, args);
}

bool CharaEnd::beginAction(Command* command) {
    if (!owner_) return false;
    qel::LuaParam args;
    chara_script::addChara(args, owner_);
    args.addUserType(command, "Command");
    return chara_script::askBoolean(callback::BeginAction, args);
}

void CharaEnd::endAction() {
    if (!owner_) return;
    qel::LuaParam args;
    chara_script::addChara(args, owner_);
    chara_script::hook(callback::EndAction, args);
}

void CharaEnd::endTurn() {
    if (!owner_) return;
    qel::LuaParam args;
    chara_script::addChara(args, owner_);
    chara_script::hook(callback::EndTurn, args);
}

void CharaEnd::getDamageDice(Dice& dice, const char* tag) {
    if (!owner_) return;
    qel::LuaParam args;
    chara_script::addChara(args, owner_);
    args.addUserType(&dice, "Dice");
    chara_script::addText(args, tag);
    chara_script::hook(callback::GetDamageDice, args);
}

std::int32_t CharaEnd::receiveDamage(ObjectChara* attacker, Damage* damage) {
    if (!owner_) return 0;
    qel::LuaParam args;
    chara_script::addChara(args, attacker);
    chara_script::addChara(args, owner_);
    args.addUserType(damage, "Damage");
    return chara_script::askNumber(callback::ReceiveDamage, args);
}

void CharaEnd::receiveHarm(ObjectChara* attacker, const char*) {
    if (owner_) owner_->harmedBy(attacker);
}

std::int32_t CharaEnd::calManaCost(const Action* action) {
    return action ? action->mana() : 0;
}

bool CharaEnd::checkMana(std::int32_t cost) {
    return owner_ && owner_->getMana() >= cost;
}

bool CharaEnd::useMana(std::int32_t cost) {
    if (!owner_) return false;
    const std::int32_t mana = owner_->getMana();
    if (mana < cost) return false;
    owner_->setMana(static_cast<std::int32_t>(static_cast<std::int64_t>(mana) - cost));
    return true;
}

std::int32_t CharaEnd::healLife(std::int32_t amount) {
    if (!owner_) return 0;
    qel::LuaParam args;
    chara_script::addChara(args, owner_);
    args.addNumber(amount);
    return chara_script::askNumber(callback::ProcHealLife, args);
}

std::int32_t CharaEnd::death(const char* cause) {
    if (!owner_) return 0;
    qel::LuaParam args;
    chara_script::addChara(args, owner_);
    chara_script::addText(args, cause);
    return chara_script::askNumber(callback::ProcDeath, args);
}

std::int32_t CharaEnd::afterDead() {
    if (!owner_) return 0;
    qel::LuaParam args;
    chara_script::addChara(args, owner_);
    return chara_script::askNumber(callback::AfterDead, args);
}

// The full-time effects' names join here once their status formulas do.
void CharaEnd::getEffectName(EffectNameList*) {}
