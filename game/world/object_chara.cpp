#include "game/world/object_chara.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

#include "engine/core/object_operation.h"
#include "engine/script/script_object_hook.h"
#include "game/data/effect_name_list.h"
#include "game/data/item_base.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "game/data/sub_icon_list.h"
#include "game/world/acquire_skill.h"
#include "game/world/chara_end.h"
#include "game/world/damage.h"
#include "game/world/deco_lua.h"
#include "game/world/full_time_effect.h"
#include "game/world/object_item.h"
#include "game/world/object_linker.h"
#include "game/world/script_call.h"
#include "game/world/version_file.h"
#include "game/world/world_settings.h"

namespace {

constexpr std::int32_t kDamResDead = 5;

std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

template <class T>
T* made(T* object) {
    if (!object) throw std::bad_alloc();
    return object;
}

// The decorator classes a save may name.
const qel::ClassInfo* decoratorClass(const std::string& name) {
    const qel::ClassInfo* const classes[] = {&DecoLua::staticClassInfo()};
    for (const qel::ClassInfo* info : classes) {
        if (name == info->name) return info;
    }
    return nullptr;
}

}  // namespace

// Counts a chain question for its whole run; the outermost one, as it
// returns (also by an exception), applies what was queued meanwhile. The
// question is an operation: a character a script deletes inside it (this
// one too) is deleted only as the outermost operation ends, after this
// scope let go of it.
class ObjectChara::BusyScope {
public:
    explicit BusyScope(ObjectChara& chara) : chara_(chara) { ++chara_.busy_; }
    ~BusyScope() {
        if (--chara_.busy_ == 0) chara_.applyPending();
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    // Ends after the body above: the deletions that waited run last.
    const qel::ObjectOperation operation_;
    ObjectChara& chara_;
};

template <class F>
auto ObjectChara::ask(F&& question) {
    BusyScope busy(*this);
    return question(*chain_);
}

ObjectChara::ObjectChara() {
    end_ = made(new CharaEnd(this));
    chain_ = end_;
    subIcons_ = made(new SubIconList());
    items_.isHead = true;
}

ObjectChara::ObjectChara(std::string_view name, const Point& chip, const Color& color,
                         std::int32_t type, INFO info, const Point& pos, bool visible, bool keep,
                         const Race& race, std::int32_t level, const Status& base)
    : ObjectAnim(name, chip, color, type, info, pos, visible, keep),
      race_(race),
      level_(level),
      base_(base) {
    end_ = made(new CharaEnd(this));
    chain_ = end_;
    subIcons_ = made(new SubIconList());
    items_.isHead = true;
    life_ = std::max(0, getStatus(Status::LIFE));
    mana_ = std::max(0, getStatus(Status::MANA));
}

void ObjectChara::teardown() {
    ObjectAnim::teardown();
    // While whole, the scripts hear of each slot taken off and each
    // decorator leaving; they may remove decorators until the chain goes.
    for (std::int32_t slot = 0; slot < EQUIP_POS_MAX; ++slot) desarm(slot);
    applyPending();
    tearingDown_ = true;
    while (chain_ && chain_ != end_) destroyDecorator(static_cast<CharaDecorator*>(chain_));
}

ObjectChara::~ObjectChara() {
    // What teardown left (or all of it, for a character deleted without
    // one) goes without a word to the scripts: nothing runs them here.
    tearingDown_ = true;
    for (ObjectBase*& slot : equip_) {
        if (auto* item = static_cast<ObjectItem*>(slot)) item->setEquipChara(nullptr);
        slot = nullptr;
    }
    for (const PendingAdd& add : pendingAdd_) delete add.decorator;
    pendingAdd_.clear();
    pendingRemove_.clear();
    while (chain_ && chain_ != end_) {
        auto* decorator = static_cast<CharaDecorator*>(chain_);
        unlink(decorator);
        delete decorator;
    }
    delete end_;
    delete subIcons_;
    // Carried items stay with their manager, held by nobody.
    while (items_.next) items_.next->remove();
}

// ---- Map object -------------------------------------------------------------

bool ObjectChara::isInWater() const {
    return FullTimeEffect::GetFieldState(const_cast<ObjectChara*>(this)) > 1;
}

const Color& ObjectChara::getColor() const {
    if (!petrify_) return ObjectAnim::getColor();
    return PETRIFY_COLOR;
}

Color ObjectChara::getFieldColor() const {
    Color color = ObjectAnim::getFieldColor();
    if (const_cast<ObjectChara*>(this)->getStatus(Status::INVISIBLE) != 0) {
        color = Color::Lerp(color, Color(0x80000000u), 0.5f);
        color.a = 255;
    }
    return color;
}

// ---- Own numbers ------------------------------------------------------------

std::int32_t ObjectChara::getLife() {
    setLife(life_);
    return life_;
}

void ObjectChara::setLife(std::int64_t life) {
    setGauge(life_, life, Status::LIFE);
}

float ObjectChara::getLifeRatio() {
    const std::int32_t life = getLife();
    const std::int32_t max = getStatus(Status::LIFE);
    return max > 0 ? static_cast<float>(life) / static_cast<float>(max) : 0.0f;
}

bool ObjectChara::isLifeMax() {
    getLife();
    return life_ >= getStatus(Status::LIFE);
}

std::int32_t ObjectChara::getMana() {
    setMana(mana_);
    return mana_;
}

void ObjectChara::setMana(std::int64_t mana) {
    setGauge(mana_, mana, Status::MANA);
}

bool ObjectChara::isManaMax() {
    getMana();
    return mana_ >= getStatus(Status::MANA);
}

void ObjectChara::setGauge(std::int32_t& stored, std::int64_t value, std::int32_t maxIndex) {
    const std::int32_t max = std::max(0, getStatus(maxIndex));
    const std::int32_t v = clampToInt32(std::clamp<std::int64_t>(value, 0, max));
    if (v != stored) {
        stored = v;
        update_ = true;
    }
}

std::int32_t ObjectChara::wrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

void ObjectChara::setBaseStatus(std::int32_t index, std::int32_t value) {
    base_.set(index, value);
    update_ = true;
}

void ObjectChara::addBaseStatus(std::int32_t index, std::int32_t amount) {
    base_.set(index, wrappingAdd(base_.get(index), amount));
    update_ = true;
}

std::int32_t ObjectChara::addActPoint(std::int32_t points) {
    actPoint_ = wrappingAdd(actPoint_, points);
    return actPoint_;
}

void ObjectChara::setExp(std::int32_t exp) {
    exp_ = std::min(static_cast<std::uint32_t>(exp), kExpMax);
}

void ObjectChara::setNextExp(std::int32_t exp) {
    nextExp_ = std::min(static_cast<std::uint32_t>(exp), kExpMax);
}

bool ObjectChara::addExp(std::int32_t amount) {
    const std::int64_t sum = static_cast<std::int64_t>(exp_) + amount;
    exp_ = static_cast<std::uint32_t>(std::clamp<std::int64_t>(sum, 0, kExpMax));
    return exp_ >= nextExp_;
}

void ObjectChara::setMoney(std::int64_t amount) {
    const std::int64_t max = std::max(0, MONEY_MAX);
    money_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(amount, 0, max));
}

