// Integer arithmetic of the shared value types, defined for every input.
//
// The game's figures are signed 32-bit numbers that wrap around on overflow,
// and its float-to-integer conversions truncate toward zero. Plain C++ leaves
// both undefined at the edges (signed overflow, out-of-range or NaN
// conversions), so every such step goes through these helpers: sums and
// products wrap modulo 2^32, and a conversion saturates at the int32 limits
// with NaN giving 0.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace qel::value_arith {

constexpr std::int32_t wrapAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

constexpr std::int32_t wrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

constexpr std::int32_t wrapNeg(std::int32_t a) {
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a));
}

constexpr std::int32_t wrapMul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// Division truncating toward zero. The two cases C++ leaves undefined get
// a value instead of a crash: a zero divisor gives 0, and INT32_MIN / -1
// wraps to INT32_MIN.
constexpr std::int32_t divTrunc(std::int32_t a, std::int32_t b) {
    if (b == 0) return 0;
    if (b == -1) return wrapNeg(a);
    return a / b;
}

// Truncation toward zero to 32 bits; NaN gives 0 and values beyond the range
// saturate (the game never relies on those; they arise from division by zero
// or absurd script factors).
inline std::int32_t truncToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

}  // namespace qel::value_arith
