#include "game/world/deco_lua.h"

#include "game/world/chara_script.h"
#include "game/world/lua_serializer.h"
#include "game/world/object_chara.h"

namespace hooks = decorator_hook;

namespace {

// The owner and the hook's name: the first two arguments of every call.
void begin(qel::LuaParam& args, ObjectChara* owner, const DecoratorHook& hook) {
    chara_script::addChara(args, owner);
    args.addString(hook.name);
}

const char* const kCall = script_callback::CallDecoratorFunc.name;

}  // namespace

DecoLua::~DecoLua() {
    if (ObjectChara* owner = getOwner()) {
        qel::LuaParam args;
        chara_script::addChara(args, owner);
        chara_script::hook(script_callback::RemoveAllDecorator, args);
    }
}

std::int32_t DecoLua::getStatus(std::int32_t index) {
    const std::int32_t own = upStatus_.get(index);
    // The combine rule keeps the incoming value on a tie; here the
    // decorator's own value wins, so it comes in second.
    return Status::CalValueSum(index, next().getStatus(index), own);
}

bool DecoLua::preInput() {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::preInput);
    return chara_script::askBoolean(kCall, args);
}

void DecoLua::beginTurn() {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::beginTurn);
    chara_script::hook(kCall, args);
}

bool DecoLua::beginAction(Command* command) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::beginAction);
    args.addUserType(command, "Command");
    return chara_script::askBoolean(kCall, args);
}

void DecoLua::endAction() {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::endAction);
    chara_script::hook(kCall, args);
}

void DecoLua::endTurn() {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::endTurn);
    chara_script::hook(kCall, args);
}

void DecoLua::getDamageDice(Dice& dice, const char* tag) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::getDamageDice);
    args.addUserType(&dice, "Dice");
    chara_script::addText(args, tag);
    chara_script::hook(kCall, args);
}

std::int32_t DecoLua::preSendDamage(ObjectChara* target, Damage* damage) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::preSendDamage);
    chara_script::addChara(args, target);
    args.addUserType(damage, "Damage");
    return chara_script::askNumber(kCall, args);
}

std::int32_t DecoLua::receiveDamage(ObjectChara* attacker, Damage* damage) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::receiveDamage);
    chara_script::addChara(args, attacker);
    args.addUserType(damage, "Damage");
    return chara_script::askNumber(kCall, args);
}

void DecoLua::receiveHarm(ObjectChara* attacker, const char* text) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::receiveHarm);
    chara_script::addChara(args, attacker);
    chara_script::addText(args, text);
    chara_script::hook(kCall, args);
}

std::int32_t DecoLua::postSendDamage(ObjectChara* target, Damage* damage, std::int32_t result) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::postSendDamage);
    chara_script::addChara(args, target);
    args.addUserType(damage, "Damage");
    args.addNumber(result);
    return chara_script::askNumber(kCall, args);
}

namespace {

qel::LuaParam& withAction(qel::LuaParam& args, const Action* action) {
    args.addUserType(const_cast<Action*>(action), "Action");
    return args;
}

}  // namespace

bool DecoLua::preCastSpell(const Action* action) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::preCastSpell);
    return chara_script::askNumber(kCall, withAction(args, action)) != 0;
}

bool DecoLua::postCastSpell(const Action* action) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::postCastSpell);
    return chara_script::askNumber(kCall, withAction(args, action)) != 0;
}

std::int32_t DecoLua::calManaCost(const Action* action) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::calManaCost);
    return chara_script::askNumber(kCall, withAction(args, action));
}

bool DecoLua::checkMana(std::int32_t cost) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::checkMana);
    args.addNumber(cost);
    return chara_script::askBoolean(kCall, args);
}

bool DecoLua::useMana(std::int32_t cost) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::useMana);
    args.addNumber(cost);
    return chara_script::askBoolean(kCall, args);
}

std::int32_t DecoLua::healLife(std::int32_t amount) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::healLife);
    args.addNumber(amount);
    return chara_script::askNumber(kCall, args);
}

std::int32_t DecoLua::death(const char* cause) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::death);
    chara_script::addText(args, cause);
    return chara_script::askNumber(kCall, args);
}

std::int32_t DecoLua::afterDead() {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::afterDead);
    return chara_script::askNumber(kCall, args);
}

void DecoLua::getEffectName(EffectNameList* list) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::getEffectName);
    args.addUserType(list, "EffectNameList");
    chara_script::hook(kCall, args);
}

void DecoLua::getSubIconList(SubIconList* list) {
    qel::LuaParam args;
    begin(args, getOwner(), hooks::getSubIconList);
    args.addUserType(list, "SubIconList");
    chara_script::hook(kCall, args);
}

bool DecoLua::serialize(ObjectChara* chara, VersionFile& file) {
    if (!CharaDecorator::serialize(chara, file)) return false;
    LuaSerializer serializer(&file);
    qel::LuaParam args;
    chara_script::addChara(args, chara);
    args.addUserType(this, "DecoLua");
    args.addUserType(&serializer, "LuaSerializer");
    const bool answered = chara_script::askBoolean(script_callback::SerializeDecorator, args);
    return answered && !serializer.failed();
}