std::int32_t ObjectChara::updateSightState() {
    sight_ = calSightState(cellOf(getAnimPos()));
    return sight_;
}

std::int32_t ObjectChara::calSightState(const Point&) {
    return SIGHT_IN;
}

const Dice& ObjectChara::getBaseDamageDice() {
    static thread_local Dice dice;
    dice = BASE_DAMAGE_DICE;
    return dice;
}

namespace {
bool isPlayerSide(std::int32_t type) {
    return type == ObjectBase::TYPE_PLAYER || type == ObjectBase::TYPE_FRIEND;
}
}  // namespace

bool ObjectChara::isEnemy(const ObjectChara* other) const {
    if (isMuggle()) return true;
    if (!other) return false;
    return (isPlayerSide(other->getType()) && getType() == TYPE_ENEMY) ||
           (other->getType() == TYPE_ENEMY && isPlayerSide(getType()));
}

bool ObjectChara::isFriend(const ObjectChara* other) const {
    if (!other) return false;
    return (isPlayerSide(getType()) && isPlayerSide(other->getType())) ||
           (getType() == TYPE_ENEMY && other->getType() == TYPE_ENEMY);
}

bool ObjectChara::turnsBefore(const ObjectChara& a, const ObjectChara& b) {
    if (a.actPoint_ != b.actPoint_) return a.actPoint_ > b.actPoint_;
    return a.getId() < b.getId();
}

