// A learnable ability of up to nine levels, a row of the skill table. Each
// level grants an action, a spell school, a status bonus or a script
// effect, costs skill points, and carries a ready-made text of what it
// gives, built at load and again when a language renames the skill.
//
// What it keeps true: a skill is read whole or not at all (the first level
// that cannot be built fails the row); a level's action and spell point
// into the loaded lists, which outlive it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "engine/core/script_object.h"

class Action;
class CsvReader;
class Spell;

class Skill : public qel::ScriptObject {
public:
    static constexpr int kLevels = 9;

    // What a level gives: a text, an action, a spell school, a status bonus
    // or a script effect (TYPE_OTHER).
    enum LevelType : std::int32_t {
        TYPE_TEXT = 0,
        TYPE_ACTION = 1,
        TYPE_SPELL = 2,
        TYPE_STATUS = 3,
        TYPE_OTHER = 4,
    };
    // Kinds of skill. A SKILL_GRUDGE skill, once an item brings it, stays
    // with the character.
    enum SkillType : std::int32_t {
        SKILL_WEAPON = 0,
        SKILL_ARMOR,
        SKILL_NORMAL,
        SKILL_EFFECT,
        SKILL_GRUDGE,
        SKILL_TYPE_MAX
    };

    struct LevelData {
        std::int32_t _type = -1;
        std::string _name;
        const Action* _action = nullptr;
        const Spell* _spell = nullptr;
        std::int32_t _status = 0;
        std::int32_t _statusVal = 0;
        bool _statusEq = false;
        std::int32_t _skillPoint = 0;
        std::string _otherTag;
        std::string _tag;
    };

    Skill();
    Skill(std::string tag, std::string luaClass, std::int32_t type, std::int32_t id = -1);
    ~Skill() override;

    QEL_CLASS(Skill, qel::ScriptObject, qel::Pool::Resources);

    // Reads the row after its three key cells; false, with the failing
    // level's number in `failedLevel` (1-based), when a level cannot be built.
    bool parse(std::int32_t id, const std::string& name, const std::string& tag, CsvReader& reader,
               int& failedLevel);
    // Builds one level's action, spell, status and text from its tag.
    static bool parseLevel(LevelData& level);
    // A new display name, and every level's text built again; false at the
    // first level that fails.
    bool setLocaleName(const std::string& name);

    std::int32_t id() const { return id_; }
    const std::string& name() const { return name_; }
    const std::string& tag() const { return tag_; }
    const std::string& luaClass() const { return luaClass_; }
    bool library() const { return library_; }
    std::int32_t type() const { return type_; }
    std::int32_t levelMax() const { return levelMax_; }

    // Level i (0-based); null outside 0..8.
    const LevelData* levelData(std::int64_t i) const;
    const char* levelName(std::int64_t i) const;
    std::int32_t levelSkillPoint(std::int64_t i) const;
    const Action* levelAction(std::int64_t i) const;
    const Spell* levelSpell(std::int64_t i) const;
    std::int32_t levelType(std::int64_t i) const;

private:
    std::int32_t id_ = -1;
    std::string name_;
    std::string tag_;
    std::string luaClass_;
    bool library_ = false;
    std::int32_t type_ = 2;
    std::int32_t levelMax_ = 0;
    std::array<LevelData, kLevels> levels_{};
};
