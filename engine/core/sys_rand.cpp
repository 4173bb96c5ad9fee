#include "engine/core/sys_rand.h"

#include <cmath>

namespace qel {

namespace {

// The published SFMT-19937 parameter set.
constexpr int kPos1 = 122;
constexpr int kSl1 = 18;
constexpr int kSl2Bytes = 1;
constexpr int kSr1 = 11;
constexpr int kSr2Bytes = 1;
constexpr std::uint32_t kMask[4] = {0xDFFFFFEFu, 0xDDFECB7Fu, 0xBFFAFFFFu, 0xBFFFFFF6u};
constexpr std::uint32_t kParity[4] = {0x00000001u, 0x00000000u, 0x00000000u, 0x13C9E684u};

// A draw before any seed behaves as if seeded with this value, so the
// stream is still well defined.
constexpr std::uint32_t kDefaultSeed = 5489;

// Each block is one 128-bit value; word 0 holds its least significant bits.
struct Block {
    std::uint32_t w[4];
};

Block load(const std::uint32_t* p) {
    return {{p[0], p[1], p[2], p[3]}};
}

std::uint64_t high(const Block& b) {
    return (std::uint64_t{b.w[3]} << 32) | b.w[2];
}
std::uint64_t low(const Block& b) {
    return (std::uint64_t{b.w[1]} << 32) | b.w[0];
}
Block fromHalves(std::uint64_t hi, std::uint64_t lo) {
    return {{static_cast<std::uint32_t>(lo), static_cast<std::uint32_t>(lo >> 32),
             static_cast<std::uint32_t>(hi), static_cast<std::uint32_t>(hi >> 32)}};
}

// Shifts of the whole 128-bit value by a whole number of bytes (1..7).
Block shiftLeft128(const Block& b, int bytes) {
    const int bits = bytes * 8;
    const std::uint64_t hi = (high(b) << bits) | (low(b) >> (64 - bits));
    return fromHalves(hi, low(b) << bits);
}
Block shiftRight128(const Block& b, int bytes) {
    const int bits = bytes * 8;
    const std::uint64_t lo = (low(b) >> bits) | (high(b) << (64 - bits));
    return fromHalves(high(b) >> bits, lo);
}

// One step of the recursion: the new value of block a, from a itself, the
// block b POS1 ahead, and the two blocks c and d computed last (d newest).
void recursion(std::uint32_t* out, const Block& a, const Block& b, const Block& c, const Block& d) {
    const Block x = shiftLeft128(a, kSl2Bytes);
    const Block y = shiftRight128(c, kSr2Bytes);
    for (int i = 0; i < 4; ++i) {
        out[i] = a.w[i] ^ x.w[i] ^ ((b.w[i] >> kSr1) & kMask[i]) ^ y.w[i] ^ (d.w[i] << kSl1);
    }
}

// 2^-32: the draw as a fraction of the full 32-bit range.
constexpr double kUnit = 1.0 / 4294967296.0;

// Rounding a value of [0, bound) to single precision may land on bound
// itself; step back to the float just inside.
float keepBelow(double value, float from, float bound) {
    const float f = static_cast<float>(value);
    if (from == bound) return from;
    if (from < bound ? f >= bound : f <= bound) return std::nextafter(bound, from);
    return f;
}

}  // namespace

SysRand::SysRand() = default;

SysRand& SysRand::instance() {
    static SysRand rand;
    return rand;
}

void SysRand::seed(std::uint32_t s) {
    state_[0] = s;
    for (int i = 1; i < kWords; ++i) {
        const std::uint32_t prev = state_[i - 1];
        state_[i] = 1812433253u * (prev ^ (prev >> 30)) + static_cast<std::uint32_t>(i);
    }
    position_ = kWords;

    // Period certification: the parity of the first block's inner product
    // with the parity vector must be odd; otherwise flip the lowest set bit
    // of the parity vector in the state.
    std::uint32_t inner = 0;
    for (int i = 0; i < 4; ++i) inner ^= state_[i] & kParity[i];
    for (int shift = 16; shift > 0; shift >>= 1) inner ^= inner >> shift;
    if ((inner & 1u) == 0) {
        bool flipped = false;
        for (int i = 0; i < 4 && !flipped; ++i) {
            for (int bit = 0; bit < 32; ++bit) {
                const std::uint32_t work = 1u << bit;
                if (work & kParity[i]) {
                    state_[i] ^= work;
                    flipped = true;
                    break;
                }
            }
        }
    }
    initialised_ = true;
}

void SysRand::generateAll() {
    std::uint32_t* s = state_;
    const auto block = [s](int i) { return load(s + 4 * i); };
    Block c = block(kBlocks - 2);
    Block d = block(kBlocks - 1);
    for (int i = 0; i < kBlocks; ++i) {
        const int ahead = i + kPos1 < kBlocks ? i + kPos1 : i + kPos1 - kBlocks;
        recursion(s + 4 * i, block(i), block(ahead), c, d);
        c = d;
        d = block(i);
    }
}

std::uint32_t SysRand::getRand() {
    if (!initialised_) seed(kDefaultSeed);
    if (position_ >= kWords) {
        generateAll();
        position_ = 0;
    }
    return state_[position_++];
}

float SysRand::float01FromDraw(std::uint32_t draw) {
    return keepBelow(draw * kUnit, 0.0f, 1.0f);
}

float SysRand::floatToFromDraw(float max, std::uint32_t draw) {
    return keepBelow(max * (draw * kUnit), 0.0f, max);
}

float SysRand::floatRangeFromDraw(float min, float max, std::uint32_t draw) {
    return keepBelow(min + (static_cast<double>(max) - min) * (draw * kUnit), min, max);
}

float SysRand::getFloat01() {
    return float01FromDraw(getRand());
}

float SysRand::getFloatTo(float max) {
    return floatToFromDraw(max, getRand());
}

float SysRand::getFloatRange(float min, float max) {
    return floatRangeFromDraw(min, max, getRand());
}

}  // namespace qel
