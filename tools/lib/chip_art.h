// Pictures drawn as text: a chip sheet (or any picture) described by a
// palette and rows of letters, so the game's art is written, not stored.
//
//   size <width> <height> <cell>      the picture and its chip size
//   palette <letter> <RRGGBB>         a letter's colour ('.' is black, the
//                                     transparent colour key)
//   chip <column> <row>               then <cell> rows of <cell> letters
//   copy <column> <row> <to column> <to row>
//   gradient <x> <y> <width> <height> <RRGGBB> <RRGGBB>
//                                     a rectangle shaded from top to bottom
//   block <x> <y> <scale>             then rows of letters up to a line
//                                     "end", each letter a scale x scale
//                                     square (a space leaves the picture)
//   # ...                             a comment
//
// What it keeps true: the same text gives the same pixels; a line that is
// not a command, a letter without a colour, a row of the wrong length or a
// chip outside the picture is refused naming its line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qel::tools {

struct ChipPicture {
    int width = 0;
    int height = 0;
    int cell = 0;                     // the chip size "size" gave
    std::vector<std::uint32_t> argb;  // row-major, opaque black where unset
};

bool drawChipArt(const std::string& text, ChipPicture& out, std::string& error);
// PNG bytes of the picture (RGBA); empty when encoding failed.
std::vector<std::uint8_t> encodePng(const ChipPicture& picture);

}  // namespace qel::tools
