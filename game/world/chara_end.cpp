#include "game/world/chara_end.h"

#include <algorithm>

#include "engine/math/value_arith.h"
#include "game/data/action.h"
#include "game/data/item_base.h"
#include "game/world/full_time_effect.h"
#include "game/world/object_chara.h"
#include "game/world/object_item.h"
#include "game/world/script_call.h"
#include "game/world/world_settings.h"

namespace callback = script_callback;

namespace {

using qel::value_arith::wrapAdd;

// The sum of one equipment figure over the slots `counted` lets through.
template <class Field, class Counted>
std::int32_t equipSum(const ObjectChara& chara, Field field, Counted counted) {
    std::int32_t sum = 0;
    for (std::int32_t slot = 0; slot < ObjectChara::EQUIP_POS_MAX; ++slot) {
        if (!counted(slot)) continue;
        const ObjectItem* item = chara.getEquip(slot);
        if (const ItemBase* base = item ? item->getBase() : nullptr)
            sum = wrapAdd(sum, (base->*field)());
    }
    return sum;
}

template <class Field>
std::int32_t equipSum(const ObjectChara& chara, Field field) {
    return equipSum(chara, field, [](std::int32_t) { return true; });
}

template <class Field>
std::int32_t equipSumWithout(const ObjectChara& chara, Field field, std::int32_t a,
                             std::int32_t b) {
    return equipSum(chara, field, [a, b](std::int32_t slot) { return slot != a && slot != b; });
}

bool isArmourIn(std::int32_t slot, std::int32_t kind) {
    switch (slot) {
        case ObjectChara::EQUIP_LEFT:
            return kind == ItemBase::ITEM_LEFTHAND;
        case ObjectChara::EQUIP_HEAD:
            return kind == ItemBase::ITEM_HEAD;
        case ObjectChara::EQUIP_BODY:
            return kind == ItemBase::ITEM_BODY;
        case ObjectChara::EQUIP_HAND:
            return kind == ItemBase::ITEM_GLOBE;
        case ObjectChara::EQUIP_FOOT:
            return kind == ItemBase::ITEM_SHOES;
        default:
            return false;
    }
}

// Worn armour's levels, and the blessing bonus, count as defence.
std::int32_t armourDefense(const ObjectChara& chara, std::int32_t blessed) {
    std::int32_t sum = 0;
    for (std::int32_t slot = 0; slot < ObjectChara::EQUIP_POS_MAX; ++slot) {
        const ObjectItem* item = chara.getEquip(slot);
        const ItemBase* base = item ? item->getBase() : nullptr;
        if (!base || !isArmourIn(slot, base->type())) continue;
        sum = wrapAdd(sum, item->getLevel());
        if (item->isBless()) sum = wrapAdd(sum, blessed);
    }
    return sum;
}

std::int32_t brightestTorch(const ObjectChara& chara, std::int32_t torch) {
    for (std::int32_t slot = 0; slot < ObjectChara::EQUIP_POS_MAX; ++slot) {
        const ObjectItem* item = chara.getEquip(slot);
        if (const ItemBase* base = item ? item->getBase() : nullptr)
            torch = std::max(torch, base->torch());
    }
    return torch;
}

// A spell book in the left hand lends its level (and more when blessed).
std::int32_t bookMagic(const ObjectChara& chara) {
    const ObjectItem* book = chara.getEquip(ObjectChara::EQUIP_LEFT);
    const ItemBase* base = book ? book->getBase() : nullptr;
    if (!base || base->type() != ItemBase::ITEM_BOOK) return 0;
    return wrapAdd(book->getLevel(), book->isBless() ? 2 : 0);
}

// The value before the full-time effects. Effective values read inside go
// through the whole chain again; only STR..CHA are read, and their own
// value is the base one, so the reading ends.
std::int32_t rawStatus(ObjectChara& chara, std::int32_t index) {
    const Status& base = chara.baseStatus();
    const std::int32_t level = chara.getLevel();
    auto eff = [&chara](std::int32_t i) { return chara.getStatus(i); };
    switch (index) {
        case Status::MANA:
            return base.calMana(base[Status::WIS], base[Status::INT], base[Status::PER]);
        case Status::ACTION:
            return base.calAction();
        case Status::OFFENSE:
            return base.calOffense(eff(Status::STR), level);
        case Status::OFFENSE_SUB:
            return base.calOffenseSub(eff(Status::STR), eff(Status::DEX), level);
        case Status::FIRE:
            return base.calFire(eff(Status::DEX), level);
        case Status::MAGIC:
            return base.calMagic(eff(Status::WIS), level);
        case Status::DEFENSE: {
            const std::int32_t worn = equipSum(chara, &ItemBase::deffence);
            return wrapAdd(wrapAdd(base[Status::DEFENSE], worn),
                           armourDefense(chara, BLESSED_DEFENSE));
        }
        default:
            break;
    }
    const std::int32_t ratio = STATUS_LEVEL_RATIO;
    switch (index) {
        case Status::HIT:
            return wrapAdd(base.calHit(eff(Status::AGI), eff(Status::DEX), level, ratio),
                           equipSumWithout(chara, &ItemBase::hit, ObjectChara::EQUIP_LEFT,
                                           ObjectChara::EQUIP_BOW));
        case Status::HIT_SUB:
            return wrapAdd(base.calHitSub(eff(Status::AGI), eff(Status::DEX), level, ratio),
                           equipSumWithout(chara, &ItemBase::hit, ObjectChara::EQUIP_RIGHT,
                                           ObjectChara::EQUIP_BOW));
        case Status::HIT_FIRE:
            return wrapAdd(base.calHitFire(eff(Status::AGI), eff(Status::DEX), level, ratio),
                           equipSumWithout(chara, &ItemBase::hit, ObjectChara::EQUIP_RIGHT,
                                           ObjectChara::EQUIP_LEFT));
        case Status::HIT_MAGIC:
            return base.calHitMagic(eff(Status::WIS), level, ratio);
        case Status::AVOID:
            return wrapAdd(base.calAvoid(eff(Status::AGI), eff(Status::PER), level, ratio),
                           equipSum(chara, &ItemBase::avoid));
        case Status::RESIST:
            return wrapAdd(base.calResist(eff(Status::INT), eff(Status::PER), level, ratio),
                           equipSum(chara, &ItemBase::resist));
        case Status::WEIGHT:
            return base.calWeight(eff(Status::STR), eff(Status::VIT), ST_WEIGHT_VIT, ST_WEIGHT_STR,
                                  ST_WEIGHT_BASE);
        case Status::CONTROL:
            return base.calControl(eff(Status::CHA), 0);
        case Status::TORCH:
            return brightestTorch(chara, base[Status::TORCH]);
        case Status::SUCCESS_MAGIC:
            return wrapAdd(wrapAdd(base[Status::SUCCESS_MAGIC], equipSum(chara, &ItemBase::magic)),
                           bookMagic(chara));
        default:
            return base.get(index);
    }
}

}  // namespace

