// Small text helpers shared by the engine and the game.
//
// Game text is Shift-JIS: a byte 0x81..0x9F or 0xE0..0xFE leads a two-byte
// character whose trail byte may look like ASCII (even '\\'). Every scanner
// here walks whole characters, treats a lead byte with nothing after it as a
// single byte, and never reads past the end of its input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qel {

constexpr bool isSjisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFE);
}

// Bytes of the character starting at `pos` (1 or 2; 0 at or past the end).
std::size_t sjisCharSize(std::string_view text, std::size_t pos);

// Length of the longest prefix of whole characters not longer than `limit`.
std::size_t sjisPrefixLength(std::string_view text, std::size_t limit);

// The text from byte `offset` (clamped to the end), cut to at most `limit`
// bytes without splitting a character; limit 0 means no limit.
std::string cutString(std::string_view text, std::size_t offset, std::size_t limit);

// A name's case-free key, the one every by-name lookup uses (files,
// resources, sounds): single-byte 'A'..'Z' lowered, two-byte characters
// kept whole, since a trail byte in 'A'..'Z' is no capital ("ア" 83 41 and
// "ヂ" 83 61 are different names).
std::string foldName(std::string_view name);

// Optional '-', optional '0', then 'x' or 'X' (required: -1 without it),
// then the hexadecimal digits that follow, wrapping at 32 bits.
// "0xff" -> 255, "x1F" -> 31, "-0x10" -> -16, "0x" -> 0, "10" -> -1.
std::int32_t parseHex(std::string_view text);

// Looks at the printf conversion starting with '%' at `position` and adds
// the 32-bit stack size of the arguments it consumes to `byteCount` (4 per
// '*', 8 for a floating conversion, 4 for the other known conversions); on
// success `position` is left on the conversion character. False, with both
// outputs untouched, when there is no '%' there or the text ends first.
// Only a size: arguments are always read with va_arg by their type.
bool formatArgSize(std::string_view format, std::size_t& position, std::size_t& byteCount);

// A path as scripts and data give it, with '\\' separators made '/'; a '\\'
// that is the trail byte of a two-byte character is kept.
std::string toSlashPath(std::string_view path);

}  // namespace qel
