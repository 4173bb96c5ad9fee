// The script settings that the status formulas and the full-time effect
// names read: the level divisor, the carrying-capacity factors, the defence
// a blessed armour adds, and the names shown for floating, passing through
// walls and invisibility.
//
// World code sits below the shell and cannot see the globals of module `C`;
// the shell installs a source here that reads them at the moment of use.
// Without one the start values apply. The names are borrowed from the
// source's storage (null reads as empty), so a read copies no text.
#pragma once

#include <cstdint>
#include <string>

struct StatusSettings {
    // Divisor of the level terms; 0 drops them (see value_arith::divTrunc).
    std::int32_t levelRatio = 0;
    float weightBase = 0.0f;
    float weightStr = 0.0f;
    float weightVit = 0.0f;
    std::int32_t blessedDefense = 2;
    const std::string* nameFloat1 = nullptr;
    const std::string* nameFloat2 = nullptr;
    const std::string* nameThrough = nullptr;
    const std::string* nameInvisible = nullptr;

    using Source = StatusSettings (*)();
    static void setSource(Source source);
    // The values now: the installed source's, or the start values.
    static StatusSettings current();
};
