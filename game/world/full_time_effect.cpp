#include "game/world/full_time_effect.h"

#include <algorithm>
#include <array>
#include <vector>

#include "game/data/effect_name_list.h"
#include "game/world/object_chara.h"
#include "game/world/world_settings.h"

FullTimeEffect FullTimeEffect::SATIETY_OVER;
FullTimeEffect FullTimeEffect::SATIETY_FULL;
FullTimeEffect FullTimeEffect::SATIETY_EMPTY;
FullTimeEffect FullTimeEffect::SATIETY_HUNGER;
FullTimeEffect FullTimeEffect::SATIETY_DEAD;
FullTimeEffect FullTimeEffect::FIELD_STRAND;
FullTimeEffect FullTimeEffect::FIELD_WATER;
FullTimeEffect FullTimeEffect::FIELD_SWIM;
FullTimeEffect FullTimeEffect::FIELD_DROWN;
FullTimeEffect FullTimeEffect::WEIGHT_OVER;
FullTimeEffect FullTimeEffect::WEIGHT_PRESS;
FullTimeEffect FullTimeEffect::WEIGHT_DEAD;

namespace {

std::array<bool, Status::TYPE_MAX> g_flags{};

FullTimeEffect* const kRecords[] = {
    &FullTimeEffect::SATIETY_OVER,   &FullTimeEffect::SATIETY_FULL, &FullTimeEffect::SATIETY_EMPTY,
    &FullTimeEffect::SATIETY_HUNGER, &FullTimeEffect::SATIETY_DEAD, &FullTimeEffect::FIELD_STRAND,
    &FullTimeEffect::FIELD_WATER,    &FullTimeEffect::FIELD_SWIM,   &FullTimeEffect::FIELD_DROWN,
    &FullTimeEffect::WEIGHT_OVER,    &FullTimeEffect::WEIGHT_PRESS, &FullTimeEffect::WEIGHT_DEAD,
};

// The characters whose gauges are being evaluated now (innermost last).
std::vector<const ObjectChara*> g_judging;

class JudgingGauges {
public:
    explicit JudgingGauges(const ObjectChara* chara) { g_judging.push_back(chara); }
    ~JudgingGauges() { g_judging.pop_back(); }
    JudgingGauges(const JudgingGauges&) = delete;
    JudgingGauges& operator=(const JudgingGauges&) = delete;

    static bool judging(const ObjectChara* chara) {
        return std::find(g_judging.begin(), g_judging.end(), chara) != g_judging.end();
    }
};

// The record of each gauge state; null where the state brings nothing.
// SATIETY_FULL brings no figures, though its name is shown.
const FullTimeEffect* satietyRecord(std::int32_t state, bool forFigures) {
    switch (state) {
        case 1:
            return &FullTimeEffect::SATIETY_OVER;
        case 2:
            return forFigures ? nullptr : &FullTimeEffect::SATIETY_FULL;
        case 3:
            return &FullTimeEffect::SATIETY_EMPTY;
        case 4:
            return &FullTimeEffect::SATIETY_HUNGER;
        case 5:
            return &FullTimeEffect::SATIETY_DEAD;
        default:
            return nullptr;
    }
}

const FullTimeEffect* weightRecord(std::int32_t state) {
    switch (state) {
        case 1:
            return &FullTimeEffect::WEIGHT_OVER;
        case 2:
            return &FullTimeEffect::WEIGHT_PRESS;
        case 3:
            return &FullTimeEffect::WEIGHT_DEAD;
        default:
            return nullptr;
    }
}

const FullTimeEffect* fieldRecord(std::int32_t state) {
    switch (state) {
        case 1:
            return &FullTimeEffect::FIELD_STRAND;
        case 2:
            return &FullTimeEffect::FIELD_WATER;
        case 3:
            return &FullTimeEffect::FIELD_SWIM;
        case 4:
            return &FullTimeEffect::FIELD_DROWN;
        default:
            return nullptr;
    }
}

std::int32_t neutralValue(std::int32_t index) {
    return index == Status::AUTO_HEAL_RATIO || index == Status::AUTO_MANA_RATIO ? 100 : 0;
}

std::int32_t weightGrade(float ratio) {
    if (ratio >= FullTimeEffect::WEIGHT_DEAD._condition) return 3;
    if (ratio >= FullTimeEffect::WEIGHT_PRESS._condition) return 2;
    if (ratio >= FullTimeEffect::WEIGHT_OVER._condition) return 1;
    return 0;
}

}  // namespace

void FullTimeEffect::set(float condition, std::int32_t priority, const std::string& name,
                         const Color& color) {
    _condition = condition;
    _priority = priority;
    _name = name;
    _color = color;
    _status.init();
}

