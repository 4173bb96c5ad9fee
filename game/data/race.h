// The kinds a character belongs to: eighteen one-bit flags, bit 0 first, in
// one unsigned 32-bit word (bits 18..31 carry nothing but are kept). The
// scripts make and copy these words and read each flag under its name; a
// character and a monster kind hold one.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/core/core.h"

struct Race {
    // Bit 0 first (the compiler lays bit-fields from the low bit).
    std::uint32_t _human : 1 = 0;
    std::uint32_t _rabby : 1 = 0;
    std::uint32_t _angel : 1 = 0;
    std::uint32_t _beast : 1 = 0;
    std::uint32_t _dragon : 1 = 0;
    std::uint32_t _element : 1 = 0;
    std::uint32_t _fly : 1 = 0;
    std::uint32_t _noid : 1 = 0;
    std::uint32_t _insect : 1 = 0;
    std::uint32_t _lizard : 1 = 0;
    std::uint32_t _machine : 1 = 0;
    std::uint32_t _ooze : 1 = 0;
    std::uint32_t _plant : 1 = 0;
    std::uint32_t _rock : 1 = 0;
    std::uint32_t _undead : 1 = 0;
    std::uint32_t _water : 1 = 0;
    std::uint32_t _demon : 1 = 0;
    std::uint32_t _unique : 1 = 0;
    std::uint32_t rest_ : 14 = 0;

    Race() = default;
    explicit Race(std::uint32_t word) { setWord(word); }

    std::uint32_t word() const {
        std::uint32_t w;
        std::memcpy(&w, this, sizeof w);
        return w;
    }
    void setWord(std::uint32_t w) { std::memcpy(static_cast<void*>(this), &w, sizeof w); }
    bool operator==(const Race& other) const { return word() == other.word(); }

    // Words the scripts make live in the general pool.
    QEL_POOLED(qel::Pool::General);
};

// The scripts' `_val` reads and writes the word at the object's address.
static_assert(sizeof(Race) == 4, "a Race is one 32-bit word");
