// The damage-kind word of a hit: 23 named one-bit flags, bit 0 first, in one
// unsigned 32-bit word. Bits 23..31 have no name but are kept by every
// setter, so any word a script stores reads back unchanged.
#pragma once

#include <cstdint>

struct DAMAGE_TYPE {
    enum Bit : int {
        PHYSICAL = 0,
        NEAR,
        MAGIC,
        FIRE,
        FREEZE,
        THUNDER,
        GROUND,
        WIND,
        HOLY,
        EVIL,
        POISON,
        PENETRATE,
        REFLECT,
        SURELY,
        NOTEXT,
        SENDER,
        DEATH,
        SELF,
        IMPACT,
        NEAR_SUB,
        BOMB,
        NEAR_KICK,
        ARROW,
        BIT_COUNT
    };

    // The scripts' names of the bits, in bit order (each reached as "_name").
    static constexpr const char* NAMES[BIT_COUNT] = {
        "physical", "near", "magic",  "fire",      "freeze",  "thunder",  "ground", "wind",
        "holy",     "evil", "poison", "penetrate", "reflect", "surely",   "notext", "sender",
        "death",    "self", "impact", "nearSub",   "bomb",    "nearKick", "arrow",
    };

    std::uint32_t val = 0;

    constexpr DAMAGE_TYPE() = default;
    constexpr explicit DAMAGE_TYPE(std::uint32_t word) : val(word) {}

    static constexpr std::uint32_t mask(Bit b) { return 1u << b; }
    constexpr bool test(Bit b) const { return (val & mask(b)) != 0; }
    constexpr void set(Bit b, bool on) { val = on ? val | mask(b) : val & ~mask(b); }

    constexpr bool operator==(const DAMAGE_TYPE&) const = default;
};

// Single-bit masks as the scripts name them. Bit 22 (arrow) has none.
inline constexpr std::uint32_t DAMAGE_NONE = 0;
inline constexpr std::uint32_t DAMAGE_PHYSICAL = DAMAGE_TYPE::mask(DAMAGE_TYPE::PHYSICAL);
inline constexpr std::uint32_t DAMAGE_NEAR = DAMAGE_TYPE::mask(DAMAGE_TYPE::NEAR);
inline constexpr std::uint32_t DAMAGE_MAGIC = DAMAGE_TYPE::mask(DAMAGE_TYPE::MAGIC);
inline constexpr std::uint32_t DAMAGE_FIRE = DAMAGE_TYPE::mask(DAMAGE_TYPE::FIRE);
inline constexpr std::uint32_t DAMAGE_FREEZE = DAMAGE_TYPE::mask(DAMAGE_TYPE::FREEZE);
inline constexpr std::uint32_t DAMAGE_THUNDER = DAMAGE_TYPE::mask(DAMAGE_TYPE::THUNDER);
inline constexpr std::uint32_t DAMAGE_GROUND = DAMAGE_TYPE::mask(DAMAGE_TYPE::GROUND);
inline constexpr std::uint32_t DAMAGE_WIND = DAMAGE_TYPE::mask(DAMAGE_TYPE::WIND);
inline constexpr std::uint32_t DAMAGE_HOLY = DAMAGE_TYPE::mask(DAMAGE_TYPE::HOLY);
inline constexpr std::uint32_t DAMAGE_EVIL = DAMAGE_TYPE::mask(DAMAGE_TYPE::EVIL);
inline constexpr std::uint32_t DAMAGE_POISON = DAMAGE_TYPE::mask(DAMAGE_TYPE::POISON);
inline constexpr std::uint32_t DAMAGE_PENETRATE = DAMAGE_TYPE::mask(DAMAGE_TYPE::PENETRATE);
inline constexpr std::uint32_t DAMAGE_REFLECT = DAMAGE_TYPE::mask(DAMAGE_TYPE::REFLECT);
inline constexpr std::uint32_t DAMAGE_SURELY = DAMAGE_TYPE::mask(DAMAGE_TYPE::SURELY);
inline constexpr std::uint32_t DAMAGE_NOTEXT = DAMAGE_TYPE::mask(DAMAGE_TYPE::NOTEXT);
inline constexpr std::uint32_t DAMAGE_SENDER = DAMAGE_TYPE::mask(DAMAGE_TYPE::SENDER);
inline constexpr std::uint32_t DAMAGE_DEATH = DAMAGE_TYPE::mask(DAMAGE_TYPE::DEATH);
inline constexpr std::uint32_t DAMAGE_SELF = DAMAGE_TYPE::mask(DAMAGE_TYPE::SELF);
inline constexpr std::uint32_t DAMAGE_IMPACT = DAMAGE_TYPE::mask(DAMAGE_TYPE::IMPACT);
inline constexpr std::uint32_t DAMAGE_NEARSUB = DAMAGE_TYPE::mask(DAMAGE_TYPE::NEAR_SUB);
inline constexpr std::uint32_t DAMAGE_BOMB = DAMAGE_TYPE::mask(DAMAGE_TYPE::BOMB);
inline constexpr std::uint32_t DAMAGE_NEARKICK = DAMAGE_TYPE::mask(DAMAGE_TYPE::NEAR_KICK);