std::int32_t CharaEnd::getStatus(std::int32_t index) {
    if (!owner_) return 0;
    const std::int32_t raw = rawStatus(*owner_, index);
    return Status::CalValueSum(index, raw, FullTimeEffect::calStatus(index, owner_));
}

void CharaEnd::beginTurn() {
    if (!owner_) return;
    ScriptCall(callback::BeginTurn).object(owner_).run();
}

bool CharaEnd::beginAction(Command* command) {
    if (!owner_) return false;
    return ScriptCall(callback::BeginAction).object(owner_).object(command, "Command").askBoolean();
}

void CharaEnd::endAction() {
    if (!owner_) return;
    ScriptCall(callback::EndAction).object(owner_).run();
}

void CharaEnd::endTurn() {
    if (!owner_) return;
    ScriptCall(callback::EndTurn).object(owner_).run();
}

void CharaEnd::getDamageDice(Dice& dice, const char* tag) {
    if (!owner_) return;
    // The dice live in the caller's frame: the script's value of them goes
    // when the outermost call that handed them returns.
    ScriptCall(callback::GetDamageDice).object(owner_).temporary(&dice, "Dice").text(tag).run();
}

std::int32_t CharaEnd::receiveDamage(ObjectChara* attacker, Damage* damage) {
    if (!owner_) return 0;
    return ScriptCall(callback::ReceiveDamage)
        .object(attacker)
        .object(owner_)
        .object(damage, "Damage")
        .askNumber();
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
    return ScriptCall(callback::ProcHealLife).object(owner_).number(amount).askNumber();
}

std::int32_t CharaEnd::death(const char* cause) {
    if (!owner_) return 0;
    return ScriptCall(callback::ProcDeath).object(owner_).text(cause).askNumber();
}

std::int32_t CharaEnd::afterDead() {
    if (!owner_) return 0;
    return ScriptCall(callback::AfterDead).object(owner_).askNumber();
}

void CharaEnd::getEffectName(EffectNameList* list) {
    if (owner_ && list) FullTimeEffect::addFullTimeEffectName(owner_, *list);
}
