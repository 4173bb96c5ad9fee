#include "game/world/race_base.h"

#include "engine/file/string_util.h"
#include "game/data/csv_reader.h"
#include "game/world/creation_row.h"
#include "game/world/object_player.h"

bool RaceBase::parse(CsvReader& reader, std::int32_t rowId) {
    id_ = rowId;
    name_ = reader.readText();
    reader.readText();  // a column the game does not use
    nameMini_ = reader.readText();
    start_ = reader.readBool();
    alter_ = reader.readBool();
    reader.readChip(chip_);
    color_ = Color(static_cast<std::uint32_t>(qel::parseHex(reader.readText())) | 0xFF000000u);
    raceValue_ = reader.readInt(0);
    status_.init();
    creation_row::readStatus(reader, status_);
    std::uint32_t equip = 0;
    for (int bit = 0; bit < kEquipCells; ++bit)
        if (reader.readBool()) equip |= 1u << bit;
    equipFlag_ = EquipFlag(equip);
    creation_row::readSkills(reader, skills_, expression_);
    return reader.isGood();
}

bool RaceBase::upgrade(ObjectPlayer* player) const {
    if (!player) return false;
    player->setCharaRace(name_, id_);
    player->setChip(chip_);
    creation_row::addStatus(*player, status_);
    creation_row::enableSkills(*player, skills_);
    player->setEquipFlag(EquipFlag(player->getEquipFlag().word() & equipFlag_.word()));
    return true;
}

const char* RaceBase::skill(std::int64_t index) const {
    return creation_row::skillAt(skills_, index);
}
