// An item on the map, in a character's inventory, inside a container, or
// equipped: a map object of one item kind (ItemBase) with a stack count, a
// level, state bits, and the list node by which it sits in an inventory or a
// container's contents.
//
// What it keeps true:
//   - An item is in at most one list, and never inside itself or anything
//     it contains: every way in (putInventory, addLinkSelf, the save linker)
//     refuses such a move and changes nothing.
//   - An item held in a list does not stand on the map; its position only
//     follows its holder. A standing item's contents follow it.
//   - The stock stays within 0..cap (999, or 99999 for money); a stack that
//     reaches 0 through addStock or setStock(0) is killed. Merges that would
//     pass the cap are refused whole.
//   - Destruction leaves the equipper, the leash and the list; the contents
//     stay with the manager, held by nobody.
//   - An item without a kind (made by the plain constructor) answers 0,
//     false or "" and refuses every change that needs its kind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "game/data/item_base.h"
#include "game/world/link_list.h"
#include "game/world/object_base.h"

class NpcBase;
class ObjectNpc;

class ObjectItem : public ObjectBase {
public:
    // Results of the state setters.
    enum Result : std::int32_t { RES_SUCCESS = 0, RES_ALREADY = 1, RES_NEVER = 2, RES_ANOTHER = 3 };
    static constexpr std::int32_t kStockMax = 999;
    static constexpr std::int32_t kMoneyStockMax = 99999;

    // The state word: bit 0 burst .. bit 11 mimic.
    struct STATE {
        enum Bit : int {
            BURST = 0,
            FIRE,
            RUST,
            CURSE,
            BLESS,
            STATE_IDENTIFY,
            COUNT_IDENTIFY,
            SHOP,
            FREEZE,
            LOCK,
            TAKE,
            MIMIC,
            BIT_COUNT
        };
        static constexpr const char* NAMES[BIT_COUNT] = {
            "burst",         "fire", "rust",   "curse", "bless", "stateIdentify",
            "countIdentify", "shop", "freeze", "lock",  "take",  "mimic"};
        std::uint32_t val = 0;
        static constexpr std::uint32_t mask(Bit b) { return 1u << b; }
        constexpr bool test(Bit b) const { return (val & mask(b)) != 0; }
        constexpr void set(Bit b, bool on) { val = on ? val | mask(b) : val & ~mask(b); }
    };

    // No kind, in no manager, stock 1.
    ObjectItem();
    // A new item of `base` (may be null) in the game's manager, standing
    // nowhere until placed.
    ObjectItem(std::string_view name, const Point& chip, const Color& color, ItemBase* base);
    // The other's kind, stock, level, state and counters under a new id, in
    // no list; it stands where the other stands.
    ObjectItem(const ObjectItem& other);
    ~ObjectItem() override;

    QEL_CLASS(ObjectItem, ObjectBase, qel::Pool::World);

    // ---- Virtual operations -------------------------------------------------
    void kill() override;
    Color getFieldColor() const override;
    bool serialize(VersionFile& file) override;
    const char* getName() const override;
    const Color& getColor() const override;
    void setPos(std::int32_t x, std::int32_t y) override;
    void takeLinkedItem(ObjectBase* item, bool intoInventory) override;
    using ObjectBase::setPos;

    // The name the scripts' GetItemName gives for `kind` (null passes nil);
    // the kind's current name when it gives no text.
    const char* getName(const char* kind) const;
    const char* getIdentityName() const { return ObjectBase::getName(); }
    void setIdentityName(const char* name) { setName(name ? name : ""); }

    // ---- Kind ---------------------------------------------------------------
    ItemBase* getBase() const { return base_; }
    void setBase(ItemBase* base) { base_ = base; }
    ItemName* getItemName() const { return base_ ? &base_->getItemName() : nullptr; }
    std::int32_t getItemType() const { return base_ ? base_->type() : 0; }
    bool canStock() const { return base_ && base_->stock(); }
    bool isWeapon() const;
    bool isArmor() const;
    bool isInventory() const { return getItemType() == ItemBase::ITEM_INVENTORY; }
    bool isEquip() const { return base_ && base_->isEquip(); }
    std::int32_t getEquipPos() const { return ItemBase::EquipPosOf(getItemType()); }
    bool canEat() const { return base_ && base_->eat() != -1; }

