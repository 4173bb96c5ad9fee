// The kinds of equipment a player may use: eleven one-bit flags, bit 0 first,
// in one unsigned 32-bit word. A race's table row gives its set; the other
// bits carry nothing but are kept.
#pragma once

#include <cstdint>

struct EquipFlag {
    enum Bit : int {
        RIGHT = 0,
        LEFT,
        TWO_HAND,
        BOOK,
        BOW,
        HEAD,
        ARMOR,
        HAND,
        FOOT,
        ACCESSORY,
        TORCH,
        BIT_COUNT
    };

    // The scripts' names of the bits, in bit order (each reached as "_name").
    static constexpr const char* NAMES[BIT_COUNT] = {"right", "left",      "twoHand", "book",
                                                     "bow",   "head",      "armor",   "hand",
                                                     "foot",  "accessory", "torch"};

    std::uint32_t val = 0;

    constexpr EquipFlag() = default;
    constexpr explicit EquipFlag(std::uint32_t word) : val(word) {}

    static constexpr std::uint32_t mask(Bit b) { return 1u << b; }
    constexpr bool test(Bit b) const { return (val & mask(b)) != 0; }
    constexpr void set(Bit b, bool on) { val = on ? val | mask(b) : val & ~mask(b); }

    constexpr bool operator==(const EquipFlag&) const = default;
};

// The scripts' `_val` reads and writes the word at the object's address.
static_assert(sizeof(EquipFlag) == 4, "an EquipFlag is one 32-bit word");
