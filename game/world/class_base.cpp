#include "game/world/class_base.h"

#include "engine/file/string_util.h"
#include "game/data/csv_reader.h"
#include "game/world/creation_row.h"
#include "game/world/object_player.h"

bool ClassBase::parse(CsvReader& reader, std::int32_t rowId) {
    id_ = rowId;
    name_ = reader.readText();
    reader.readText();  // a column the game does not use
    nameMini_ = reader.readText();
    start_ = reader.readBool();
    baseId_ = reader.readInt(-1);
    reader.readChip(chip_);
    color_ = Color(static_cast<std::uint32_t>(qel::parseHex(reader.readText())) | 0xFF000000u);
    status_.init();
    creation_row::readStatus(reader, status_);
    creation_row::readSkills(reader, skills_, expression_);
    return reader.isGood();
}

bool ClassBase::upgrade(ObjectPlayer* player) const {
    if (!player) return false;
    player->setCharaClass(name_, id_);
    player->setColor(color_);
    creation_row::addStatus(*player, status_);
    creation_row::enableSkills(*player, skills_);
    return true;
}

const char* ClassBase::skill(std::int64_t index) const {
    return creation_row::skillAt(skills_, index);
}