    // The kind's figures as the item shows them; 0, false or "" without a
    // kind (-1 for the use values, which mean "cannot").
    std::uint32_t getBaseId() const { return base_ ? static_cast<std::uint32_t>(base_->id()) : 0; }
    std::uint32_t getLibrary() const {
        return base_ ? static_cast<std::uint32_t>(base_->library()) : 0;
    }
    const char* getLuaFunc() const { return base_ ? base_->luaFunc().c_str() : ""; }
    std::uint32_t getWeight() const {
        return base_ ? static_cast<std::uint32_t>(base_->weight()) : 0;
    }
    const ItemMaterial& getMaterial() const;
    const char* getDenom() const { return base_ ? base_->denom().c_str() : ""; }
    bool canEnhance() const { return base_ && base_->enhance(); }
    bool canCurse() const { return base_ && base_->curse() >= 0.0f; }
    bool canBless() const { return base_ && base_->bless() >= 0.0f; }
    bool canBaseFire() const { return base_ && base_->fire(); }
    bool canBaseBurst() const { return base_ && base_->burst(); }
    bool canBaseRust() const { return base_ && base_->rust(); }
    bool canQuaff() const { return base_ && base_->quaff() != -1; }
    bool canRead() const { return base_ && base_->read().val != 0xFFFFFFFFu; }
    bool canZap() const { return base_ && base_->zap().val != 0xFFFFFFFFu; }
    bool canUse() const { return base_ && base_->use().val != 0xFFFFFFFFu; }
    // The kind's targets when read, zapped and used; without a kind, the
    // all-ones word that means "cannot".
    const TARGET_FLAG& getReadTarget() const;
    const TARGET_FLAG& getZapTarget() const;
    const TARGET_FLAG& getUseTarget() const;
    bool isTwoHand() const { return base_ && base_->isTwoHand(); }
    std::int32_t getEat() const { return base_ ? base_->eat() : -1; }
    std::int32_t getQuaff() const { return base_ ? base_->quaff() : -1; }
    bool getThrow() const { return base_ && base_->throwEnable(); }
    bool getGive() const { return base_ && base_->giveEnable(); }
    bool getBroken() const { return base_ && base_->brokenEnable(); }
    float getConsumePer() const { return base_ ? base_->consumePer() : 0.0f; }
    bool isGoodEffect() const { return base_ && base_->effect() == 1; }
    bool isBadEffect() const { return base_ && base_->effect() == 2; }
    std::int32_t getHit() const { return base_ ? base_->hit() : 0; }
    std::int32_t getRange() const { return base_ ? base_->range() : 0; }
    std::int32_t getDeffence() const { return base_ ? base_->deffence() : 0; }
    std::int32_t getAvoid() const { return base_ ? base_->avoid() : 0; }
    std::int32_t getResist() const { return base_ ? base_->resist() : 0; }
    std::int32_t getMagic() const { return base_ ? base_->magic() : 0; }
    std::int32_t getTorch() const { return base_ ? base_->torch() : 0; }
    const char* getExplain() const { return base_ ? base_->explain().c_str() : ""; }
    const Dice& getDamageDice() const;

