#include "game/world/full_time_effect.h"

#include <array>

#include "game/world/object_chara.h"

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
