// One kind of item: one row of the item table. Its names and their display
// state (ItemName, the only part that changes during a game), its picture,
// weight, prices, the ranges and chances a new item is drawn from, its use
// values and its equipment figures. Records belong to the item factory.
//
// What it keeps true: the id is positive; a use value (eat, quaff) or a
// target word of -1 means the item cannot be used that way.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "engine/math/point.h"
#include "game/data/dice.h"
#include "game/data/item_material.h"
#include "game/data/item_name.h"
#include "game/data/target_flag.h"

class CsvReader;

class ItemBase : public qel::ScriptObject {
public:
    // Item types. 1..12 are equipment.
    enum Type : std::int32_t {
        ITEM_ONEHAND = 1,
        ITEM_TWOHAND,
        ITEM_LEFTHAND,
        ITEM_BOOK,
        ITEM_BOW,
        ITEM_ARROW,
        ITEM_TORCH,
        ITEM_HEAD,
        ITEM_BODY,
        ITEM_GLOBE,
        ITEM_SHOES,
        ITEM_ACCESSORY,
        ITEM_POTION,
        ITEM_SCROLL,
        ITEM_WAND,
        ITEM_INVENTORY,
        ITEM_FOOD,
        ITEM_CORPSE,
        ITEM_JEWEL,
        ITEM_MONEY,
        ITEM_OTHER
    };
    static constexpr std::int32_t EQUIP_NONE = -1;
    // The four group tables a kind is drawn from.
    enum Table : int { TABLE_GROUP = 0, TABLE_PICK, TABLE_SHOP, TABLE_CHANGE, TABLE_COUNT };

    ItemBase();
    ~ItemBase() override;

    QEL_CLASS(ItemBase, qel::ScriptObject, qel::Pool::Resources);

    // Reads the row after its id cell. The eat and quaff cells are scaled by
    // `satietyFactor`. False when the id is not positive or the data ended
    // before the ',' after the explanation.
    bool parse(CsvReader& reader, std::int32_t id, float satietyFactor);

    bool isEquip() const { return type_ >= ITEM_ONEHAND && type_ <= ITEM_ACCESSORY; }
    bool isTwoHand() const { return type_ == ITEM_TWOHAND; }
    // The equipment slot of the type, EQUIP_NONE for every other type.
    std::int32_t getEquipPos() const { return EquipPosOf(type_); }
    static std::int32_t EquipPosOf(std::int32_t type);

    ItemName& getItemName() { return itemName_; }
    const ItemName& getItemName() const { return itemName_; }
    // The name that shows now (never a second name); null in an unknown state.
    const char* name() const { return itemName_.getName(false); }

    std::int32_t id() const { return id_; }
    std::int32_t library() const { return library_; }
    const std::string& nameId() const { return nameId_; }
    const std::string& luaFunc() const { return luaFunc_; }
    std::int32_t type() const { return type_; }
    const qel::Point& chip() const { return chip_; }
    const std::string& nameType() const { return nameType_; }
    const ItemMaterial& material() const { return material_; }
    std::int32_t weight() const { return weight_; }
    bool stock() const { return stock_; }
    const std::string& denom() const { return denom_; }
    void setDenom(std::string_view text) { denom_ = text; }
    std::int32_t minStock() const { return minStock_; }
    std::int32_t maxStock() const { return maxStock_; }
    bool enhance() const { return enhance_; }
    float curse() const { return curse_; }
    float bless() const { return bless_; }
    std::int32_t identify() const { return identify_; }
    bool countUnknown() const { return countUnknown_; }
    bool burst() const { return burst_; }
    bool fire() const { return fire_; }
    bool rust() const { return rust_; }
    std::int32_t minLevel() const { return minLevel_; }
    std::int32_t maxLevel() const { return maxLevel_; }
    std::int32_t eat() const { return eat_; }
    std::int32_t quaff() const { return quaff_; }
    const TARGET_FLAG& read() const { return read_; }
    const TARGET_FLAG& zap() const { return zap_; }
    const TARGET_FLAG& use() const { return use_; }
    bool throwEnable() const { return throwEnable_; }
    bool giveEnable() const { return giveEnable_; }
    bool brokenEnable() const { return brokenEnable_; }
    float consumePer() const { return consumePer_; }
    std::int32_t effect() const { return effect_; }
    std::int32_t group() const { return group_; }
    // The weight in group table i (0..3); 0 outside.
    std::int32_t createPer(std::int32_t i) const {
        return i >= 0 && i < TABLE_COUNT ? createPer_[static_cast<std::size_t>(i)] : 0;
    }
    bool wish() const { return wish_; }
    float sell() const { return sell_; }
    float sellUp() const { return sellUp_; }
    float buy() const { return buy_; }
    float buyUp() const { return buyUp_; }
    float score() const { return score_; }
    float scoreUp() const { return scoreUp_; }
    const std::string& skillTag() const { return skillTag_; }
    const Dice& damageDice() const { return damageDice_; }
    std::int32_t hit() const { return hit_; }
    std::int32_t range() const { return range_; }
    std::int32_t deffence() const { return deffence_; }
    std::int32_t avoid() const { return avoid_; }
    std::int32_t resist() const { return resist_; }
    std::int32_t magic() const { return magic_; }
    std::int32_t torch() const { return torch_; }
    const std::string& explain() const { return explain_; }
    void setExplain(std::string_view text) { explain_ = text; }

private:
    std::int32_t id_ = 0;
    std::int32_t library_ = -1;
    std::string nameId_;
    ItemName itemName_;
    std::string luaFunc_;
    std::int32_t type_ = -1;
    qel::Point chip_;
    std::string nameType_;
    ItemMaterial material_;
    std::int32_t weight_ = -1;
    bool stock_ = false;
    std::string denom_;
    std::int32_t minStock_ = -1;
    std::int32_t maxStock_ = -1;
    bool enhance_ = false;
    float curse_ = -1.0f;
    float bless_ = -1.0f;
    std::int32_t identify_ = -1;
    bool countUnknown_ = false;
    bool burst_ = false;
    bool fire_ = false;
    bool rust_ = false;
    std::int32_t minLevel_ = -1;
    std::int32_t maxLevel_ = -1;
    std::int32_t eat_ = -1;
    std::int32_t quaff_ = -1;
    TARGET_FLAG read_;
    TARGET_FLAG zap_;
    TARGET_FLAG use_;
    bool throwEnable_ = false;
    bool giveEnable_ = false;
    bool brokenEnable_ = false;
    float consumePer_ = -1.0f;
    std::int32_t effect_ = -1;
    std::int32_t group_ = -1;
    std::array<std::int32_t, TABLE_COUNT> createPer_{-1, -1, -1, -1};
    bool wish_ = false;
    float sell_ = -1.0f;
    float sellUp_ = -1.0f;
    float buy_ = -1.0f;
    float buyUp_ = -1.0f;
    float score_ = -1.0f;
    float scoreUp_ = -1.0f;
    std::string skillTag_;
    Dice damageDice_;
    std::int32_t hit_ = 0;
    std::int32_t range_ = 1;
    std::int32_t deffence_ = 0;
    std::int32_t avoid_ = 0;
    std::int32_t resist_ = 0;
    std::int32_t magic_ = 0;
    std::int32_t torch_ = 0;
    std::string explain_;
};
