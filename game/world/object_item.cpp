#include "game/world/object_item.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "engine/core/sys_rand.h"
#include "engine/file/string_util.h"
#include "game/data/skill_list.h"
#include "game/world/dungeon.h"
#include "game/world/item_factory.h"
#include "game/world/npc_factory.h"
#include "game/world/object_chara.h"
#include "game/world/object_linker.h"
#include "game/world/object_manager.h"
#include "game/world/object_npc.h"
#include "game/world/script_call.h"
#include "game/world/version_file.h"
#include "game/world/world_settings.h"

namespace {

// What an item without a kind answers for its targets: it cannot be used.
const TARGET_FLAG kCannotUse(0xFFFFFFFFu);

std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

constexpr std::uint64_t kWeightMax = std::numeric_limits<std::uint32_t>::max();

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    return std::min(a + b, kWeightMax);
}

std::uint64_t saturatingMul(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > kWeightMax / a) return kWeightMax;
    return std::min(a * b, kWeightMax);
}

std::uint64_t nonNegative(std::int64_t v) {
    return v > 0 ? static_cast<std::uint64_t>(v) : 0;
}

ObjectItem* itemOf(const LinkList<ObjectItem>* node) {
    return node && !node->isHead ? node->obj : nullptr;
}

// An item's own node in the inventory lists: an item is never without one,
// so when the pool has no room for it the item is not made (std::bad_alloc).
LinkList<ObjectItem>* ownNode(ObjectItem* item) {
    auto* node = new LinkList<ObjectItem>(item);
    if (!node) throw std::bad_alloc();
    node->isOwn = true;
    return node;
}

}  // namespace

ObjectItem::ObjectItem() : linkSelf_(ownNode(this)) {
    contents_.isHead = true;
}

ObjectItem::ObjectItem(std::string_view name, const Point& chip, const Color& color, ItemBase* base)
    : ObjectBase(name, chip, color, TYPE_ITEM, INFO_ITEM, Point(0, 0), true, false),
      base_(base),
      linkSelf_(ownNode(this)) {
    contents_.isHead = true;
    setStanding(false);
}

ObjectItem::ObjectItem(const ObjectItem& other)
    : ObjectBase(other),
      base_(other.base_),
      stock_(other.stock_),
      level_(other.level_),
      state_(other.state_),
      linkSelf_(ownNode(this)),
      subSkillTag_(other.subSkillTag_),
      corpse_(other.corpse_),
      rotting_(other.rotting_),
      mimic_(other.mimic_),
      useCount_(other.useCount_) {
    contents_.isHead = true;
    if (!other.isStanding()) setStanding(false);
}

void ObjectItem::teardown() {
    ObjectBase::teardown();
    releaseHolders();
}

ObjectItem::~ObjectItem() {
    // Holders teardown did not reach let go without a word to the scripts.
    auto* chara = qel::classCast<ObjectChara>(equipChara_);
    auto* npc = qel::classCast<ObjectNpc>(bindChara_);
    equipChara_ = nullptr;
    bindChara_ = nullptr;
    linkSelf_->remove();
    if (chara) chara->dropEquipped(this);
    if (npc) npc->forgetLeash(this);
    // The contents stay with the manager, held by nobody.
    while (contents_.next) contents_.next->remove();
    delete linkSelf_;
    linkSelf_ = nullptr;
}

// ---- Virtual operations -----------------------------------------------------

void ObjectItem::kill() {
    ObjectBase::kill();
    stock_ = 0;
}

Color ObjectItem::getFieldColor() const {
    Color color = ObjectBase::getFieldColor();
    if (!isFreeze()) return color;
    const Color freeze = FREEZE_COLOR;
    color = Color::Lerp(color, freeze, static_cast<float>(freeze.a) / 256.0f);
    color.a = 255;
    return color;
}

const Color& ObjectItem::getColor() const {
    const Color& own = ObjectBase::getColor();
    // The transparent black marker stands for the kind's name colour.
    if (base_ && own.argb() == Color::TRANSPARENT_BLACK.argb()) {
        return base_->getItemName().getColor();
    }
    return own;
}

