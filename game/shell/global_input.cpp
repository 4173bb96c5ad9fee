// The global script functions of the pads, the dice and the random draws.
// Every draw comes from the game's one generator, so a fixed seed replays
// a game.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "engine/core/sys_rand.h"
#include "engine/input/input_joystick.h"
#include "engine/input/sys_input.h"
#include "game/data/dice.h"
#include "game/shell/global_functions.h"

namespace {

bool isPadIndex(int index) {
    return index >= 0 && index < qel::InputJoystick::kCodeCount;
}

qel::SysRand& generator() {
    return qel::SysRand::instance();
}

}  // namespace

bool C_PadOn(int index) {
    return isPadIndex(index) && qel::SysInput::instance().isPadOn(index);
}

bool C_PadTrg(int index) {
    return isPadIndex(index) && qel::SysInput::instance().isPadTrigger(index);
}

bool C_PadRpt(int index) {
    return isPadIndex(index) && qel::SysInput::instance().isPadRepeat(index);
}

int C_Dice(int count, int sides) {
    // One term; as many dice as an expression may hold at most.
    if (sides >= 2)
        count = static_cast<int>(std::clamp<std::int64_t>(count, -Dice::kMaxDice, Dice::kMaxDice));
    return Dice(count, sides).roll();
}

unsigned int C_GetRandt() {
    return generator().getRand();
}

unsigned int C_GetRandI_0toN(unsigned int n) {
    return generator().getRand() % std::max(n, 1u);
}

unsigned int C_GetRandI_1toN(unsigned int n) {
    return generator().getRand() % std::max(n, 1u) + 1;
}

int C_GetRandI_NtoM(int n, int m) {
    // An empty span (m one below n) has only n to give; otherwise the two
    // ends may come in either order.
    if (static_cast<std::int64_t>(m) == static_cast<std::int64_t>(n) - 1) return n;
    const int low = std::min(n, m);
    const int high = std::max(n, m);
    const std::uint32_t span =
        static_cast<std::uint32_t>(high) - static_cast<std::uint32_t>(low) + 1u;
    const std::uint32_t r = generator().getRand();
    // A span of the whole 32-bit range wraps to 0: every output is in it.
    const std::uint32_t offset = span == 0 ? r : r % span;
    return static_cast<int>(static_cast<std::uint32_t>(low) + offset);
}

float C_GetRandF_0to1() {
    return generator().getFloat01();
}

float C_GetRandF_0toN(float n) {
    return generator().getFloatTo(n);
}

float C_GetRandF_NtoM(float n, float m) {
    return generator().getFloatRange(n, m);
}
