// The materials an item kind is made of (and a monster kind eats): sixteen
// one-bit flags in one unsigned 32-bit word. A table cell gives them as
// letters, one per material; the other bits are kept as read.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/core/core.h"

struct ItemMaterial {
    enum Bit : int {
        HERB = 0,
        ORGANIC,
        FRESH,
        CLOTH,
        PAPER,
        LEATHER,
        DRAGON,
        WOOD,
        MACHINE,
        BONE,
        IRON,
        MITHRIL,
        GOLD,
        GLASS,
        JEWEL,
        STONE,
        BIT_COUNT
    };
    // The scripts' names of the bits, in bit order (each reached as "_name"),
    // and the table letter of each.
    static constexpr const char* NAMES[BIT_COUNT] = {
        "herb",    "organic", "fresh", "cloth",   "paper", "leather", "dragon", "wood",
        "machine", "bone",    "iron",  "mithril", "gold",  "glass",   "jewel",  "stone"};
    static constexpr char LETTERS[BIT_COUNT + 1] = "hofcpldwmbiMagjs";

    std::uint32_t val = 0;

    constexpr ItemMaterial() = default;
    constexpr explicit ItemMaterial(std::uint32_t word) : val(word) {}
    // A copy of `other`'s word; the empty set for null.
    constexpr explicit ItemMaterial(const ItemMaterial* other) : val(other ? other->val : 0) {}

    // Every letter of `cell` that names a material sets its bit; other
    // characters are ignored.
    static constexpr ItemMaterial fromLetters(std::string_view cell) {
        ItemMaterial m;
        for (char c : cell) {
            for (int b = 0; b < BIT_COUNT; ++b) {
                if (LETTERS[b] == c) m.val |= mask(static_cast<Bit>(b));
            }
        }
        return m;
    }

    static constexpr std::uint32_t mask(Bit b) { return 1u << b; }
    constexpr bool test(Bit b) const { return (val & mask(b)) != 0; }
    constexpr void set(Bit b, bool on) { val = on ? val | mask(b) : val & ~mask(b); }

    // The scripts' equality: any two non-empty sets are equal, and the empty
    // set equals only the empty set.
    constexpr bool operator==(const ItemMaterial& other) const { return matches(other.val); }
    constexpr bool operator==(std::int32_t word) const {
        return matches(static_cast<std::uint32_t>(word));
    }
    constexpr std::uint32_t bitAnd(const ItemMaterial& other) const { return val & other.val; }
    constexpr std::uint32_t bitOr(const ItemMaterial& other) const { return val | other.val; }
    // Null stands for the empty set.
    constexpr std::uint32_t bitAnd(const ItemMaterial* other) const {
        return other ? bitAnd(*other) : 0;
    }
    constexpr std::uint32_t bitOr(const ItemMaterial* other) const {
        return other ? bitOr(*other) : val;
    }

    QEL_POOLED(qel::Pool::General);

private:
    constexpr bool matches(std::uint32_t other) const {
        return val == other || (val != 0 && other != 0);
    }
};

static_assert(sizeof(ItemMaterial) == 4, "an ItemMaterial is one 32-bit word");
