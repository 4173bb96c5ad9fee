// One argument of a formatted text, carried with its class so that each
// conversion can check what it is given: integers (signed or unsigned),
// floating point, text, or a colour for the "##" switches.
#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/math/color.h"

namespace qel {

struct FormatArg {
    enum class Kind : std::uint8_t { Signed, Unsigned, Floating, Text, Colour };

    template <std::signed_integral T>
    FormatArg(T v) : kind(Kind::Signed), integer(static_cast<std::int64_t>(v)) {}
    template <std::unsigned_integral T>
    requires(!std::same_as<T, bool>) FormatArg(T v)
        : kind(Kind::Unsigned), integer(static_cast<std::int64_t>(v)) {}
    FormatArg(bool v) : kind(Kind::Signed), integer(v ? 1 : 0) {}
    FormatArg(double v) : kind(Kind::Floating), floating(v) {}
    FormatArg(float v) : kind(Kind::Floating), floating(v) {}
    FormatArg(long double v) : kind(Kind::Floating), floating(static_cast<double>(v)) {}
    FormatArg(const char* v)
        : kind(Kind::Text), text(v ? std::string_view(v) : std::string_view()) {}
    FormatArg(std::string_view v) : kind(Kind::Text), text(v) {}
    FormatArg(const std::string& v) : kind(Kind::Text), text(v) {}
    FormatArg(Color v) : kind(Kind::Colour), colour(v) {}

    Kind kind;
    std::int64_t integer = 0;
    double floating = 0.0;
    std::string_view text;
    Color colour;
};

}  // namespace qel
