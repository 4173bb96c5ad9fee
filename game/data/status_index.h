// The names of a character's 58 status figures and their indices: what the
// status blocks (game/world/status.h) hold, and what the data tables name
// when a row gives a bonus to a figure.
#pragma once

#include <cstdint>

struct StatusIndex {
    enum Index : std::int32_t {
        LIFE = 0,
        STR,
        VIT,
        DEX,
        PER,
        AGI,
        WIS,
        INT,
        CHA,
        MAIN_MAX,  // the main figures are LIFE..CHA
        MANA = MAIN_MAX,
        ACTION,
        OFFENSE,
        OFFENSE_SUB,
        FIRE,
        MAGIC,
        DEFENSE,
        HIT,
        HIT_SUB,
        HIT_FIRE,
        HIT_MAGIC,
        AVOID,
        RESIST,
        WEIGHT,
        CONTROL,
        TORCH,
        VISION,
        INVISI_VISION,
        TELEPATHY,
        LAND,
        WATER,
        FLOAT,
        THROUGH,
        INVISIBLE,
        RES_PHYSIC,
        RES_MAGIC,
        RES_FIRE,
        RES_FREEZE,
        RES_THUNDER,
        RES_GROUND,
        RES_WIND,
        RES_HOLY,
        RES_EVIL,
        RES_POISON,
        RES_NEURAL,
        RES_MIND,
        RES_STONE,
        ACTION_RATIO,
        SUCCESS_MAGIC,
        LUCK,  // archive version 103 added LUCK..MOVE_SPEED
        RES_DEATH,
        ATTACK_SPEED,
        FIRE_SPEED,
        MOVE_SPEED,
        AUTO_HEAL_RATIO,  // later versions added AUTO_HEAL_RATIO..SATIETY
        AUTO_HEAL,
        AUTO_MANA_RATIO,
        AUTO_MANA,
        SATIETY,
        TYPE_MAX  // the number of figures
    };

    // Script-visible names in index order, for the STATUS table and messages.
    static const char* const NAMES[TYPE_MAX];

    static constexpr bool isIndex(std::int32_t i) { return i >= 0 && i < TYPE_MAX; }
    // The index of a figure's name (exact, case-sensitive); -1 when unknown.
    static std::int32_t indexOf(const char* name);

    // Holds nothing, so a status block that derives from it compares by its
    // own figures alone.
    bool operator==(const StatusIndex&) const = default;
};
