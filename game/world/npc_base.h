// One kind of monster or other non-player character, a row of the monster
// table: names, level, picture, race, status values, bare-handed dice,
// corpse, diet, skills, AI names and abilities, what eating it may give and
// what it may carry.
//
// What it keeps true: a definition is read whole or not at all (a bad row
// leaves no definition); list cells are kept in row order, empty cells
// skipped; a percent cell's text is split at its last '|', so a Shift-JIS
// name whose trail byte is '|' stays whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/data/dice.h"
#include "game/data/item_material.h"
#include "game/world/status.h"
#include "game/world/value_types.h"

class CsvReader;
class ItemBase;
class ObjectNpc;

class NpcBase : public qel::ScriptObject {
public:
    // Race bits, given in the row as letters.
    enum Race : std::uint32_t {
        _human = 1u << 0,
        _rabby = 1u << 1,
        _angel = 1u << 2,
        _beast = 1u << 3,
        _dragon = 1u << 4,
        _element = 1u << 5,
        _fly = 1u << 6,
        _noid = 1u << 7,
        _insect = 1u << 8,
        _lizard = 1u << 9,
        _machine = 1u << 10,
        _ooze = 1u << 11,
        _plant = 1u << 12,
        _rock = 1u << 13,
        _undead = 1u << 14,
        _water = 1u << 15,
        _demon = 1u << 16,
        _unique = 1u << 17,
    };
    static constexpr char kRaceLetters[] = "@Rabdefhilmopruwx!";

    // AI ability bits; bit 18 is read from the row and has no name.
    enum AiBit : std::uint32_t {
        _walk = 1u << 0,
        _hit = 1u << 1,
        _eqRight = 1u << 2,
        _eqLeft = 1u << 3,
        _eqTwoHand = 1u << 4,
        _eqBow = 1u << 5,
        _eqHead = 1u << 6,
        _eqArmor = 1u << 7,
        _eqHand = 1u << 8,
        _eqFoot = 1u << 9,
        _eqAccessory = 1u << 10,
        _throw = 1u << 11,
        _get = 1u << 12,
        _open = 1u << 13,
        _kick = 1u << 14,
        _quaff = 1u << 15,
        _zap = 1u << 16,
        _read = 1u << 17,
    };
    static constexpr int kAiFlagCount = 19;
    // The AI ability word of a definition, as the scripts read it: one
    // boolean "_<name>" per named bit, and the whole word.
    struct AiFlag {
        static constexpr int BIT_COUNT = kAiFlagCount;
        static constexpr const char* NAMES[BIT_COUNT] = {
            "walk",    "hit",    "eqRight", "eqLeft",      "eqTwoHand", "eqBow", "eqHead",
            "eqArmor", "eqHand", "eqFoot",  "eqAccessory", "throw",     "get",   "open",
            "kick",    "quaff",  "zap",     "read",        nullptr,
        };
        std::uint32_t val = 0;
        bool has(std::uint32_t bits) const { return (val & bits) != 0; }
    };

    // Values of `type`: 1 is drawn by random generation.
    static constexpr std::int32_t TYPE_NPC = 0;
    static constexpr std::int32_t TYPE_ENEMY = 1;
    static constexpr std::int32_t TYPE_UNIQUE = 2;

    struct EatEffect {
        std::string tag;
        std::int32_t percent = 0;
    };
    struct Belonging {
        std::string nameId;
        ItemBase* base = nullptr;  // null when the item is unknown
        std::int32_t percent = 0;
    };

    NpcBase();
    QEL_CLASS(NpcBase, qel::ScriptObject, qel::Pool::Resources);

    // Reads the row after its id cell; false when the dice is bad or the
    // data ends inside the row.
    bool parse(CsvReader& reader, std::int32_t id);

    // Race bits from letters; other characters are ignored.
    static std::uint32_t raceFromLetters(const std::string& cell);
    // A "text|percent" cell split at its last '|'; no '|' is the whole text
    // with percent 0.
    static void splitPercent(const std::string& cell, std::string& text, std::int32_t& percent);

    // A new monster of this kind at `point`: kind 3 (an enemy) unless the
    // type is 0; the scripts' SetNpcExp sees it first, then its sex is
    // drawn and each of its skills is enabled. Null when it cannot be made.
    ObjectNpc* create(const Point& point) const;
    // Each belonging in order, one draw each: when the draw mod 100 is below
    // its percent and its item kind exists, a new item is given to the
    // monster and equipped when it may be.
    void addBelongings(ObjectNpc* npc) const;

    // Walks the eat effects in order, one draw each; the first whose draw
    // mod 100 is below its percent gives its tag, else null.
    const char* getEatEffect() const;

    std::int32_t skillCount() const { return static_cast<std::int32_t>(skills_.size()); }
    std::int32_t aiCount() const { return static_cast<std::int32_t>(ais_.size()); }
    // Null out of range.
    const char* skill(std::int64_t i) const;
    const char* ai(std::int64_t i) const;
    const std::vector<EatEffect>& eatEffects() const { return eatEffects_; }
    const std::vector<Belonging>& belongings() const { return belongings_; }
    std::vector<Belonging>& belongings() { return belongings_; }
    const std::string& note() const { return note_; }
    std::int32_t sex() const { return sex_; }

    // The fields the scripts read by name.
    std::int32_t id = -1;
    std::int32_t library = -1;
    std::string nameId;
    std::string name;
    std::int32_t level = -1;
    Point chip;
    Color color;
    std::uint32_t race = 0;
    std::int32_t type = 0;
    std::int32_t control = 0;
    ItemMaterial eat;
    std::int32_t expBase = 0;
    float expRatio = 0.0f;
    Status status;
    Dice damageDice{0, 1};
    std::int32_t corpseId = -1;
    std::int32_t corpsePer = -1;
    std::int32_t corpseSize = -1;
    std::int32_t eatType = -1;
    AiFlag aiFlag;

private:
    std::int32_t sex_ = 0;
    std::string note_;
    std::vector<EatEffect> eatEffects_;
    std::vector<std::string> skills_;
    std::vector<std::string> ais_;
    std::vector<Belonging> belongings_;
};
