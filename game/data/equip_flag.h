// The kinds of equipment a player may use: eleven one-bit flags, bit 0 first,
// in one unsigned 32-bit word (bits 11..31 carry nothing but are kept). A
// race's table row gives its set; the scripts read each flag by its name.
#pragma once

#include <cstdint>
#include <cstring>

struct EquipFlag {
    // Bit 0 first (the compiler lays bit-fields from the low bit).
    std::uint32_t _right : 1 = 0;
    std::uint32_t _left : 1 = 0;
    std::uint32_t _twoHand : 1 = 0;
    std::uint32_t _book : 1 = 0;
    std::uint32_t _bow : 1 = 0;
    std::uint32_t _head : 1 = 0;
    std::uint32_t _armor : 1 = 0;
    std::uint32_t _hand : 1 = 0;
    std::uint32_t _foot : 1 = 0;
    std::uint32_t _accessory : 1 = 0;
    std::uint32_t _torch : 1 = 0;
    std::uint32_t rest_ : 21 = 0;

    EquipFlag() = default;
    explicit EquipFlag(std::uint32_t word) { setWord(word); }

    std::uint32_t word() const {
        std::uint32_t w;
        std::memcpy(&w, this, sizeof w);
        return w;
    }
    void setWord(std::uint32_t w) { std::memcpy(static_cast<void*>(this), &w, sizeof w); }
    bool operator==(const EquipFlag& other) const { return word() == other.word(); }
};

// The scripts' `_val` reads and writes the word at the object's address.
static_assert(sizeof(EquipFlag) == 4, "an EquipFlag is one 32-bit word");