void ObjectItem::setPos(std::int32_t x, std::int32_t y) {
    ObjectBase::setPos(x, y);
    for (ObjectItem* item : contents_) {
        if (item) item->setPos(x, y);
    }
}

const char* ObjectItem::getName() const {
    return getName("default");
}

const char* ObjectItem::getName(const char* kind) const {
    // A script that deletes the item here leaves it whole until the
    // operation the caller runs in ends, the name cache included.
    const NpcBase* corpse = corpse_.get();
    const std::optional<std::string> text = ScriptCall(script_callback::GetItemName)
                                                .object(this, "ObjectItem")
                                                .text(corpse ? corpse->name.c_str() : "")
                                                .text(kind)
                                                .askText();
    const char* name = text ? text->c_str() : base_ ? base_->name() : "";
    nameCache_ = qel::cutString(name, 0, ItemName::kTextLimit);
    return nameCache_.c_str();
}

void ObjectItem::takeLinkedItem(ObjectBase* item, bool intoInventory) {
    ObjectItem* held = qel::classCast<ObjectItem>(item);
    if (!held || intoInventory) return;
    LinkList<ObjectItem>* last = &contents_;
    while (last->next) last = last->next;
    if (held->addLinkSelf(last)) held->setPos(getPos());
}

// ---- Kind and state ---------------------------------------------------------

const ItemMaterial& ObjectItem::getMaterial() const {
    static const ItemMaterial kNone;
    return base_ ? base_->material() : kNone;
}

const TARGET_FLAG& ObjectItem::getReadTarget() const {
    return base_ ? base_->read() : kCannotUse;
}

const TARGET_FLAG& ObjectItem::getZapTarget() const {
    return base_ ? base_->zap() : kCannotUse;
}

const TARGET_FLAG& ObjectItem::getUseTarget() const {
    return base_ ? base_->use() : kCannotUse;
}

const Dice& ObjectItem::getDamageDice() const {
    static const Dice kNone;
    return base_ ? base_->damageDice() : kNone;
}

bool ObjectItem::isWeapon() const {
    const std::int32_t t = getItemType();
    return t == ItemBase::ITEM_ONEHAND || t == ItemBase::ITEM_TWOHAND || t == ItemBase::ITEM_BOW;
}

bool ObjectItem::isArmor() const {
    const std::int32_t t = getItemType();
    return t == ItemBase::ITEM_LEFTHAND || (t >= ItemBase::ITEM_HEAD && t <= ItemBase::ITEM_SHOES);
}

std::int32_t ObjectItem::setBit(STATE::Bit bit, bool on) {
    if (state_.test(bit) == on) return RES_ALREADY;
    state_.set(bit, on);
    return RES_SUCCESS;
}

std::int32_t ObjectItem::setAbility(STATE::Bit bit, bool on, bool allowed) {
    if (!base_) return RES_SUCCESS;
    if (state_.test(bit) == on) return RES_ALREADY;
    state_.set(bit, on && allowed);
    return state_.test(bit) == on ? RES_SUCCESS : RES_NEVER;
}

std::int32_t ObjectItem::setBlessing(STATE::Bit bit, STATE::Bit other, bool on, float chance) {
    if (!base_) return RES_SUCCESS;
    if (state_.test(bit) == on) return RES_ALREADY;
    if (on) {
        if (chance < 0.0f) return RES_NEVER;
        state_.set(other, false);
    }
    state_.set(bit, on);
    return RES_SUCCESS;
}

std::int32_t ObjectItem::setCurse(bool on) {
    return setBlessing(STATE::CURSE, STATE::BLESS, on, base_ ? base_->curse() : 0.0f);
}

std::int32_t ObjectItem::setBless(bool on) {
    return setBlessing(STATE::BLESS, STATE::CURSE, on, base_ ? base_->bless() : 0.0f);
}

bool ObjectItem::isNameIdentify() const {
    return base_ && base_->getItemName().getState() == ItemName::ANALYZE;
}

bool ObjectItem::isIdentify() const {
    return isNameIdentify() && isStateIdentify() && isCountIdentify();
}

