// The 58 signed 32-bit figures of a character, and the rule by which two
// blocks of them combine.
//
// Invariants: every access is by an index checked against 0..57 (a bad index
// throws std::out_of_range and touches nothing); a new or reset block holds 0
// everywhere except the two ratio figures, which hold 100 (the neutral
// percentage). Combining is defined per index: FLOAT, THROUGH and INVISIBLE
// keep the value of larger magnitude (the incoming one on a tie), the two
// ratios multiply as percentages, and every other figure adds, all in
// wrapping 32-bit arithmetic. Blocks that scripts create live in the world pool.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/core/core.h"
#include "game/data/status_index.h"

class VersionFile;

class Status : public StatusIndex {
public:
    Status() { init(); }

    // Back to the new-block values.
    void init();

    std::int32_t get(std::int32_t index) const { return values_[checked(index)]; }
    std::int32_t operator[](std::int32_t index) const { return get(index); }
    // Stores without the combine rule.
    void set(std::int32_t index, std::int32_t value) { values_[checked(index)] = value; }
    // Combines value into the figure at index.
    void add(std::int32_t index, std::int32_t value);

    Status& operator+=(const Status& other);
    Status operator+(const Status& other) const {
        Status r = *this;
        r += other;
        return r;
    }
    bool operator==(const Status&) const = default;

    // The combine rule of one index: held is the value so far, incoming the
    // value combined into it.
    static std::int32_t CalValueSum(std::int32_t index, std::int32_t held, std::int32_t incoming);

    const std::array<std::int32_t, TYPE_MAX>& values() const { return values_; }

    // Derived figures (the character's formulas and their script forms).
    // All are pure; integer divisions truncate toward zero, sums wrap, and a
    // float product is rounded to float before it is truncated. The settings
    // they read belong to the script module, so the caller passes them in; a
    // level ratio of 0 makes the level term 0 instead of dividing by zero.
    // S[X] below is this block's figure X.
    //   calMana      S[MANA] + 2 (wis + intel) + per
    //   calAction    S[ACTION] + 12
    //   calOffense   S[OFFENSE] + str (0.75 level + 9)
    //   calOffenseSub S[OFFENSE_SUB] + ((str + dex) / 2) (0.75 level + 7)
    //   calFire      S[FIRE] + dex (0.75 level + 5)
    //   calMagic     S[MAGIC] + wis (0.6f level + 9)
    //   calDefense   defense (1 + (vit - 12) ratio), no figure of S
    //   calHit       S[HIT] + (agi + dex) / 2 + level / ratio (HIT_SUB: - 9)
    //   calHitMagic  S[HIT_MAGIC] + wis + level / ratio
    //   calAvoid     S[AVOID] + (2 agi + per) / 3 + level / ratio - 6
    //   calResist    S[RESIST] + (a + b) / 2 + level / ratio - 6
    //   calWeight    S[WEIGHT] + vit weightVit + str weightStr + weightBase
    //   calControl   S[CONTROL] + a (b is accepted and ignored)
    std::int32_t calMana(std::int32_t wis, std::int32_t intel, std::int32_t per) const;
    std::int32_t calAction() const;
    std::int32_t calOffense(std::int32_t str, std::int32_t level) const;
    std::int32_t calOffenseSub(std::int32_t str, std::int32_t dex, std::int32_t level) const;
    std::int32_t calFire(std::int32_t dex, std::int32_t level) const;
    std::int32_t calMagic(std::int32_t wis, std::int32_t level) const;
    std::int32_t calDefense(std::int32_t defense, std::int32_t vit, float defenseVitRatio) const;
    std::int32_t calHit(std::int32_t agi, std::int32_t dex, std::int32_t level,
                        std::int32_t levelRatio) const;
    std::int32_t calHitSub(std::int32_t agi, std::int32_t dex, std::int32_t level,
                           std::int32_t levelRatio) const;
    std::int32_t calHitFire(std::int32_t agi, std::int32_t dex, std::int32_t level,
                            std::int32_t levelRatio) const;
    std::int32_t calHitMagic(std::int32_t wis, std::int32_t level, std::int32_t levelRatio) const;
    std::int32_t calAvoid(std::int32_t agi, std::int32_t per, std::int32_t level,
                          std::int32_t levelRatio) const;
    std::int32_t calResist(std::int32_t a, std::int32_t b, std::int32_t level,
                           std::int32_t levelRatio) const;
    std::int32_t calWeight(std::int32_t str, std::int32_t vit, float weightVit, float weightStr,
                           float weightBase) const;
    std::int32_t calControl(std::int32_t a, std::int32_t b) const;

    // Archive versions that grew the saved block: 103 saves LUCK..MOVE_SPEED
    // too, later versions the whole block.
    static constexpr std::uint32_t kVersionLuck = 103;
    static constexpr std::uint32_t kVersionAutoHeal = 104;
    // The figures the archive's version holds, in index order (48, 53 or
    // 58 values); figures a read does not reach keep their values. A failed
    // read changes nothing.
    bool serialize(VersionFile& file);
    static std::int32_t savedCount(std::uint32_t version);

    QEL_POOLED(qel::Pool::World);

private:
    static std::size_t checked(std::int32_t index);

    std::array<std::int32_t, TYPE_MAX> values_;
};