// ---- Items ------------------------------------------------------------------

std::int32_t ObjectChara::getItemNum() const {
    std::int32_t n = 0;
    for (const LinkList<ObjectItem>* node = items_.next; node; node = node->next) ++n;
    return n;
}

ObjectItem* ObjectChara::getEquip(std::int32_t slot) const {
    return slot >= 0 && slot < EQUIP_POS_MAX ? static_cast<ObjectItem*>(equip_[slot]) : nullptr;
}

void ObjectChara::recomputeWeights() {
    std::uint64_t carried = 0;
    std::uint64_t equipped = 0;
    for (const LinkList<ObjectItem>* node = items_.next; node; node = node->next) {
        if (!node->obj) continue;
        const std::uint64_t w = node->obj->getTotalWeight();
        carried += w;
        if (node->obj->getEquipChara()) equipped += w;
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    itemWeight_ = static_cast<std::uint32_t>(std::min(carried, kMax));
    equipWeight_ = static_cast<std::uint32_t>(std::min(equipped, kMax));
}

void ObjectChara::addItem(ObjectItem* item, bool merge) {
    if (!item || isTearingDown() || item->isTearingDown()) return;
    if (auto* equipper = qel::classCast<ObjectChara>(item->getEquipChara())) equipper->desarm(item);
    if (merge) {
        for (LinkList<ObjectItem>* node = items_.next; node; node = node->next) {
            if (node->obj && node->obj != item && node->obj->marge(item)) {
                recomputeWeights();
                return;
            }
        }
    }
    LinkList<ObjectItem>* last = &items_;
    while (last->next) last = last->next;
    if (item->addLinkSelf(last)) item->setPos(getPos());
    recomputeWeights();
}

void ObjectChara::takeLinkedItem(ObjectBase* item, bool intoInventory) {
    ObjectItem* held = qel::classCast<ObjectItem>(item);
    if (held && intoInventory) addItem(held, false);
}

const char* ObjectChara::broughtSkill(const ObjectItem* item, std::int32_t slot) {
    if (item->getItemType() == ItemBase::ITEM_ONEHAND && slot == EQUIP_LEFT) return "DoubleWeapon";
    return item->getBaseSkillTag();
}

bool ObjectChara::equip(ObjectItem* item) {
    if (!item) return false;
    const std::int32_t slot = item->getEquipPos();
    return slot != EQUIP_NONE && equip(item, slot);
}

bool ObjectChara::equip(ObjectItem* item, std::int32_t slot) {
    if (!item || slot < 0 || slot >= EQUIP_POS_MAX || isTearingDown() || item->isTearingDown())
        return false;
    // The scripts the skills call may delete either: both wait for the end.
    const qel::ObjectOperation operation;
    // Out of any slot it holds (here or on another character) first.
    if (auto* equipper = qel::classCast<ObjectChara>(item->getEquipChara())) {
        for (std::int32_t s = 0; s < EQUIP_POS_MAX; ++s) {
            if (equipper->equip_[s] == item) equipper->desarm(s);
        }
        item->setEquipChara(nullptr);
    }
    desarm(slot);
    if (item->getItemType() == ItemBase::ITEM_TWOHAND) desarm(EQUIP_LEFT);
    if (slot == EQUIP_LEFT && getEquip(EQUIP_RIGHT) &&
        getEquip(EQUIP_RIGHT)->getItemType() == ItemBase::ITEM_TWOHAND) {
        desarm(EQUIP_RIGHT);
    }
    equip_[slot] = item;
    item->setEquipChara(this);
    update_ = true;
    itemSkillsChanged(item, slot, true);
    recomputeWeights();
    return true;
}

bool ObjectChara::desarm(std::int32_t slot) {
    ObjectItem* item = getEquip(slot);
    if (!item) return false;
    equip_[slot] = nullptr;
    item->setEquipChara(nullptr);
    update_ = true;
    itemSkillsChanged(item, slot, false);
    recomputeWeights();
    return true;
}

bool ObjectChara::desarm(ObjectItem* item) {
    if (!item) return false;
    const std::int32_t own = item->getEquipPos();
    if (own != EQUIP_NONE && getEquip(own) == item) {
        desarm(own);
        ObjectItem* left = getEquip(EQUIP_LEFT);
        if (own == EQUIP_RIGHT && left && left->getItemType() == ItemBase::ITEM_ONEHAND) {
            desarm(EQUIP_LEFT);
            equip(left);
        }
        return true;
    }
    for (std::int32_t slot = 0; slot < EQUIP_POS_MAX; ++slot) {
        if (getEquip(slot) == item) return desarm(slot);
    }
    return false;
}

void ObjectChara::dropEquipped(const ObjectItem* item) {
    bool dropped = false;
    for (ObjectBase*& slot : equip_) {
        if (slot == item) {
            slot = nullptr;
            dropped = true;
        }
    }
    if (!dropped) return;
    update_ = true;
    recomputeWeights();
}

void ObjectChara::desarmAll() {
    for (std::int32_t slot = 0; slot < EQUIP_POS_MAX; ++slot) desarm(slot);
}

void ObjectChara::callDecoratorScript(const ScriptCallback& callback, const std::string& name) {
    const Skill* skill = SkillList::instance().get(name);
    if (!skill) return;
    ScriptCall(callback).object(this).text(skill->luaClass().c_str()).text(name.c_str()).run();
}

void ObjectChara::itemSkillsChanged(const ObjectItem* item, std::int32_t slot, bool adding) {
    const std::string brought = broughtSkill(item, slot);
    const std::string sub = item->getSubSkillTag();
    for (const std::string* name : {&brought, &sub}) {
        if (name->empty() || (name == &sub && sub == brought)) continue;  // each name once
        const Skill* skill = SkillList::instance().get(*name);
        if (!skill) continue;
        // The item's own sources of this skill: the change is 0 <-> some.
        const std::int32_t own = (*name == brought) + (*name == sub);
        const std::int32_t now = checkEnableSkill(*name);
        if (adding) {
            if (now == own) callDecoratorScript(script_callback::AddDecorator, *name);
            if (skill->type() == Skill::SKILL_GRUDGE) enabled_.insert(*name);
        } else if (now == 0) {
            callDecoratorScript(script_callback::RemoveDecorator, *name);
        }
    }
}

// ---- Skills -----------------------------------------------------------------

std::int32_t ObjectChara::getSkillLevel(const std::string& name) const {
    const auto it = skillLevels_.find(name);
    return it == skillLevels_.end() ? 0 : it->second;
}

void ObjectChara::setSkillLevel(const std::string& name, std::int32_t level) {
    if (level <= 0) {
        skillLevels_.erase(name);
    } else {
        skillLevels_[name] = level;
    }
}

std::int32_t ObjectChara::addSkillLevel(const std::string& name, std::int32_t delta) {
    std::int32_t& level = skillLevels_[name];
    level = wrappingAdd(level, delta);
    return level;
}

std::int32_t ObjectChara::checkEnableSkill(const std::string& name) const {
    std::int32_t sources = enabled_.count(name) ? 1 : 0;
    for (std::int32_t slot = 0; slot < EQUIP_POS_MAX; ++slot) {
        const ObjectItem* item = getEquip(slot);
        if (!item) continue;
        if (name == broughtSkill(item, slot)) ++sources;
        if (name == item->getSubSkillTag()) ++sources;
    }
    return sources;
}

void ObjectChara::addEnableSkill(const std::string& name) {
    enabled_.insert(name);
    if (name.empty()) return;
    if (checkEnableSkill(name) == 1) callDecoratorScript(script_callback::AddDecorator, name);
}

bool ObjectChara::removeEnableSkill(const std::string& name) {
    if (enabled_.erase(name) == 0) return false;
    if (!name.empty() && checkEnableSkill(name) == 0) {
        callDecoratorScript(script_callback::RemoveDecorator, name);
    }
    return true;
}

std::int32_t ObjectChara::getSkillLevelActive(const std::string& name) const {
    return checkEnableSkill(name) != 0 ? getSkillLevel(name) : -1;
}

std::int32_t ObjectChara::getOtherSkillLevel(const std::string& name) const {
    if (name.empty()) return 0;
    std::int32_t total = 0;
    for (const auto& [tag, level] : skillLevels_) {
        if (tag == name || level <= 0 || checkEnableSkill(tag) == 0) continue;
        const Skill* skill = SkillList::instance().get(tag);
        if (!skill) continue;
        const std::int32_t reached = std::min({level, skill->levelMax(), Skill::kLevels});
        for (std::int32_t i = 0; i < reached; ++i) {
            const Skill::LevelData* data = skill->levelData(i);
            if (data->_type == Skill::TYPE_OTHER && data->_otherTag == name) ++total;
        }
    }
    return total;
}

// ---- Decorator chain --------------------------------------------------------

bool ObjectChara::addDecorator(CharaDecorator* decorator, bool noAttach) {
    if (!decorator || tearingDown_ || isTearingDown() || decorator->owner_ ||
        decorator->queuedBy_ || !(decorator->getPriority() >= 0.0f)) {
        return false;
    }
    if (busy_ > 0) {
        pendingAdd_.push_back({decorator, noAttach});
        decorator->queuedBy_ = this;
    } else {
        link(decorator, noAttach);
    }
    qel::claimScriptObject(decorator);
    return true;
}

void ObjectChara::link(CharaDecorator* decorator, bool noAttach) {
    VirtualChara** place = &chain_;
    while (*place != end_ && (*place)->getPriority() > decorator->getPriority()) {
        place = &static_cast<CharaDecorator*>(*place)->inner_;
    }
    decorator->inner_ = *place;
    *place = decorator;
    decorator->owner_ = this;
    update_ = true;
    if (!noAttach) decorator->attach(this);
}

void ObjectChara::unlink(CharaDecorator* decorator) {
    for (VirtualChara** place = &chain_; *place != end_;
         place = &static_cast<CharaDecorator*>(*place)->inner_) {
        if (*place == decorator) {
            *place = decorator->inner_;
            decorator->inner_ = nullptr;
            return;
        }
    }
}

bool ObjectChara::removeDecorator(CharaDecorator* decorator) {
    if (!decorator || decorator->owner_ != this || tearingDown_) return false;
    if (busy_ > 0) {
        pendingRemove_.push_back(decorator);
        return true;
    }
    destroyDecorator(decorator);
    return true;
}

void ObjectChara::destroyDecorator(CharaDecorator* decorator) {
    const qel::ObjectOperation operation;  // the scripts detach calls may delete this
    unlink(decorator);
    decorator->owner_ = nullptr;
    update_ = true;
    decorator->detach(this);
    delete decorator;
}

bool ObjectChara::removeDecorator(DecoList* list) {
    if (!list) return true;
    DecoList taken = std::move(*list);
    list->clear();
    for (CharaDecorator* decorator : taken) removeDecorator(decorator);
    return true;
}

template <class F>
void ObjectChara::forEachDecorator(F&& visit) const {
    for (VirtualChara* link = chain_; link != end_;
         link = static_cast<CharaDecorator*>(link)->inner_) {
        if (!visit(static_cast<CharaDecorator*>(link))) return;
    }
}

CharaDecorator* ObjectChara::searchDecoId(std::int32_t id) const {
    CharaDecorator* found = nullptr;
    forEachDecorator(
        [&](CharaDecorator* d) { return d->getId() == id ? (found = d, false) : true; });
    return found;
}

CharaDecorator* ObjectChara::searchDecoType(std::int32_t type) const {
    CharaDecorator* found = nullptr;
    forEachDecorator(
        [&](CharaDecorator* d) { return d->getType() == type ? (found = d, false) : true; });
    return found;
}

ObjectChara::DecoList* ObjectChara::searchDecoId(DecoList* list, std::int32_t id) const {
    if (list) {
        forEachDecorator([&](CharaDecorator* d) {
            if (d->getId() == id) list->push_back(d);
            return true;
        });
    }
    return list;
}

ObjectChara::DecoList* ObjectChara::searchDecoType(DecoList* list, std::int32_t type) const {
    if (list) {
        forEachDecorator([&](CharaDecorator* d) {
            if (d->getType() == type) list->push_back(d);
            return true;
        });
    }
    return list;
}

void ObjectChara::applyPending() {
    while (!pendingRemove_.empty() || !pendingAdd_.empty()) {
        std::vector<CharaDecorator*> removals = std::move(pendingRemove_);
        pendingRemove_.clear();
        std::vector<PendingAdd> additions = std::move(pendingAdd_);
        pendingAdd_.clear();
        std::sort(removals.begin(), removals.end());
        removals.erase(std::unique(removals.begin(), removals.end()), removals.end());
        for (CharaDecorator* decorator : removals) {
            if (decorator->owner_ == this) destroyDecorator(decorator);
        }
        for (const PendingAdd& add : additions) {
            add.decorator->queuedBy_ = nullptr;
            link(add.decorator, add.noAttach);
        }
    }
}

// ---- Chain questions --------------------------------------------------------

std::int32_t ObjectChara::getStatus(std::int32_t index) {
    if (!Status::isIndex(index)) throw std::out_of_range("status index out of range");
    const std::int32_t v = ask([index](VirtualChara& c) { return c.getStatus(index); });
    switch (index) {
        case Status::ACTION: {
            const std::int64_t r =
                ask([](VirtualChara& c) { return c.getStatus(Status::ACTION_RATIO); });
            std::int64_t a = v;
            if (r > 0) a = a * (r + 1);
            if (r < 0) a = a / (1 - r);
            return clampToInt32(std::max<std::int64_t>(a, 1));
        }
        case Status::LAND:
        case Status::THROUGH:
        case Status::INVISIBLE:
            return std::clamp(v, 0, 1);
        case Status::WATER:
        case Status::FLOAT:
            return std::clamp(v, 0, 2);
        case Status::LUCK:
            return std::clamp(v, -10, 10);
        case Status::RES_DEATH:
            return std::min(v, 100);
        default:
            break;
    }
    if (index <= Status::CONTROL) return std::max(v, 0);
    if (index >= Status::RES_PHYSIC && index <= Status::RES_STONE) return std::min(v, 100);
    return v;
}

bool ObjectChara::preInput() {
    if (petrify_) return false;
    BusyScope busy(*this);
    const bool r = chain_->preInput();
    recomputeWeights();
    update_ = true;
    return r;
}

void ObjectChara::beginTurn() {
    ask([](VirtualChara& c) { c.beginTurn(); });
}

bool ObjectChara::beginAction(Command* command) {
    return ask([command](VirtualChara& c) { return c.beginAction(command); });
}

void ObjectChara::endAction() {
    BusyScope busy(*this);
    chain_->endAction();
    recomputeWeights();
    update_ = true;
}

void ObjectChara::endTurn() {
    ask([](VirtualChara& c) { c.endTurn(); });
}

Dice ObjectChara::getDamageDice(const char* tag) {
    Dice dice(2, 6);
    ask([&dice, tag](VirtualChara& c) { c.getDamageDice(dice, tag); });
    return dice;
}

std::int32_t ObjectChara::preSendDamage(ObjectChara* target, Damage* damage) {
    return ask([=](VirtualChara& c) { return c.preSendDamage(target, damage); });
}

std::int32_t ObjectChara::receiveDamage(ObjectChara* attacker, Damage* damage) {
    BusyScope busy(*this);
    const std::int32_t result = chain_->receiveDamage(attacker, damage);
    // Deleted by a script meanwhile: the damage's effect is left as it is.
    if (isGoing()) return result;
    if (damage && damage->effect) {
        // An effect a chain took (linked or queued) is that chain's now.
        auto* decorator = qel::classCast<CharaDecorator>(damage->effect);
        if (decorator && (decorator->owner_ || decorator->queuedBy_)) {
            damage->effect = nullptr;
        } else {
            damage->deleteEffect();
        }
    }
    if (result != kDamResDead) receiveHarm(attacker, "damage");
    return result;
}

void ObjectChara::receiveHarm(ObjectChara* attacker, const char* text) {
    ask([=](VirtualChara& c) { c.receiveHarm(attacker, text); });
}

std::int32_t ObjectChara::postSendDamage(ObjectChara* target, Damage* damage, std::int32_t result) {
    return ask([=](VirtualChara& c) { return c.postSendDamage(target, damage, result); });
}

bool ObjectChara::preCastSpell(const Action* action) {
    return ask([action](VirtualChara& c) { return c.preCastSpell(action); });
}

bool ObjectChara::postCastSpell(const Action* action) {
    return ask([action](VirtualChara& c) { return c.postCastSpell(action); });
}

std::int32_t ObjectChara::calManaCost(const Action* action) {
    return ask([action](VirtualChara& c) { return c.calManaCost(action); });
}

bool ObjectChara::checkMana(std::int32_t cost) {
    return ask([cost](VirtualChara& c) { return c.checkMana(cost); });
}

bool ObjectChara::useMana(std::int32_t cost) {
    return ask([cost](VirtualChara& c) { return c.useMana(cost); });
}

std::int32_t ObjectChara::healLife(std::int32_t amount) {
    return ask([amount](VirtualChara& c) { return c.healLife(amount); });
}

std::int32_t ObjectChara::death(const char* cause) {
    return ask([cause](VirtualChara& c) { return c.death(cause); });
}

std::int32_t ObjectChara::afterDead() {
    return ask([](VirtualChara& c) { return c.afterDead(); });
}

void ObjectChara::getEffectName(EffectNameList* list) {
    ask([list](VirtualChara& c) { c.getEffectName(list); });
    if (list) list->sort();
}

void ObjectChara::getSubIconList(SubIconList* list) {
    SubIconList* target = list ? list : subIcons_;
    if (!list) target->clear();
    BusyScope busy(*this);
    chain_->getSubIconList(target);
    target->sort();
}

bool ObjectChara::getSubIcon(std::uint64_t frame, Point* chip, Color* color) {
    BusyScope busy(*this);
    getSubIconList();
    if (isGoing()) return false;
    const std::uint64_t n = subIcons_->size();
    if (n == 0) {
        subIconPhase_ = 0;
        return false;
    }
    const std::uint64_t cycle = static_cast<std::uint64_t>(SUB_ICON_BLINK_ON) + SUB_ICON_BLINK_OFF;
    std::uint64_t entry = 0;
    if (cycle != 0) {
        subIconPhase_ = static_cast<std::uint32_t>(frame % (n * cycle));
        if (subIconPhase_ % cycle >= SUB_ICON_BLINK_ON) return false;
        entry = subIconPhase_ / cycle;
    }
    const SubIconData* data = subIcons_->get(static_cast<std::size_t>(entry));
    if (chip) *chip = data->chip;
    if (color) *color = data->getColor();
    return true;
}

// ---- Water ------------------------------------------------------------------

bool ObjectChara::canWalkOnWater() {
    if (getStatus(Status::FLOAT) > 0) return true;
    switch (getStatus(Status::WATER)) {
        case 0: {
            return ScriptCall(script_callback::IsFrozenWalk)
                .object(this, "ObjectChara")
                .askBoolean();
        }
        case 1:
            return FullTimeEffect::GetWeightState(this) == 0;
        case 2:
            return true;
        default:
            return false;
    }
}

// ---- Saving -----------------------------------------------------------------

bool ObjectChara::serialize(VersionFile& file) {
    if (!ObjectAnim::serialize(file)) return false;
    std::uint8_t petrify = petrify_ ? 1 : 0;
    std::uint32_t race = race_.word();
    if (!(file.serialize(race) && file.serialize(sex_) && file.serialize(level_) &&
          file.serialize(life_) && file.serialize(mana_) && base_.serialize(file) &&
          file.serialize(actPoint_) && file.serialize(exp_) && file.serialize(nextExp_) &&
          file.serialize(sight_) && file.serialize(money_) && file.serialize(petrify))) {
        return false;
    }
    petrify_ = petrify != 0;
    race_.setWord(race);

    // Carried items by id, then 0; the equipment slots by id (0 for none).
    // Ids read back are relinked once every object is loaded.
    if (file.isWriteMode()) {
        for (const LinkList<ObjectItem>* node = items_.next; node; node = node->next) {
            std::uint32_t id = node->obj ? node->obj->getId() : 0;
            if (id != 0 && !file.serialize(id)) return false;
        }
        std::uint32_t end = 0;
        if (!file.serialize(end)) return false;
        for (ObjectBase* item : equip_) {
            std::uint32_t id = item ? item->getId() : 0;
            if (!file.serialize(id)) return false;
        }
    } else {
        for (;;) {
            std::uint32_t id = 0;
            if (!file.serialize(id)) return false;
            if (id == 0) break;
            ObjectLinker::instance().recordInventoryItem(id, this);
        }
        for (ObjectBase*& slot : equip_) {
            std::uint32_t id = 0;
            if (!file.serialize(id)) return false;
            ObjectLinker::instance().record(id, this, &slot, &ObjectItem::staticClassInfo());
        }
    }
    if (!(file.serialize(itemWeight_) && file.serialize(equipWeight_))) return false;
    return serializeDecorators(file) && serializeSkills(file);
}

bool ObjectChara::serializeDecorators(VersionFile& file) {
    if (file.isWriteMode()) {
        // A decorator's script removing links waits for the walk to end.
        BusyScope busy(*this);
        bool ok = true;
        forEachDecorator([&](CharaDecorator* d) { return ok = d->serialize(this, file); });
        return ok && file.writeString("");
    }
    for (;;) {
        std::string name;
        if (!file.serializeString(name)) return false;
        if (name.empty()) return true;
        const qel::ClassInfo* info = decoratorClass(name);
        if (!info) return false;
        auto* decorator = static_cast<CharaDecorator*>(info->create());
        if (!decorator) return false;
        if (!decorator->serialize(this, file) || !addDecorator(decorator, true)) {
            delete decorator;
            return false;
        }
    }
}

bool ObjectChara::serializeSkills(VersionFile& file) {
    if (file.isWriteMode()) {
        for (auto& [name, level] : skillLevels_) {
            std::int32_t v = level;
            if (!(file.writeString(name) && file.serialize(v))) return false;
        }
        if (!file.writeString("")) return false;
        for (const std::string& name : enabled_) {
            if (!file.writeString(name)) return false;
        }
        return file.writeString("");
    }
    for (;;) {
        std::string name;
        std::int32_t level = 0;
        if (!file.serializeString(name)) return false;
        if (name.empty()) break;
        if (!file.serialize(level)) return false;
        skillLevels_[name] = level;
    }
    for (;;) {
        std::string name;
        if (!file.serializeString(name)) return false;
        if (name.empty()) return true;
        enabled_.insert(name);
    }
}

AcquireSkill* ObjectChara::createAcquireSkill() const {
    auto* list = new AcquireSkill();
    if (!list) return nullptr;
    for (const std::string& name : enabled_) list->add(name, true, getSkillLevel(name), true);
    for (std::int32_t slot = EQUIP_RIGHT; slot <= EQUIP_ACCESSORY; ++slot) {
        const ObjectItem* item = getEquip(slot);
        if (!item || !item->getBase()) continue;
        const bool kindKnown = item->getBase()->getItemName().getState() == ItemName::ANALYZE;
        const std::string brought = broughtSkill(item, slot);
        if (!brought.empty()) list->add(brought, true, getSkillLevel(brought), kindKnown);
        const std::string& sub = item->getSubSkillTag();
        if (!sub.empty()) {
            list->add(sub, true, getSkillLevel(sub),
                      kindKnown && item->isStateIdentify() && item->isCountIdentify());
        }
    }
    for (const auto& [name, level] : skillLevels_) list->add(name, false, level, true);
    list->sort();
    return list;
}
