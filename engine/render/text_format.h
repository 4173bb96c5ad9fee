// Formatted text in pieces: a printf-style format whose "##" switches the
// colour in mid-text, formatted from typed arguments.
//
// Kept true: every conversion is found as the C library would find it
// (flags " #+-0", a width of digits or "*", a precision "." with digits or
// "*", length modifiers "h", "l", "L", then the conversion character) and
// formatted alone, by snprintf, from its own arguments, which must be of its
// class: integers for "c", "d", "i", "o", "p", "u", "x", "X" and "*"; floating
// point for "a", "A", "e", "E", "f", "g", "G"; text for "s", "S". A
// conversion without an argument left, or given one of another class,
// formats as nothing (reported once); "%n" consumes its argument and
// formats nothing. Each "##" takes the argument after the piece's ones as
// the next colour (a non-colour or none left keeps the colour). No argument
// is read past the end, whatever the format says.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/math/color.h"
#include "engine/render/format_arg.h"

namespace qel {

struct TextPiece {
    std::string text;
    Color colour;
};

// The pieces between the format's "##" switches, in order; the first in
// `colour`. There is always at least one piece (perhaps empty).
std::vector<TextPiece> formatPieces(std::string_view format, Color colour,
                                    std::span<const FormatArg> args);

}  // namespace qel