    // ---- State --------------------------------------------------------------
    const STATE& getState() const { return state_; }
    std::int32_t setBurst(bool on) { return setAbility(STATE::BURST, on, base_ && base_->burst()); }
    std::int32_t setFire(bool on) { return setAbility(STATE::FIRE, on, base_ && base_->fire()); }
    std::int32_t setRust(bool on) { return setAbility(STATE::RUST, on, base_ && base_->rust()); }
    std::int32_t setCurse(bool on);
    std::int32_t setBless(bool on);
    std::int32_t setIdentify(bool on);
    std::int32_t setStateIdentify(bool on) { return setBit(STATE::STATE_IDENTIFY, on); }
    std::int32_t setCountIdentify(bool on) { return setBit(STATE::COUNT_IDENTIFY, on); }
    std::int32_t setNameIdentify(bool on);
    bool canAssume() const;
    void setAssumeName(const char* name);
    bool canBurst() const { return state_.test(STATE::BURST); }
    bool canFire() const { return state_.test(STATE::FIRE); }
    bool canRust() const { return state_.test(STATE::RUST); }
    bool isCurse() const { return state_.test(STATE::CURSE); }
    bool isBless() const { return state_.test(STATE::BLESS); }
    bool isNormal() const { return !isCurse() && !isBless(); }
    bool isNameIdentify() const;
    bool isIdentify() const;
    bool isStateIdentify() const { return state_.test(STATE::STATE_IDENTIFY); }
    bool isCountIdentify() const { return state_.test(STATE::COUNT_IDENTIFY); }
    void setShop(bool on) { state_.set(STATE::SHOP, on); }
    bool isShop() const { return state_.test(STATE::SHOP); }
    void setFreeze(bool on);
    bool isFreeze() const { return state_.test(STATE::FREEZE); }
    void setLock(bool on) { state_.set(STATE::LOCK, on); }
    bool isLock() const { return state_.test(STATE::LOCK); }
    void setTake(bool on) { state_.set(STATE::TAKE, on); }
    bool isTake() const { return state_.test(STATE::TAKE); }
    // A monster kind disguised as this item (bit 11 follows it); null clears
    // it.
    void setMimic(const NpcBase* kind);
    const NpcBase* getMimic() const { return mimic_.get(); }
    bool isMimic() const { return state_.test(STATE::MIMIC); }
    // The creation draws set the whole word.
    void setStateWord(std::uint32_t word) { state_.val = word; }

    // ---- Stock and level ----------------------------------------------------
    std::int32_t getStock() const { return stock_; }
    std::int32_t stockCap() const;
    bool setStock(std::int32_t n);
    bool addStock(std::int32_t n);
    std::int32_t getLevel() const { return level_; }
    void setLevel(std::int32_t n);
    void addLevel(std::int32_t n);
    // The creation draws store the drawn values as they are.
    void setRawStock(std::int32_t n) { stock_ = n; }
    void setRawLevel(std::int32_t n) { level_ = n; }

    // ---- Stacks and places --------------------------------------------------
    bool isSame(const ObjectItem* other) const;
    bool marge(ObjectItem* other);
    ObjectItem* split(std::int32_t n);
    ObjectItem* organize();
    // With a node: takes the item out of where it was and links it right
    // after `node`, hidden and off the map. Null: out of its list, visible.
    // False, and nothing changed, when `node` lies inside this item.
    bool addLinkSelf(LinkList<ObjectItem>* node);
    bool put(std::int32_t x, std::int32_t y, bool merge = true);
    bool put(const Point& p, bool merge = true) { return put(p.x, p.y, merge); }
    bool consume();
    // Puts `item` into this container, merging with the first content that
    // takes it. False for null, this item, or an item that contains this one.
    bool putInventory(ObjectItem* item);
    LinkList<ObjectItem>* getLinkSelf() const { return linkSelf_; }
    LinkList<ObjectItem>* getInventoryRoot() { return &contents_; }
    LinkList<ObjectItem>* getInventory() const { return contents_.next; }
    std::int32_t getInventoryCount() const;
    // The node's item is this one, or held (at any depth) inside it.
    bool holds(const LinkList<ObjectItem>* node) const;
    bool isDroped() const { return linkSelf_ && !linkSelf_->prev; }
    bool isFrozen() const { return isDroped() && isFreeze(); }
    // The item's stack and contents, in 64 bits, saturating at UINT32_MAX.
    std::uint32_t getTotalWeight() const;

