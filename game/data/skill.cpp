#include "game/data/skill.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "game/data/action.h"
#include "game/data/action_list.h"
#include "game/data/csv_reader.h"
#include "game/data/spell.h"
#include "game/data/spell_list.h"
#include "game/data/str_fmt.h"
#include "game/data/table_settings.h"

namespace {

// A status-bonus level's text: the figure's display name and the amount
// (a carrying capacity scaled, a percentage as a factor).
bool buildStatus(Skill::LevelData& level) {
    const std::size_t sign = level._tag.find_first_of("+-*");
    if (sign == std::string::npos) return false;
    const std::int32_t slot = StatusIndex::indexOf(level._tag.substr(0, sign).c_str());
    if (slot < 0) return false;
    level._status = slot;
    std::size_t at = sign;
    level._statusEq = level._tag[at] == '*';
    if (level._statusEq) ++at;
    level._statusVal = CsvReader::atoiClamped(std::string_view(level._tag).substr(at));
    const std::string& name = STATUS_NAME[slot];
    char text[256];
    if (slot == StatusIndex::WEIGHT) {
        std::snprintf(text, sizeof text, "%s%+.1f", name.c_str(),
                      level._statusVal * ITEM_WEIGHT_RATIO * 2.0f);
    } else if (slot == StatusIndex::AUTO_HEAL_RATIO || slot == StatusIndex::AUTO_MANA_RATIO) {
        std::snprintf(text, sizeof text, "%sx%.2f", name.c_str(), level._statusVal / 100.0);
    } else {
        std::snprintf(text, sizeof text, "%s%+d", name.c_str(), level._statusVal);
    }
    level._name = text;
    if (level._statusEq) level._name += EQUIP_COUNT;
    return true;
}

}  // namespace

Skill::Skill() = default;

Skill::Skill(std::string tag, std::string luaClass, std::int32_t type, std::int32_t id)
    : id_(id), tag_(std::move(tag)), luaClass_(std::move(luaClass)), type_(type) {}

Skill::~Skill() = default;

bool Skill::parseLevel(LevelData& level) {
    level._action = nullptr;
    level._spell = nullptr;
    switch (level._type) {
        case TYPE_TEXT: {
            const std::string text = StrFmt(level._tag);
            level._name = text.empty() ? level._tag : text;
            return true;
        }
        case TYPE_ACTION:
            level._action = ActionList::instance().get(level._tag);
            if (!level._action) return false;
            level._name = level._action->name();
            return true;
        case TYPE_SPELL:
            if (level._tag.empty()) return false;
            level._spell = SpellList::instance().get(level._tag);
            if (!level._spell) return false;
            level._name = level._spell->name();
            return true;
        case TYPE_STATUS:
            return buildStatus(level);
        case TYPE_OTHER: {
            const std::size_t colon = level._tag.find(':');
            level._otherTag = level._tag.substr(0, colon);
            const std::string rest =
                colon == std::string::npos ? level._tag : level._tag.substr(colon + 1);
            const std::string text = StrFmt(rest);
            level._name = text.empty() ? rest : text;
            return true;
        }
        default:
            return false;
    }
}

bool Skill::parse(std::int32_t id, const std::string& name, const std::string& tag,
                  CsvReader& reader, int& failedLevel) {
    id_ = id;
    name_ = name;
    tag_ = tag;
    luaClass_ = reader.readText();
    library_ = reader.readBool();
    type_ = reader.readInt(-1);
    levelMax_ = reader.readInt(-1);
    for (int i = 0; i < kLevels; ++i) {
        LevelData& level = levels_[static_cast<std::size_t>(i)];
        level = LevelData{};
        level._tag = reader.readText();
        level._type = reader.readInt(-1);
        if (i > 0) level._skillPoint = reader.readInt(-1);
        if (!parseLevel(level)) {
            failedLevel = i + 1;
            return false;
        }
    }
    return true;
}

bool Skill::setLocaleName(const std::string& name) {
    name_ = name;
    for (LevelData& level : levels_) {
        if (!parseLevel(level)) return false;
    }
    return true;
}

const Skill::LevelData* Skill::levelData(std::int64_t i) const {
    return i >= 0 && i < kLevels ? &levels_[static_cast<std::size_t>(i)] : nullptr;
}

const char* Skill::levelName(std::int64_t i) const {
    const LevelData* level = levelData(i);
    return level ? level->_name.c_str() : nullptr;
}

std::int32_t Skill::levelSkillPoint(std::int64_t i) const {
    const LevelData* level = levelData(i);
    return level ? level->_skillPoint : 0;
}

const Action* Skill::levelAction(std::int64_t i) const {
    const LevelData* level = levelData(i);
    return level ? level->_action : nullptr;
}

const Spell* Skill::levelSpell(std::int64_t i) const {
    const LevelData* level = levelData(i);
    return level ? level->_spell : nullptr;
}

std::int32_t Skill::levelType(std::int64_t i) const {
    const LevelData* level = levelData(i);
    return level ? level->_type : -1;
}
