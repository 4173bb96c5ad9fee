#include "game/world/deco_lua.h"

#include "game/world/lua_serializer.h"
#include "game/world/object_chara.h"
#include "game/world/script_call.h"

namespace hooks = decorator_hook;

namespace {

// A call of CallDecoratorFunc with the owner and the hook's name, the first
// two arguments of every decorator hook.
struct HookCall : ScriptCall {
    HookCall(ObjectChara* owner, const DecoratorHook& hook)
        : ScriptCall(script_callback::CallDecoratorFunc) {
        object(owner).text(hook.name);
    }
};

}  // namespace

void DecoLua::detach(ObjectChara* chara) {
    ScriptCall(script_callback::RemoveAllDecorator).object(chara).run();
}

std::int32_t DecoLua::getStatus(std::int32_t index) {
    const std::int32_t own = upStatus_.get(index);
    // The combine rule keeps the incoming value on a tie; here the
    // decorator's own value wins, so it comes in second.
    return Status::CalValueSum(index, next().getStatus(index), own);
}

bool DecoLua::preInput() {
    return HookCall(getOwner(), hooks::preInput).askBoolean();
}

void DecoLua::beginTurn() {
    HookCall(getOwner(), hooks::beginTurn).run();
}

bool DecoLua::beginAction(Command* command) {
    return HookCall(getOwner(), hooks::beginAction).object(command, "Command").askBoolean();
}

void DecoLua::endAction() {
    HookCall(getOwner(), hooks::endAction).run();
}

void DecoLua::endTurn() {
    HookCall(getOwner(), hooks::endTurn).run();
}

void DecoLua::getDamageDice(Dice& dice, const char* tag) {
    // The dice live in the caller's frame: see CharaEnd::getDamageDice.
    HookCall(getOwner(), hooks::getDamageDice).temporary(&dice, "Dice").text(tag).run();
}

std::int32_t DecoLua::preSendDamage(ObjectChara* target, Damage* damage) {
    return HookCall(getOwner(), hooks::preSendDamage)
        .object(target)
        .object(damage, "Damage")
        .askNumber();
}

std::int32_t DecoLua::receiveDamage(ObjectChara* attacker, Damage* damage) {
    return HookCall(getOwner(), hooks::receiveDamage)
        .object(attacker)
        .object(damage, "Damage")
        .askNumber();
}

void DecoLua::receiveHarm(ObjectChara* attacker, const char* text) {
    HookCall(getOwner(), hooks::receiveHarm).object(attacker).text(text).run();
}

std::int32_t DecoLua::postSendDamage(ObjectChara* target, Damage* damage, std::int32_t result) {
    return HookCall(getOwner(), hooks::postSendDamage)
        .object(target)
        .object(damage, "Damage")
        .number(result)
        .askNumber();
}

bool DecoLua::preCastSpell(const Action* action) {
    return HookCall(getOwner(), hooks::preCastSpell).object(action, "Action").askNumber() != 0;
}

bool DecoLua::postCastSpell(const Action* action) {
    return HookCall(getOwner(), hooks::postCastSpell).object(action, "Action").askNumber() != 0;
}

std::int32_t DecoLua::calManaCost(const Action* action) {
    return HookCall(getOwner(), hooks::calManaCost).object(action, "Action").askNumber();
}

bool DecoLua::checkMana(std::int32_t cost) {
    return HookCall(getOwner(), hooks::checkMana).number(cost).askBoolean();
}

bool DecoLua::useMana(std::int32_t cost) {
    return HookCall(getOwner(), hooks::useMana).number(cost).askBoolean();
}

std::int32_t DecoLua::healLife(std::int32_t amount) {
    return HookCall(getOwner(), hooks::healLife).number(amount).askNumber();
}

std::int32_t DecoLua::death(const char* cause) {
    return HookCall(getOwner(), hooks::death).text(cause).askNumber();
}

std::int32_t DecoLua::afterDead() {
    return HookCall(getOwner(), hooks::afterDead).askNumber();
}

void DecoLua::getEffectName(EffectNameList* list) {
    HookCall(getOwner(), hooks::getEffectName).object(list, "EffectNameList").run();
}

void DecoLua::getSubIconList(SubIconList* list) {
    HookCall(getOwner(), hooks::getSubIconList).object(list, "SubIconList").run();
}

bool DecoLua::serialize(ObjectChara* chara, VersionFile& file) {
    if (!CharaDecorator::serialize(chara, file)) return false;
    LuaSerializer serializer(&file);
    const bool answered = ScriptCall(script_callback::SerializeDecorator)
                              .object(chara)
                              .object(this, "DecoLua")
                              .temporary(&serializer, "LuaSerializer")
                              .askBoolean();
    return answered && !serializer.failed();
}
