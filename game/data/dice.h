// A dice expression such as 2d6+1: a chain of terms, the Dice object itself
// being the first. A term with sides 0 or 1 is the constant `count`; sides 2
// and above mean |count| dice of that many sides, subtracted when count is
// negative.
//
// What it keeps true:
//   - The chain is owned by its first term (following terms are separate
//     pool-0 blocks freed with it), and copying copies the whole chain, so
//     two Dice never share a term. Copying or adding an expression to itself
//     (or to one of its own terms) is safe.
//   - The empty expression is the single term (0, 1).
//   - No term has negative sides: every entry refuses them (the one-term
//     constructor makes such a term a constant).
//   - Nothing overflows: counts, sides, sums and bounds saturate at the
//     32-bit range.
//   - Parsing, add() and addCount() never take an expression past kMaxDice
//     dice, all its terms together, so neither a text nor a script adding
//     term after term can make a roll draw billions of dice.
//   - add() and parsing keep at most one following term per number of sides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/core/core.h"

namespace qel {
class SysRand;
}

class Dice {
public:
    // The most dice an expression may hold through parsing and add(): the
    // |count| of every term of two sides or more, summed.
    static constexpr std::int64_t kMaxDice = 100000;

    constexpr Dice() = default;
    // A one-term expression; negative sides make it the constant `count`.
    constexpr Dice(std::int32_t count, std::int32_t sides)
        : count_(count), sides_(sides < 0 ? 1 : sides) {}
    Dice(const Dice& other);
    // Frees this chain's following terms, then copies other's whole chain.
    Dice& operator=(const Dice& other);
    ~Dice() { clear(); }
    // The scripts' copy: this expression becomes a deep copy of `other`.
    void copy(const Dice& other) { *this = other; }

    std::int32_t count() const { return count_; }
    std::int32_t sides() const { return sides_; }
    void setCount(std::int32_t count) { count_ = count; }
    // False, and nothing changed, for negative sides.
    bool setSides(std::int32_t sides);
    // The following term, or null.
    const Dice* next() const { return next_; }
    // Number of terms, this one included.
    int termCount() const;

    // Frees every following term; this term keeps its values.
    void clear();
    // Frees the terms after this one and hangs one new term behind it. False
    // for negative sides (nothing changed) or when the pool has no room for
    // the term (the chain then ends here).
    bool append(std::int32_t count, std::int32_t sides);
    // A fresh pool copy of this term and every term after it, owned by the
    // caller; null when the pool has no room.
    Dice* clone() const;

    // Adds `count` to the term with these sides: the first term first, then
    // the following ones; a following term that reaches 0 is removed, a first
    // term that reaches 0 is replaced by the second (or becomes (0, 1));
    // without such a term a new one is appended. Negative sides, or more
    // dice than kMaxDice in the whole expression, change nothing.
    Dice& add(std::int32_t sides, std::int32_t count);
    // Adds every term of `other` in order; `other` may be this expression. A
    // term that would pass kMaxDice is left out.
    Dice& add(const Dice& other);
    // add() with the count first and one side by default, the order in which
    // the scripts call it (add(num, dice)).
    Dice& addCount(std::int32_t count, std::int32_t sides = 1) { return add(sides, count); }

    // The number of dice: |count| summed over the terms of two sides or more.
    std::int64_t diceCount() const;

    // The sum of the terms, each die drawn from the game's generator.
    std::int32_t roll() const;
    std::int32_t roll(qel::SysRand& rand) const;
    std::int32_t getMin() const;
    std::int32_t getMax() const;

    // "2d6+1": the first term's count, "d" and sides unless they are 1, then
    // each following non-zero term with its sign.
    std::string name() const;
    // Parses terms of an optional sign, digits, and optionally "d" or "D"
    // and digits, each ending at the end or at the next sign. The first term
    // is set, later ones added. Numbers beyond the 32-bit range saturate.
    // False at any other character, a missing number or a term that would
    // take the expression past kMaxDice dice; the terms read before the
    // fault stay. An empty (or null) text is true and keeps the first term.
    bool Create(std::string_view text);
    bool Create(const char* text) { return Create(text ? std::string_view(text) : ""); }
    // The scripts' class function: parses `text` into `dice`; false for a
    // null dice.
    static bool Create(Dice* dice, const char* text) { return dice && dice->Create(text); }

    // The same terms in the same order.
    bool operator==(const Dice& other) const;

    QEL_POOLED(qel::Pool::SmallRecords);

private:
    // A fresh copy of `from` and every term after it; stops short (shorter
    // chain) where the pool has no room.
    static Dice* cloneChain(const Dice* from);
    // add() reporting whether the count landed (false for negative sides or
    // when a new term finds no room in the pool).
    bool addTerm(std::int32_t sides, std::int32_t count);

    std::int32_t count_ = 0;
    std::int32_t sides_ = 1;
    Dice* next_ = nullptr;
};
