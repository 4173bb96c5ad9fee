// A 32-bit ARGB colour stored as four bytes: blue, green, red, alpha from the
// lowest address (so the little-endian word reads 0xAARRGGBB).
//
// Every operation yields channels within 0..255 whatever its operands: sums
// saturate at 255, differences at 0, float scaling truncates toward zero and
// then clamps (NaN gives 0), and modulation is (a * b) >> 8 on every channel,
// alpha included, so white times white loses one step (255 -> 254). The
// scaling and additive operators keep the left alpha. A default Color is
// transparent black. Colours that scripts create live in the general pool.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/core.h"

namespace qel {

struct Color {
    std::uint8_t b = 0;
    std::uint8_t g = 0;
    std::uint8_t r = 0;
    std::uint8_t a = 0;

    constexpr Color() = default;
    constexpr Color(std::uint8_t r_, std::uint8_t g_, std::uint8_t b_, std::uint8_t a_ = 255)
        : b(b_), g(g_), r(r_), a(a_) {}
    // From a word 0xAARRGGBB. Explicit so that a number is never taken for a
    // colour operand by accident (colour * 2 must scale, not modulate).
    constexpr explicit Color(std::uint32_t argb)
        : b(static_cast<std::uint8_t>(argb)),
          g(static_cast<std::uint8_t>(argb >> 8)),
          r(static_cast<std::uint8_t>(argb >> 16)),
          a(static_cast<std::uint8_t>(argb >> 24)) {}
    constexpr Color(const Color& other, std::uint8_t alpha)
        : b(other.b), g(other.g), r(other.r), a(alpha) {}
    constexpr Color(const Color&) = default;
    constexpr Color& operator=(const Color&) = default;

    constexpr std::uint32_t argb() const {
        return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(r) << 16 |
               static_cast<std::uint32_t>(g) << 8 | b;
    }
    constexpr void setArgb(std::uint32_t word) { *this = Color(word); }

    constexpr void set(std::uint8_t r_, std::uint8_t g_, std::uint8_t b_) {
        r = r_;
        g = g_;
        b = b_;
    }
    constexpr void set(std::uint8_t r_, std::uint8_t g_, std::uint8_t b_, std::uint8_t a_) {
        set(r_, g_, b_);
        a = a_;
    }

    constexpr bool operator==(const Color&) const = default;

    constexpr Color operator+(const Color& o) const {
        return {addSat(r, o.r), addSat(g, o.g), addSat(b, o.b), a};
    }
    constexpr Color operator-(const Color& o) const {
        return {subSat(r, o.r), subSat(g, o.g), subSat(b, o.b), a};
    }
    constexpr Color operator*(const Color& o) const {
        return {modulate(r, o.r), modulate(g, o.g), modulate(b, o.b), modulate(a, o.a)};
    }
    // Single-precision product per colour channel, truncated, then clamped.
    constexpr Color operator*(float f) const {
        return {scale(static_cast<float>(r) * f), scale(static_cast<float>(g) * f),
                scale(static_cast<float>(b) * f), a};
    }
    // Division by zero gives 255 for a lit channel and 0 for a dark one.
    constexpr Color operator/(float f) const {
        return {scale(static_cast<float>(r) / f), scale(static_cast<float>(g) / f),
                scale(static_cast<float>(b) / f), a};
    }

    // Per channel, alpha included: c1 + t (c2 - c1) in single precision,
    // truncated and cut to its low byte (t outside 0..1 wraps, as it always has).
    static Color Lerp(const Color& c1, const Color& c2, float t = 0.5f);

    static const Color BLACK;
    static const Color WHITE;
    static const Color GLAY;
    static const Color RED;
    static const Color GREEN;
    static const Color BLUE;
    static const Color YELLOW;
    static const Color CYAN;
    static const Color MAGENTA;
    static const Color TRANSPARENT_BLACK;
    static const Color TRANSPARENT_WHITE;

    QEL_POOLED(qel::Pool::General);

private:
    static constexpr std::uint8_t addSat(int l, int r) {
        return static_cast<std::uint8_t>(l + r > 255 ? 255 : l + r);
    }
    static constexpr std::uint8_t subSat(int l, int r) {
        return static_cast<std::uint8_t>(l - r < 0 ? 0 : l - r);
    }
    static constexpr std::uint8_t modulate(unsigned l, unsigned r) {
        return static_cast<std::uint8_t>((l * r) >> 8);
    }
    static constexpr std::uint8_t scale(float v) {
        // The comparisons come first so that NaN and huge values never reach
        // the integer conversion.
        if (!(v >= 1.0f)) return 0;
        if (v >= 255.0f) return 255;
        return static_cast<std::uint8_t>(static_cast<int>(v));
    }
};

inline constexpr Color Color::BLACK{0xFF000000u};
inline constexpr Color Color::WHITE{0xFFFFFFFFu};
inline constexpr Color Color::GLAY{0xFF808080u};
inline constexpr Color Color::RED{0xFFFF0000u};
inline constexpr Color Color::GREEN{0xFF00FF00u};
inline constexpr Color Color::BLUE{0xFF0000FFu};
inline constexpr Color Color::YELLOW{0xFFFFFF00u};
inline constexpr Color Color::CYAN{0xFF00FFFFu};
inline constexpr Color Color::MAGENTA{0xFFFF00FFu};
inline constexpr Color Color::TRANSPARENT_BLACK{0x00000000u};
inline constexpr Color Color::TRANSPARENT_WHITE{0x00FFFFFFu};

static_assert(sizeof(Color) == 4, "a Color is one 32-bit word");

}  // namespace qel
