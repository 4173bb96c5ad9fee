#include "game/world/status.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "game/world/value_types.h"
#include "game/world/version_file.h"

using value_arith::divTrunc;
using value_arith::truncToInt32;
using value_arith::wrapAdd;
using value_arith::wrapMul;
using value_arith::wrapSub;

void Status::init() {
    values_.fill(0);
    values_[AUTO_HEAL_RATIO] = 100;
    values_[AUTO_MANA_RATIO] = 100;
}

std::size_t Status::checked(std::int32_t index) {
    if (!isIndex(index)) {
        throw std::out_of_range("status index " + std::to_string(index) + " outside 0.." +
                                std::to_string(TYPE_MAX - 1));
    }
    return static_cast<std::size_t>(index);
}

// Touches no block, so any index is fine: the ones with no rule of their
// own (outside the block too) simply add.
std::int32_t Status::CalValueSum(std::int32_t index, std::int32_t held, std::int32_t incoming) {
    switch (index) {
        case FLOAT:
        case THROUGH:
        case INVISIBLE:
            // Magnitudes in 64 bits so that INT32_MIN has one.
            return std::llabs(held) > std::llabs(incoming) ? held : incoming;
        case AUTO_HEAL_RATIO:
        case AUTO_MANA_RATIO:
            return divTrunc(wrapMul(held, incoming), 100);
        default:
            return wrapAdd(held, incoming);
    }
}

void Status::add(std::int32_t index, std::int32_t value) {
    const std::size_t i = checked(index);
    values_[i] = CalValueSum(index, values_[i], value);
}

Status& Status::operator+=(const Status& other) {
    for (std::int32_t i = 0; i < TYPE_MAX; ++i) add(i, other.values_[i]);
    return *this;
}

namespace {

// "trunc float(e)": e formed in double, rounded to float, truncated.
std::int32_t truncFloat(double e) {
    return truncToInt32(static_cast<float>(e));
}

// level / ratio, where an unset ratio (0) contributes nothing rather than
// faulting.
std::int32_t levelTerm(std::int32_t level, std::int32_t ratio) {
    return divTrunc(level, ratio);
}

std::int32_t half(std::int32_t a, std::int32_t b) {
    return divTrunc(wrapAdd(a, b), 2);
}

}  // namespace

std::int32_t Status::calMana(std::int32_t a, std::int32_t b, std::int32_t c) const {
    return wrapAdd(wrapAdd(values_[MANA], wrapMul(2, wrapAdd(a, b))), c);
}

std::int32_t Status::calAction() const {
    return wrapAdd(values_[ACTION], 12);
}

std::int32_t Status::calOffense(std::int32_t a, std::int32_t b) const {
    return wrapAdd(values_[OFFENSE], truncFloat(a * (0.75 * b + 9.0)));
}

std::int32_t Status::calOffenseSub(std::int32_t a, std::int32_t b, std::int32_t c) const {
    return wrapAdd(values_[OFFENSE_SUB], truncFloat(half(a, b) * (0.75 * c + 7.0)));
}

std::int32_t Status::calFire(std::int32_t a, std::int32_t b) const {
    return wrapAdd(values_[FIRE], truncFloat(a * (0.75 * b + 5.0)));
}

std::int32_t Status::calMagic(std::int32_t a, std::int32_t b) const {
    return wrapAdd(values_[MAGIC], truncFloat(a * (static_cast<double>(0.6f) * b + 9.0)));
}

std::int32_t Status::calDefense(std::int32_t a, std::int32_t b, float defenseVitRatio) const {
    return truncToInt32(a * (1.0 + static_cast<double>(wrapSub(b, 12)) * defenseVitRatio));
}

std::int32_t Status::calHit(std::int32_t a, std::int32_t b, std::int32_t c,
                            std::int32_t levelRatio) const {
    return wrapAdd(wrapAdd(values_[HIT], half(a, b)), levelTerm(c, levelRatio));
}

std::int32_t Status::calHitSub(std::int32_t a, std::int32_t b, std::int32_t c,
                               std::int32_t levelRatio) const {
    return wrapSub(wrapAdd(wrapAdd(values_[HIT_SUB], half(a, b)), levelTerm(c, levelRatio)), 9);
}

std::int32_t Status::calHitFire(std::int32_t a, std::int32_t b, std::int32_t c,
                                std::int32_t levelRatio) const {
    return wrapAdd(wrapAdd(values_[HIT_FIRE], half(a, b)), levelTerm(c, levelRatio));
}

std::int32_t Status::calHitMagic(std::int32_t a, std::int32_t b, std::int32_t levelRatio) const {
    return wrapAdd(wrapAdd(values_[HIT_MAGIC], a), levelTerm(b, levelRatio));
}

std::int32_t Status::calAvoid(std::int32_t a, std::int32_t b, std::int32_t c,
                              std::int32_t levelRatio) const {
    const std::int32_t agility = divTrunc(wrapAdd(wrapMul(2, a), b), 3);
    return wrapSub(wrapAdd(wrapAdd(values_[AVOID], agility), levelTerm(c, levelRatio)), 6);
}

std::int32_t Status::calResist(std::int32_t a, std::int32_t b, std::int32_t c,
                               std::int32_t levelRatio) const {
    return wrapSub(wrapAdd(wrapAdd(values_[RESIST], half(a, b)), levelTerm(c, levelRatio)), 6);
}

std::int32_t Status::calWeight(std::int32_t a, std::int32_t b, float weightVit, float weightStr,
                               float weightBase) const {
    return wrapAdd(values_[WEIGHT], truncFloat(static_cast<double>(b) * weightVit +
                                               static_cast<double>(a) * weightStr + weightBase));
}

std::int32_t Status::calControl(std::int32_t a, std::int32_t /*b*/) const {
    return wrapAdd(values_[CONTROL], a);
}

std::int32_t Status::savedCount(std::uint32_t version) {
    if (version >= kVersionAutoHeal) return TYPE_MAX;
    if (version >= kVersionLuck) return AUTO_HEAL_RATIO;
    return LUCK;
}

bool Status::serialize(VersionFile& file) {
    const std::size_t bytes =
        static_cast<std::size_t>(savedCount(file.getVersion())) * sizeof(std::int32_t);
    std::array<std::int32_t, TYPE_MAX> values = values_;
    if (!file.serializeBytes(values.data(), bytes)) return false;
    values_ = values;
    return true;
}