std::int32_t FullTimeEffect::GetSatietyState(const ObjectChara* chara) {
    const std::optional<float> ratio = chara ? chara->satietyRatio() : std::nullopt;
    if (!ratio) return 0;
    const float x = *ratio;
    if (x > SATIETY_OVER._condition) return 1;
    if (x > SATIETY_FULL._condition) return 2;
    if (x <= SATIETY_DEAD._condition) return 5;
    if (x <= SATIETY_HUNGER._condition) return 4;
    if (x <= SATIETY_EMPTY._condition) return 3;
    return 0;
}

std::int32_t FullTimeEffect::GetWeightState(ObjectChara* chara) {
    if (!chara) return 0;
    const float capacity = static_cast<float>(chara->getStatus(Status::WEIGHT));
    const float carried = static_cast<float>(chara->getItemTotalWeight());
    const float equipped = static_cast<float>(chara->getEquipTotalWeight());
    const std::int32_t state =
        weightGrade(carried / (2.0f * capacity)) + weightGrade(equipped / capacity);
    return state < 3 ? state : 3;
}

std::int32_t FullTimeEffect::GetFieldState(ObjectChara* chara) {
    if (!chara || chara->getStatus(Status::FLOAT) != 0) return 0;
    if (!chara->ObjectBase::isInWater()) return chara->getStatus(Status::LAND) == 0 ? 1 : 0;
    switch (chara->getStatus(Status::WATER)) {
        case 0:
            return 4;
        case 1:
            return GetWeightState(chara) == 0 ? 2 : 4;
        case 2:
            return 3;
        default:
            return 0;
    }
}

std::int32_t FullTimeEffect::calStatus(std::int32_t index, ObjectChara* chara) {
    std::int32_t value = neutralValue(index);
    if (!chara || !isFlagged(index) || JudgingGauges::judging(chara)) return value;
    const JudgingGauges judging(chara);
    const FullTimeEffect* active[] = {satietyRecord(GetSatietyState(chara), true),
                                      weightRecord(GetWeightState(chara)),
                                      fieldRecord(GetFieldState(chara))};
    for (const FullTimeEffect* record : active) {
        if (record) value = Status::CalValueSum(index, value, record->_status.get(index));
    }
    return value;
}

void FullTimeEffect::addFullTimeEffectName(ObjectChara* chara, EffectNameList& list) {
    if (!chara) return;
    const FullTimeEffect* active[] = {satietyRecord(GetSatietyState(chara), false),
                                      weightRecord(GetWeightState(chara)),
                                      fieldRecord(GetFieldState(chara))};
    for (const FullTimeEffect* record : active) {
        if (record) list.add(record->_priority, record->_name, record->_color);
    }

    const std::string& float1 = ST_NAME_FLOAT1;
    const std::string& float2 = ST_NAME_FLOAT2;
    const std::string& through = ST_NAME_THROUGH;
    const std::string& invisible = ST_NAME_INVISIBLE;
    std::int32_t floating = chara->getStatus(Status::FLOAT);
    std::int32_t passing = chara->getStatus(Status::THROUGH);
    std::int32_t hidden = chara->getStatus(Status::INVISIBLE);
    // A name some effect already shows is not shown twice.
    for (std::size_t i = 0; i < list.size(); ++i) {
        const EffectNameList::Data* entry = list.get(i);
        if (!entry) continue;
        const std::string& shown = entry->name;
        if (shown == float1 || shown == float2) floating = 0;
        if (shown == through) passing = 0;
        if (shown == invisible) hidden = 0;
    }
    if (floating == 1) list.add(0, float1, Color::WHITE);
    if (floating == 2) list.add(0, float2, Color::WHITE);
    if (passing != 0) list.add(0, through, Color::WHITE);
    if (hidden != 0) list.add(0, invisible, Color::WHITE);
}

void FullTimeEffect::initFullTimeEffectFlags() {
    for (std::int32_t i = 0; i < Status::TYPE_MAX; ++i) {
        g_flags[static_cast<std::size_t>(i)] = false;
        for (const FullTimeEffect* record : kRecords) {
            if (record->_status.get(i) != 0) g_flags[static_cast<std::size_t>(i)] = true;
        }
    }
}

bool FullTimeEffect::isFlagged(std::int32_t index) {
    return Status::isIndex(index) && g_flags[static_cast<std::size_t>(index)];
}

void FullTimeEffect::resetAll() {
    for (FullTimeEffect* record : kRecords) *record = FullTimeEffect();
    g_flags.fill(false);
}
