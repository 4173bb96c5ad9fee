#include "game/data/item_base.h"

#include <cmath>
#include <cstdint>

#include "engine/file/string_util.h"
#include "game/data/csv_reader.h"

namespace {

// A satiety cell: -1 stays -1 (the item cannot be eaten or drunk that way),
// other values scale by the factor and are cut toward zero, within 32 bits.
std::int32_t satiety(float cell, float factor) {
    if (cell == -1.0f) return -1;
    const double scaled = std::trunc(static_cast<double>(cell) * static_cast<double>(factor));
    if (std::isnan(scaled) || scaled < -1.0) return -1;
    if (scaled > 2147483647.0) return INT32_MAX;
    return static_cast<std::int32_t>(scaled);
}

// A price cell: atof, with a 0 from a cell not beginning with '0' as -1.
float price(CsvReader& reader) {
    const std::string& cell = reader.readText();
    const float value = CsvReader::atofFloat(cell);
    return value == 0.0f && (cell.empty() || cell[0] != '0') ? -1.0f : value;
}

TARGET_FLAG target(CsvReader& reader) {
    return TARGET_FLAG(static_cast<std::uint32_t>(qel::parseHex(reader.readText())));
}

}  // namespace

ItemBase::ItemBase() = default;
ItemBase::~ItemBase() = default;

std::int32_t ItemBase::EquipPosOf(std::int32_t type) {
    static constexpr std::int32_t kPos[] = {0, 0, 1, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    return type >= ITEM_ONEHAND && type <= ITEM_ACCESSORY ? kPos[type - 1] : EQUIP_NONE;
}

bool ItemBase::parse(CsvReader& reader, std::int32_t id, float satietyFactor) {
    id_ = id;
    library_ = reader.readInt(-1);
    nameId_ = reader.readText();
    itemName_.setMainName(nameId_.c_str());
    itemName_.setSecondMainName(reader.readText().c_str());
    luaFunc_ = reader.readText();
    type_ = reader.readInt(-1);
    reader.readChip(chip_);
    const std::string& nameCell = reader.readText();
    if (!nameCell.empty() && nameCell[0] == '0') {
        nameType_.clear();
        itemName_.setColor(
            qel::Color(static_cast<std::uint32_t>(qel::parseHex(nameCell)) | 0xFF000000u));
    } else {
        nameType_ = nameCell;
    }
    material_ = ItemMaterial::fromLetters(reader.readText());
    weight_ = reader.readInt(-1);
    stock_ = reader.readBool();
    denom_ = reader.readText();
    minStock_ = reader.readInt(-1);
    maxStock_ = reader.readInt(-1);
    enhance_ = reader.readBool();
    curse_ = reader.readFloat(-1.0f);
    bless_ = reader.readFloat(-1.0f);
    identify_ = reader.readInt(-1);
    countUnknown_ = reader.readBool();
    burst_ = reader.readBool();
    fire_ = reader.readBool();
    rust_ = reader.readBool();
    minLevel_ = reader.readInt(-1);
    maxLevel_ = reader.readInt(-1);
    eat_ = satiety(reader.readFloat(-1.0f), satietyFactor);
    quaff_ = satiety(reader.readFloat(-1.0f), satietyFactor);
    read_ = target(reader);
    zap_ = target(reader);
    use_ = target(reader);
    throwEnable_ = reader.readBool();
    giveEnable_ = reader.readBool();
    brokenEnable_ = reader.readBool();
    consumePer_ = reader.readFloat(-1.0f);
    effect_ = reader.readInt(-1);
    group_ = reader.readInt(-1);
    for (std::int32_t& per : createPer_) per = reader.readInt(-1);
    wish_ = reader.readBool();
    sell_ = price(reader);
    sellUp_ = price(reader);
    buy_ = price(reader);
    buyUp_ = price(reader);
    score_ = price(reader);
    scoreUp_ = price(reader);
    skillTag_ = reader.readText();
    damageDice_.Create(reader.readText());
    hit_ = reader.readInt(0);
    range_ = reader.readInt(1);
    deffence_ = reader.readInt(0);
    avoid_ = reader.readInt(0);
    resist_ = reader.readInt(0);
    magic_ = reader.readInt(0);
    torch_ = reader.readInt(0);
    explain_ = reader.readText();
    return id_ > 0 && reader.isGood();
}
