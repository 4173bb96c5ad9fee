// The three gauges that act on every character all the time: satiety (how
// full the player is), weight (how heavy the load is) and field (land or
// water). Each state of a gauge has one program-wide record that the scripts
// fill at boot: its threshold, the status values it brings, and the name and
// colour shown while it is active. The three state functions tell which
// state a character is in.
//
// What the state functions keep true: they never divide by an integer, and
// every ratio is a float, so a WEIGHT of 0 grades an empty load 0 (0/0
// compares false) and any load 3 (it is infinite).
#pragma once

#include <cstdint>
#include <string>

#include "game/world/status.h"
#include "game/world/value_types.h"

class EffectNameList;
class ObjectChara;

class FullTimeEffect {
public:
    FullTimeEffect() = default;

    // Sets the four fields and resets the status block to a new block's.
    void set(float condition, std::int32_t priority, const std::string& name, const Color& color);

    float _condition = 0.0f;
    Status _status;
    std::int32_t _priority = 0;
    std::string _name;
    Color _color = Color::WHITE;

    // Satiety states 1..5, field states 1..4, weight states 1..3.
    static FullTimeEffect SATIETY_OVER;
    static FullTimeEffect SATIETY_FULL;
    static FullTimeEffect SATIETY_EMPTY;
    static FullTimeEffect SATIETY_HUNGER;
    static FullTimeEffect SATIETY_DEAD;
    static FullTimeEffect FIELD_STRAND;
    static FullTimeEffect FIELD_WATER;
    static FullTimeEffect FIELD_SWIM;
    static FullTimeEffect FIELD_DROWN;
    static FullTimeEffect WEIGHT_OVER;
    static FullTimeEffect WEIGHT_PRESS;
    static FullTimeEffect WEIGHT_DEAD;

    // 0 for a character that does not eat (or none), else 1..5 or 0.
    static std::int32_t GetSatietyState(const ObjectChara* chara);
    // 0..3: the grades of the carried load over twice WEIGHT and of the
    // equipped load over WEIGHT, summed and capped at 3.
    static std::int32_t GetWeightState(ObjectChara* chara);
    // 0..4 by FLOAT, the cell's water, LAND, WATER and the weight state.
    static std::int32_t GetFieldState(ObjectChara* chara);

    // What the active records bring to one figure of the character,
    // combined by the figure's rule onto its neutral value (100 for the two
    // ratios, else 0); the neutral value for a figure no record changes.
    // The gauges read WEIGHT, STR, VIT, LAND, WATER and FLOAT through the
    // character's chain, whose values come back here: while a character's
    // gauges are being evaluated its figures get the neutral value, so the
    // gauges themselves are judged without full-time effects.
    static std::int32_t calStatus(std::int32_t index, ObjectChara* chara);
    // Adds the names of the active satiety, weight and field records, then
    // the floating, wall-passing and invisibility names the character's
    // figures call for and the list does not hold yet.
    static void addFullTimeEffectName(ObjectChara* chara, EffectNameList& list);

    // The slots any record changes, from the records as they stand; built
    // once after the scripts filled them.
    static void initFullTimeEffectFlags();
    static bool isFlagged(std::int32_t index);

    // Every record back to its start values (and the flags cleared).
    static void resetAll();
};