std::int32_t ObjectItem::setIdentify(bool on) {
    if (!base_) return RES_SUCCESS;
    if (isIdentify() == on) return RES_ALREADY;
    state_.set(STATE::STATE_IDENTIFY, on);
    if (base_->countUnknown()) state_.set(STATE::COUNT_IDENTIFY, on);
    base_->getItemName().setState(on ? ItemName::ANALYZE : ItemName::UNKNOWN);
    return RES_SUCCESS;
}

std::int32_t ObjectItem::setNameIdentify(bool on) {
    if (!base_) return RES_SUCCESS;
    ItemName& name = base_->getItemName();
    const std::int32_t wanted = on ? ItemName::ANALYZE : ItemName::UNKNOWN;
    if (name.getState() == wanted) return RES_ALREADY;
    name.setState(wanted);
    return RES_SUCCESS;
}

bool ObjectItem::canAssume() const {
    return base_ && base_->identify() == 0 && base_->getItemName().getState() != ItemName::ANALYZE;
}

void ObjectItem::setAssumeName(const char* name) {
    if (base_) base_->getItemName().toAssumed(name);
}

void ObjectItem::setFreeze(bool on) {
    state_.set(STATE::FREEZE, on);
    const std::uint8_t priority = INFO_ITEM.priority();
    setPriority(on ? static_cast<std::uint8_t>(priority - 1) : priority);
}

void ObjectItem::MonsterKindRef::set(const NpcBase* kind) {
    held_ = kind != nullptr;
    id_ = kind ? kind->id : 0;
}

const NpcBase* ObjectItem::MonsterKindRef::get() const {
    return held_ ? NpcFactory::instance().getBaseId(id_) : nullptr;
}

std::uint32_t ObjectItem::MonsterKindRef::savedId() const {
    return held_ ? static_cast<std::uint32_t>(id_) : 0;
}

void ObjectItem::MonsterKindRef::setSavedId(std::uint32_t id) {
    held_ = id != 0;
    id_ = static_cast<std::int32_t>(id);
}

std::int32_t ObjectItem::getFoodSize() const {
    const NpcBase* corpse = corpse_.get();
    if (base_ && base_->type() == ItemBase::ITEM_CORPSE && corpse) return corpse->corpseSize;
    return base_ ? base_->minLevel() : 0;
}

const char* ObjectItem::getEatEffect() const {
    const NpcBase* corpse = corpse_.get();
    return corpse ? corpse->getEatEffect() : nullptr;
}

void ObjectItem::setMimic(const NpcBase* kind) {
    mimic_.set(kind);
    state_.set(STATE::MIMIC, kind != nullptr);
}

// ---- Stock and level --------------------------------------------------------

std::int32_t ObjectItem::stockCap() const {
    return getItemType() == ItemBase::ITEM_MONEY ? kMoneyStockMax : kStockMax;
}

bool ObjectItem::setStock(std::int32_t n) {
    if (!base_) return false;
    if (n == 0) {
        kill();
        return true;
    }
    if (!canStock()) return false;
    stock_ = std::clamp(n, 0, stockCap());
    return true;
}

bool ObjectItem::addStock(std::int32_t n) {
    if (!base_) return false;
    const std::int64_t sum = static_cast<std::int64_t>(stock_) + n;
    if (sum <= 0) {
        kill();
        return true;
    }
    if (!canStock()) return false;
    stock_ = static_cast<std::int32_t>(std::min<std::int64_t>(sum, stockCap()));
    return true;
}

void ObjectItem::setLevel(std::int32_t n) {
    if (isWeapon()) {
        n = std::max(n, WEAPON_LEVEL_MIN);
    } else if (isArmor()) {
        n = std::max(n, ARMOR_LEVEL_MIN);
    }
    level_ = n;
}

void ObjectItem::addLevel(std::int32_t n) {
    setLevel(clampToInt32(static_cast<std::int64_t>(level_) + n));
}

// ---- Stacks and places ------------------------------------------------------

