#include "tools/lib/table_check.h"

#include <cstddef>
#include <vector>

#include "game/data/csv_reader.h"

namespace qel::tools {

namespace {

std::vector<std::string_view> splitCells(std::string_view line) {
    std::vector<std::string_view> cells;
    for (;;) {
        const std::size_t comma = line.find(',');
        cells.push_back(line.substr(0, comma));
        if (comma == std::string_view::npos) return cells;
        line.remove_prefix(comma + 1);
    }
}

bool isNumber(std::string_view cell) {
    if (cell.empty()) return false;
    for (const char c : cell)
        if (c < '0' || c > '9') return false;
    return true;
}

bool isList(std::string_view name) {
    return name.size() > 3 && name.ends_with("...");
}

bool endsList(std::string_view cell) {
    return cell.empty() || cell[0] == '-';
}

// True when the chip's cell of the sheet has a pixel that is not black.
bool chipDrawn(const ChipPicture& sheet, const Point& chip) {
    const int size = sheet.cell;
    if (size <= 0 || chip.x < 0 || chip.y < 0 || (chip.x + 1) * size > sheet.width ||
        (chip.y + 1) * size > sheet.height)
        return false;
    for (int y = chip.y * size; y < (chip.y + 1) * size; ++y)
        for (int x = chip.x * size; x < (chip.x + 1) * size; ++x)
            if ((sheet.argb[static_cast<std::size_t>(y) * sheet.width + x] & 0xFFFFFFu) != 0)
                return true;
    return false;
}

}  // namespace

bool checkTable(std::string_view text, const std::string& name, const ChipPicture* chips,
                std::string& error) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    // Blank lines may end the table, never come between its rows.
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string_view::npos)
        lines.pop_back();
    const auto fail = [&](std::size_t index, const std::string& why) {
        error = name + ":" + std::to_string(index + 1) + ": " + why;
        return false;
    };
    if (lines.empty()) return fail(0, "the table has no header");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find_first_not_of(" \t") == std::string_view::npos)
            return fail(i, "a blank line between the rows (the game would read on into it)");
        if (!lines[i].ends_with(','))
            return fail(i,
                        "the line does not end with ',' (the game would read its last cell "
                        "on into the next line)");
    }
    std::vector<std::string_view> header = splitCells(lines[0].substr(0, lines[0].size() - 1));
    // The distribution's two counts come before the names of its cells.
    if (header.size() >= 2 && isNumber(header[0]) && isNumber(header[1]))
        header.erase(header.begin(), header.begin() + 2);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string_view> cells =
            splitCells(lines[i].substr(0, lines[i].size() - 1));
        std::size_t at = 0;
        for (const std::string_view column : header) {
            if (isList(column)) {
                while (at < cells.size() && !endsList(cells[at])) ++at;
                if (at == cells.size())
                    return fail(i, "the list " + std::string(column) +
                                       " has no end (an empty cell or one beginning with '-')");
                ++at;
                continue;
            }
            if (at == cells.size())
                return fail(i, "the row has fewer cells than its header names: " +
                                   std::string(column) + " and what follows are missing");
            if (column == "chip" && chips) {
                Point chip;
                if (!CsvReader::toChip(cells[at], chip))
                    return fail(i, "chip '" + std::string(cells[at]) + "' is no chip code");
                if (!chipDrawn(*chips, chip))
                    return fail(i, "chip " + std::string(cells[at]) + " (column " +
                                       std::to_string(chip.x) + ", row " + std::to_string(chip.y) +
                                       ") is not drawn on the chip sheet");
            }
            ++at;
        }
        if (at != cells.size())
            return fail(i, "the row has " + std::to_string(cells.size() - at) +
                               " more cells than its header names");
    }
    return true;
}

}  // namespace qel::tools
