// A dice expression such as 2d6+1: a chain of terms, the Dice object itself
// being the first. A term with sides 0 or 1 is the constant `count`; sides 2
// and above mean |count| dice of that many sides, subtracted when count is
// negative.
//
// What it keeps true: the chain is owned by its first term (following terms
// are separate pool-0 blocks freed with it), and copying copies the whole
// chain, so two Dice never share a term. The empty expression is the single
// term (0, 1).
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/core.h"

class Dice {
public:
    constexpr Dice() = default;
    // A one-term expression.
    constexpr Dice(std::int32_t count, std::int32_t sides) : count_(count), sides_(sides) {}
    Dice(const Dice& other);
    // Frees this chain's following terms, then copies other's whole chain.
    Dice& operator=(const Dice& other);
    ~Dice() { clear(); }

    std::int32_t count() const { return count_; }
    std::int32_t sides() const { return sides_; }
    void setCount(std::int32_t count) { count_ = count; }
    void setSides(std::int32_t sides) { sides_ = sides; }
    // The following term, or null.
    const Dice* next() const { return next_; }
    // Number of terms, this one included.
    int termCount() const;

    // Frees every following term; this term keeps its values.
    void clear();
    // Frees the terms after this one and hangs one new term behind it. False
    // when the pool has no room for the term (the chain then ends here).
    bool append(std::int32_t count, std::int32_t sides);

    // The same terms in the same order.
    bool operator==(const Dice& other) const;

    static void* operator new(std::size_t n) noexcept { return qel::poolAllocate(0, n); }
    static void operator delete(void* p) noexcept { qel::poolFree(p); }
    static void* operator new(std::size_t, void* where) noexcept { return where; }
    static void operator delete(void*, void*) noexcept {}

private:
    // A fresh copy of `from` and every term after it; stops short (shorter
    // chain) where the pool has no room.
    static Dice* cloneChain(const Dice* from);

    std::int32_t count_ = 0;
    std::int32_t sides_ = 1;
    Dice* next_ = nullptr;
};
