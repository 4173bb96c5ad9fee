// Dice texts: no expression, parsed or added to, holds more dice than the
// cap; its bounds hold every roll; its text form parses back to the same
// bounds.
#include <limits>
#include <string>

#include "engine/core/sys_rand.h"
#include "game/data/dice.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Dice a roll draws: the |count| of every term of two sides or more.
long long diceOf(const Dice& d) {
    long long dice = 0;
    for (const Dice* t = &d; t; t = t->next()) {
        if (t->sides() >= 2)
            dice += t->count() < 0 ? -static_cast<long long>(t->count()) : t->count();
    }
    return dice;
}

bool hasMinimumCount(const Dice& d) {
    for (const Dice* t = &d; t; t = t->next()) {
        if (t->count() == std::numeric_limits<std::int32_t>::min()) return true;
    }
    return false;
}

void requireSound(const Dice& d) {
    using qel::fuzz::require;
    require(diceOf(d) <= Dice::kMaxDice, "no more dice than the cap");
    require(d.getMin() <= d.getMax(), "min <= max");
    for (const Dice* t = &d; t; t = t->next()) require(t->sides() >= 0, "no negative sides");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    const PoolBalance balance;
    {
        const std::string_view text(reinterpret_cast<const char*>(data), size);
        Dice dice;
        const bool parsed = dice.Create(text);
        requireSound(dice);
        qel::SysRand rand;
        rand.seed(static_cast<std::uint32_t>(size));
        for (int i = 0; i < 4; ++i) {
            const std::int32_t r = dice.roll(rand);
            require(r >= dice.getMin() && r <= dice.getMax(), "roll within bounds");
        }
        // A count that saturated at the 32-bit minimum prints as a number
        // the parser saturates one higher.
        if (parsed && !hasMinimumCount(dice)) {
            Dice back;
            require(back.Create(dice.name()), "the text form parses");
            require(back.getMin() == dice.getMin() && back.getMax() == dice.getMax(),
                    "the text form has the same bounds");
        }
        Dice copy(dice);
        require(copy == dice, "a copy has the same terms");
        copy.add(copy);
        requireSound(copy);
        copy.add(dice.next() ? *dice.next() : dice);
        copy.addCount(static_cast<std::int32_t>(size) * 977, static_cast<std::int32_t>(size % 13));
        requireSound(copy);
    }
    balance.check();
    return 0;
}