bool ObjectItem::isSame(const ObjectItem* other) const {
    return other && base_ == other->base_ && level_ == other->level_ &&
           bindChara_ == other->bindChara_ && !isMimic() && !other->isMimic() &&
           state_.val == other->state_.val;
}

bool ObjectItem::marge(ObjectItem* other) {
    if (!other || other == this || !base_ || !canStock() || stock_ == 0 || other->stock_ == 0 ||
        !isSame(other)) {
        return false;
    }
    if (getItemType() != ItemBase::ITEM_ARROW && (equipChara_ || other->equipChara_)) return false;
    const std::int64_t sum = static_cast<std::int64_t>(stock_) + other->stock_;
    if (sum > stockCap()) return false;
    stock_ = static_cast<std::int32_t>(sum);
    if (getIdentityName()[0] == '\0') setName(other->getIdentityName());
    other->kill();
    return true;
}

ObjectItem* ObjectItem::split(std::int32_t n) {
    if (!canStock() || n <= 0 || n >= stock_) return nullptr;
    ObjectItem* copy = nullptr;
    try {
        copy = new ObjectItem(*this);
    } catch (const std::bad_alloc&) {
    }
    if (!copy) return nullptr;
    stock_ -= n;
    copy->stock_ = n;
    if (linkSelf_->prev) copy->addLinkSelf(linkSelf_);
    return copy;
}

ObjectItem* ObjectItem::organize() {
    if (linkSelf_->prev) {
        for (LinkList<ObjectItem>* n = linkSelf_->prev; n; n = n->prev) {
            if (ObjectItem* item = itemOf(n); item && item->marge(this)) return item;
        }
        for (LinkList<ObjectItem>* n = linkSelf_->next; n; n = n->next) {
            if (ObjectItem* item = itemOf(n); item && item->marge(this)) return item;
        }
        return this;
    }
    if (!isStanding() || !getManager()) return this;
    LinkList<ObjectBase>* head = getManager()->getLinkPosRoot(getPos());
    for (LinkList<ObjectBase>* n = head ? head->next : nullptr; n; n = n->next) {
        ObjectItem* item = qel::classCast<ObjectItem>(n->obj);
        if (item && item != this && item->marge(this)) return item;
    }
    return this;
}

bool ObjectItem::holds(const LinkList<ObjectItem>* node) const {
    std::vector<const ObjectItem*> pending{this};
    while (!pending.empty()) {
        const ObjectItem* item = pending.back();
        pending.pop_back();
        if (node == item->linkSelf_ || node == &item->contents_) return true;
        for (const LinkList<ObjectItem>* n = item->contents_.next; n; n = n->next) {
            if (n->obj) pending.push_back(n->obj);
        }
    }
    return false;
}

bool ObjectItem::isSubWeapon() const {
    const auto* chara = qel::classCast<ObjectChara>(equipChara_);
    return chara && getItemType() == ItemBase::ITEM_ONEHAND &&
           chara->getEquip(ObjectChara::EQUIP_LEFT) == this;
}

void ObjectItem::bindTo(ObjectNpc* npc) {
    if (npc) {
        npc->setLeash(this);
        return;
    }
    if (auto* holder = qel::classCast<ObjectNpc>(bindChara_)) holder->forgetLeash(this);
    bindChara_ = nullptr;
}

void ObjectItem::releaseHolders() {
    if (auto* chara = qel::classCast<ObjectChara>(equipChara_)) chara->desarm(this);
    if (auto* npc = qel::classCast<ObjectNpc>(bindChara_)) npc->forgetLeash(this);
    equipChara_ = nullptr;
    bindChara_ = nullptr;
}

void ObjectItem::detach() {
    linkSelf_->remove();
    setVisible(true);
    releaseHolders();
}

void ObjectItem::becomeHeld(bool held) {
    setStanding(!held);
}

bool ObjectItem::addLinkSelf(LinkList<ObjectItem>* node) {
    if (node && holds(node)) return false;
    detach();
    if (node) {
        node->insert(linkSelf_);
        setVisible(false);
        becomeHeld(true);
    }
    return true;
}

