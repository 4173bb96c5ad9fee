#include "game/world/creation_row.h"

#include <initializer_list>

#include "game/data/csv_reader.h"
#include "game/world/object_chara.h"
#include "game/world/status.h"

namespace creation_row {

void readStatus(CsvReader& reader, Status& status) {
    auto cell = [&](std::initializer_list<std::int32_t> figures) {
        const std::int32_t value = reader.readInt(-1);
        for (const std::int32_t figure : figures) status.set(figure, value);
    };
    for (std::int32_t figure = Status::LIFE; figure <= Status::CHA; ++figure) cell({figure});
    cell({Status::ACTION});
    cell({Status::OFFENSE, Status::FIRE});
    cell({Status::DEFENSE});
    cell({Status::HIT, Status::HIT_SUB, Status::HIT_FIRE});
    for (const std::int32_t figure :
         {Status::AVOID, Status::RESIST, Status::WEIGHT, Status::TORCH, Status::LAND, Status::WATER,
          Status::FLOAT, Status::THROUGH, Status::INVISIBLE, Status::VISION, Status::INVISI_VISION,
          Status::TELEPATHY})
        cell({figure});
    for (std::int32_t figure = Status::RES_PHYSIC; figure <= Status::RES_STONE; ++figure)
        cell({figure});
}

void readSkills(CsvReader& reader, std::vector<std::string>& skills, std::string& expression) {
    skills.clear();
    reader.readList([&](const std::string& tag) { skills.push_back(tag); });
    expression = reader.readText();
}

void addStatus(ObjectChara& chara, const Status& status) {
    for (std::int32_t figure = 0; figure < Status::TYPE_MAX; ++figure) {
        if (figure == Status::AUTO_HEAL_RATIO || figure == Status::AUTO_MANA_RATIO) continue;
        chara.addBaseStatus(figure, status.get(figure));
    }
}

void enableSkills(ObjectChara& chara, const std::vector<std::string>& skills) {
    for (const std::string& tag : skills) chara.addEnableSkill(tag);
}

const char* skillAt(const std::vector<std::string>& skills, std::int64_t index) {
    if (index < 0 || index >= static_cast<std::int64_t>(skills.size())) return nullptr;
    return skills[static_cast<std::size_t>(index)].c_str();
}

}  // namespace creation_row
