// The program's one random generator: SFMT-19937 (Saito and Matsumoto's
// SIMD-oriented Fast Mersenne Twister, period 2^19937 - 1), computed here
// with plain 32-bit words.
//
// What it keeps true: the state is 156 blocks of four words; the read
// position is 0..624, and 624 means every word has been handed out, so the
// next draw first regenerates all blocks in place. After seeding, the state
// passes the published period certification, and the draws equal the
// algorithm's reference output for the same seed. Float draws never reach
// their upper bound.
//
// Used by one thread at a time (the game thread, or the boot loader while
// the game thread only polls); it takes no lock.
#pragma once

#include <cstdint>

#include "engine/core/core.h"

namespace qel {

class SysRand : public Core {
public:
    static constexpr int kBlocks = 156;
    static constexpr int kWords = kBlocks * 4;

    SysRand();
    static SysRand& instance();
    QEL_CLASS(SysRand, Core, Pool::System);

    void seed(std::uint32_t s);
    // The next raw 32-bit draw. An integer choice among n is getRand() % n.
    std::uint32_t getRand();
    // draw * 2^-32 in [0, 1).
    float getFloat01();
    // A float between 0 (included) and max (excluded unless max is 0).
    float getFloatTo(float max);
    // min + (max - min) * u, u in [0, 1); never max itself unless min == max.
    float getFloatRange(float min, float max);
    // Refills every block from the recursion.
    void generateAll();

    bool isSeeded() const { return initialised_; }

    // The float draws as functions of one raw draw.
    static float float01FromDraw(std::uint32_t draw);
    static float floatToFromDraw(float max, std::uint32_t draw);
    static float floatRangeFromDraw(float min, float max, std::uint32_t draw);

private:
    std::uint32_t state_[kWords] = {};
    int position_ = kWords;
    bool initialised_ = false;
};

}  // namespace qel