bool ObjectItem::put(std::int32_t x, std::int32_t y, bool merge) {
    if (!Dungeon::checkRange(x, y)) return false;
    if (isStanding() && getPos() == Point(x, y)) return false;
    if (!getManager()) {
        ObjectManager* manager = gameManager();
        if (!manager || !manager->add(this)) return false;
    }
    detach();
    LinkList<ObjectBase>* head = getManager()->getLinkPosRoot(x, y);
    if (merge) {
        for (LinkList<ObjectBase>* n = head->next; n; n = n->next) {
            ObjectItem* item = qel::classCast<ObjectItem>(n->obj);
            if (item && item != this && item->marge(this)) return false;
        }
    }
    setStanding(false);
    setPos(x, y);
    setStanding(true);
    // Last in the cell's list: newly placed items lie on top of the others.
    LinkList<ObjectBase>* last = head;
    while (last->next) last = last->next;
    if (last != getLinkPos()) last->insert(getLinkPos());
    return true;
}

bool ObjectItem::consume() {
    if (!base_) return false;
    if (qel::SysRand::instance().getFloat01() >= base_->consumePer()) return false;
    if (canStock()) {
        addStock(-1);
    } else {
        kill();
    }
    return true;
}

bool ObjectItem::putInventory(ObjectItem* item) {
    if (!item || item->holds(&contents_)) return false;
    for (ObjectItem* content : contents_) {
        if (content && content->marge(item)) return true;
    }
    LinkList<ObjectItem>* last = &contents_;
    while (last->next) last = last->next;
    if (!item->addLinkSelf(last)) return false;
    item->setPos(getPos());
    return true;
}

std::int32_t ObjectItem::getInventoryCount() const {
    std::int32_t count = 0;
    for (const LinkList<ObjectItem>* n = contents_.next; n; n = n->next) ++count;
    return count;
}

std::uint32_t ObjectItem::getTotalWeight() const {
    if (!base_) return 0;
    std::uint64_t contents = 0;
    for (const ObjectItem* item : contents_) {
        if (item) contents = saturatingAdd(contents, item->getTotalWeight());
    }
    if (contents > 0) {
        float ratio = 1.0f;
        if (base_->luaFunc() == "BagLight") ratio = BAG_LIGHT_RATIO;
        if (base_->luaFunc() == "BagWeight") ratio = BAG_WEIGHT_RATIO;
        if (ratio != 1.0f) {
            const double scaled = std::ceil(static_cast<double>(contents) * ratio);
            contents = std::isnan(scaled) || scaled <= 0.0
                           ? 0
                           : static_cast<std::uint64_t>(std::min(scaled, double(kWeightMax)));
        }
    }
    std::uint64_t own = saturatingMul(nonNegative(base_->weight()), nonNegative(stock_));
    if (canEat()) own = saturatingMul(own, nonNegative(level_));
    return static_cast<std::uint32_t>(saturatingAdd(own, contents));
}

// ---- Skills, corpse, counters -----------------------------------------------

const char* ObjectItem::getSkillTag() const {
    if (const auto* chara = qel::classCast<ObjectChara>(equipChara_)) {
        for (std::int32_t slot = 0; slot < ObjectChara::EQUIP_POS_MAX; ++slot) {
            if (chara->getEquip(slot) == this) return ObjectChara::broughtSkill(this, slot);
        }
    }
    return getBaseSkillTag();
}

void ObjectItem::setCorpse(const NpcBase* kind, std::int32_t rotting, std::int32_t level) {
    corpse_.set(kind);
    rotting_ = rotting;
    level_ = level;
}

void ObjectItem::setRotting(std::int32_t n) {
    rotting_ = std::min(n, CORPSE_ROTTING);
}

void ObjectItem::addRotting(std::int32_t n) {
    setRotting(clampToInt32(static_cast<std::int64_t>(rotting_) + n));
}

void ObjectItem::addUseCount(std::int32_t n) {
    useCount_ = clampToInt32(static_cast<std::int64_t>(useCount_) + n);
}

// ---- Figures ----------------------------------------------------------------