    // ---- Holders ------------------------------------------------------------
    // The equipper and the monster bound to the item hold it from their side
    // too, and each side clears the other when it goes, so neither pointer
    // outlives its object.
    ObjectBase* getEquipChara() const { return equipChara_; }
    void setEquipChara(ObjectBase* chara) { equipChara_ = chara; }
    // A one-handed weapon its equipper holds in the left hand.
    bool isSubWeapon() const;
    ObjectBase* getBindChara() const { return bindChara_; }
    // One side of the bond only: ObjectNpc::setLeash and the save's linker
    // keep both sides.
    void setBindChara(ObjectBase* chara) { bindChara_ = chara; }
    // Binds the item to `npc` from both sides: the monster holding it before
    // lets it go, and `npc` lets go of the item it held. Null only unbinds.
    void bindTo(ObjectNpc* npc);

    // ---- Skills, corpse, counters -------------------------------------------
    const char* getSkillTag() const;
    const char* getBaseSkillTag() const { return base_ ? base_->skillTag().c_str() : ""; }
    const std::string& getSubSkillTag() const { return subSkillTag_; }
    void setSubSkillTag(const char* tag) { subSkillTag_ = tag ? tag : ""; }
    const NpcBase* getCorpse() const { return corpse_.get(); }
    // A corpse of a known monster: its corpse size; otherwise the kind's
    // minimum level.
    std::int32_t getFoodSize() const;
    // One draw of the corpse's monster's eat effects; null without a corpse
    // kind or when no effect is drawn.
    const char* getEatEffect() const;
    // Stores the monster kind (null for none), the rotting and the level as
    // given.
    void setCorpse(const NpcBase* kind, std::int32_t rotting, std::int32_t level);
    std::int32_t getRotting() const { return rotting_; }
    void setRotting(std::int32_t n);
    void addRotting(std::int32_t n);
    std::int32_t getUseCount() const { return useCount_; }
    void setUseCount(std::int32_t n) { useCount_ = n; }
    void addUseCount(std::int32_t n);

    // ---- Figures ------------------------------------------------------------
    Color getNameColor(bool equipped = false) const;
    std::int32_t getSell() const;
    std::int32_t getBuy() const;
    std::int32_t getScore() const;

protected:
    void teardown() override;

private:
    // A monster kind held by its definition's id: the factory deletes its
    // definitions when it loads a table again, and a kind no definition has
    // any more reads as none (a definition loaded under that id is found
    // again).
    class MonsterKindRef {
    public:
        void set(const NpcBase* kind);
        const NpcBase* get() const;
        // As saved: the id, 0 for none.
        std::uint32_t savedId() const;
        void setSavedId(std::uint32_t id);

    private:
        bool held_ = false;
        std::int32_t id_ = 0;
    };

    std::int32_t setAbility(STATE::Bit bit, bool on, bool allowed);
    std::int32_t setBit(STATE::Bit bit, bool on);
    std::int32_t setBlessing(STATE::Bit bit, STATE::Bit other, bool on, float chance);
    std::int32_t price(float base, float perLevel) const;
    // Out of its list, visible, off its equipper and leash.
    void detach();
    void releaseHolders();
    // Held in a list: off the map; out of every list: standing again.
    void becomeHeld(bool held);

    ItemBase* base_ = nullptr;
    std::int32_t stock_ = 1;
    std::int32_t level_ = 0;
    STATE state_;
    LinkList<ObjectItem>* linkSelf_ = nullptr;
    LinkList<ObjectItem> contents_;
    ObjectBase* equipChara_ = nullptr;
    std::string subSkillTag_;
    ObjectBase* bindChara_ = nullptr;
    MonsterKindRef corpse_;
    std::int32_t rotting_ = 0;
    MonsterKindRef mimic_;
    std::int32_t useCount_ = 0;
    mutable std::string nameCache_;
};
