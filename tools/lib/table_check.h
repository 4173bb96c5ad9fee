// What the packer checks of a data table before packing it, so a table the
// game would misread stops the build naming its file and line.
//
// A table is lines of cells separated by ','; the game reads a cell up to
// the next ',' whatever the line, so every line ends with a ',' and no
// blank line comes before the last row. The first line, the header, names
// every cell of a row in order:
//
//   name          one cell
//   name...       a list: cells up to and including the first one that is
//                 empty or begins with '-' (the list's end)
//
// A row whose cells do not match its header (too few, too many, a list
// without its end) is refused. The monster distribution's header begins
// with its two counts (numbers); the names after them describe its rows.
// A cell under a header named "chip" names a chip of the chip sheet (one
// byte: its code; longer: hexadecimal such as "0x9E": row in the high
// digit, column in the low one); given the sheet, a chip it leaves empty
// (every pixel black, the transparent colour) is refused.
#pragma once

#include <string>
#include <string_view>

#include "tools/lib/chip_art.h"

namespace qel::tools {

// `text` is the table as written (UTF-8); `name` starts each message
// ("<name>:<line>: ..."). `chips` (may be null) is the drawn chip sheet.
bool checkTable(std::string_view text, const std::string& name, const ChipPicture* chips,
                std::string& error);

}  // namespace qel::tools