Color ObjectItem::getNameColor(bool equipped) const {
    const Skill* sub = SkillList::instance().get(subSkillTag_);
    if (equipped && equipChara_) return COLOR_EQUIP;
    if (!isIdentify()) return COLOR_UNKNOWN;
    if (sub && sub->type() == Skill::SKILL_GRUDGE) return COLOR_GRUDGE;
    if (isCurse()) return COLOR_CURSE;
    if (isBless()) return COLOR_BLESS;
    if (sub) return COLOR_MAGIC;
    return COLOR_ITEM;
}

std::int32_t ObjectItem::price(float base, float perLevel) const {
    const std::int64_t level = static_cast<std::int64_t>(level_) + (subSkillTag_.empty() ? 0 : 3);
    const double each = std::trunc(static_cast<double>(base) +
                                   static_cast<double>(perLevel) * static_cast<double>(level));
    const double total = each * stock_;
    if (std::isnan(total)) return 0;
    return clampToInt32(static_cast<std::int64_t>(std::clamp(total, -9.0e18, 9.0e18)));
}

std::int32_t ObjectItem::getSell() const {
    return base_ ? price(base_->sell(), base_->sellUp()) : 0;
}

std::int32_t ObjectItem::getBuy() const {
    return base_ ? price(base_->buy(), base_->buyUp()) : 0;
}

std::int32_t ObjectItem::getScore() const {
    return base_ ? price(base_->score(), base_->scoreUp()) : 0;
}

// ---- Save -------------------------------------------------------------------

bool ObjectItem::serialize(VersionFile& file) {
    if (!ObjectBase::serialize(file)) return false;
    const bool reading = file.isReadMode();
    std::uint32_t baseId = base_ ? static_cast<std::uint32_t>(base_->id()) : 0;
    if (!file.serialize(baseId)) return false;
    if (reading) {
        base_ = ItemFactory::instance().getBaseId(static_cast<std::int32_t>(baseId));
        if (!base_) return false;
    }
    // The contents, then 0.
    if (reading) {
        for (;;) {
            std::uint32_t id = 0;
            if (!file.serialize(id)) return false;
            if (id == 0) break;
            ObjectLinker::instance().recordHeldItem(id, this);
        }
    } else {
        for (const ObjectItem* item : contents_) {
            std::uint32_t id = item ? item->getId() : 0;
            if (id != 0 && !file.serialize(id)) return false;
        }
        std::uint32_t end = 0;
        if (!file.serialize(end)) return false;
    }
    std::uint32_t equipId = equipChara_ ? equipChara_->getId() : 0;
    std::uint32_t bindId = bindChara_ ? bindChara_->getId() : 0;
    // Monster kinds are saved by id; 0 stands for none, and an id the monster
    // table no longer has reads back as none.
    std::uint32_t corpseId = corpse_.savedId();
    std::uint32_t mimicId = mimic_.savedId();
    std::uint32_t stock = static_cast<std::uint32_t>(stock_);
    std::uint32_t level = static_cast<std::uint32_t>(level_);
    std::uint32_t rotting = static_cast<std::uint32_t>(rotting_);
    std::uint32_t useCount = static_cast<std::uint32_t>(useCount_);
    if (!file.serialize(equipId) || !file.serialize(bindId) || !file.serialize(corpseId) ||
        !file.serialize(mimicId) || !file.serialize(stock) || !file.serialize(level) ||
        !file.serialize(state_.val) || !file.serialize(rotting) ||
        !file.serializeString(subSkillTag_) || !file.serialize(useCount)) {
        return false;
    }
    if (reading) {
        ObjectLinker::instance().record(equipId, this, &equipChara_,
                                        &ObjectChara::staticClassInfo());
        ObjectLinker::instance().record(bindId, this, &bindChara_, &ObjectNpc::staticClassInfo());
        corpse_.setSavedId(corpseId);
        mimic_.setSavedId(mimicId);
        stock_ = static_cast<std::int32_t>(stock);
        level_ = static_cast<std::int32_t>(level);
        rotting_ = static_cast<std::int32_t>(rotting);
        useCount_ = static_cast<std::int32_t>(useCount);
    }
    return true;
}
