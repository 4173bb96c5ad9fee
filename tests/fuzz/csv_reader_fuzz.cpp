// The data tables' cell reader over any bytes: the cells read back, joined
// by the separator, are the whole table; every conversion of a cell stays in
// its range; reading past the end gives empty cells.
#include <cmath>
#include <string>

#include "engine/file/file.h"
#include "game/data/csv_reader.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    const PoolBalance balance;
    {
        const ScratchFile table("csv");
        table.write({data, size}, qel::FILE_KEY);
        CsvReader reader(table.path());
        std::string joined;
        std::size_t cells = 0;
        while (!reader.atEnd()) {
            require(++cells <= size + 1, "one cell per separator at most");
            const std::string& cell = reader.readText();
            require(cell.find(',') == std::string::npos, "no separator inside a cell");
            if (cells > 1) joined += ',';
            joined += cell;
            qel::Point chip;
            if (CsvReader::toChip(cell, chip)) {
                require(chip.x >= 0 && chip.x < 16 && chip.y >= 0, "chip on the sheet");
            } else {
                require(chip.x == 0 && chip.y == 0, "a refused chip is (0, 0)");
            }
            const float f = CsvReader::toFloat(cell, 1.5f);
            require(!std::isnan(f) || cell.find_first_of("nN") != std::string::npos,
                    "NaN only from text that spells it");
            (void)CsvReader::toInt(cell, -7);
        }
        // A table ending in a separator ends in one more, empty, cell; an
        // end-of-file mark (0x1A) at the very end belongs to no cell.
        std::string whole(reinterpret_cast<const char*>(data), size);
        if (!whole.empty() && whole.back() == '\x1A') whole.pop_back();
        require(joined == whole, "cells rejoin into the table");
        require(reader.readText().empty() && reader.readInt(9) == 9 && !reader.readBool(),
                "past the end every cell is empty");
    }
    balance.check();
    return 0;
}
