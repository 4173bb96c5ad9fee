// What an action (or an item's read, zap and use) asks the player to pick:
// five one-bit flags, bit 0 first, in one unsigned 32-bit word. The other
// bits carry nothing but are kept, so the all-ones word that a table gives
// for "no such use" reads back unchanged.
#pragma once

#include <cstdint>

struct TARGET_FLAG {
    enum Bit : int { DIR = 0, POINT, ITEM1, ITEM2, LOCK, BIT_COUNT };

    // The scripts' names of the bits, in bit order (each reached as "_name").
    static constexpr const char* NAMES[BIT_COUNT] = {"dir", "point", "item1", "item2", "lock"};

    std::uint32_t val = 0;

    constexpr TARGET_FLAG() = default;
    constexpr explicit TARGET_FLAG(std::uint32_t word) : val(word) {}

    static constexpr std::uint32_t mask(Bit b) { return 1u << b; }
    constexpr bool test(Bit b) const { return (val & mask(b)) != 0; }
    constexpr void set(Bit b, bool on) { val = on ? val | mask(b) : val & ~mask(b); }

    constexpr bool operator==(const TARGET_FLAG&) const = default;
};

inline constexpr std::uint32_t TARGET_NONE = 0;
inline constexpr std::uint32_t TARGET_DIR = TARGET_FLAG::mask(TARGET_FLAG::DIR);
inline constexpr std::uint32_t TARGET_POINT = TARGET_FLAG::mask(TARGET_FLAG::POINT);
inline constexpr std::uint32_t TARGET_ITEM1 = TARGET_FLAG::mask(TARGET_FLAG::ITEM1);
inline constexpr std::uint32_t TARGET_ITEM2 = TARGET_FLAG::mask(TARGET_FLAG::ITEM2);
inline constexpr std::uint32_t TARGET_LOCK = TARGET_FLAG::mask(TARGET_FLAG::LOCK);

// The scripts' `_val` reads and writes the word at the object's address.
static_assert(sizeof(TARGET_FLAG) == 4, "a TARGET_FLAG is one 32-bit word");
