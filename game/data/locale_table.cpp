#include "game/data/locale_table.h"

#include "game/data/csv_reader.h"

void applyLocaleTable(const std::string& path, std::size_t cellCount,
                      const std::function<void(const std::vector<std::string>& cells)>& apply) {
    CsvReader reader(path);
    if (!reader.isGood()) return;
    reader.skipLine();
    std::vector<std::string> cells(cellCount);
    for (;;) {
        for (std::string& cell : cells) cell = reader.readText();
        // The data ran out before the separator after the last cell: the
        // row is cut short (or there is none).
        if (reader.atEnd()) return;
        apply(cells);
        reader.skipLine();
    }
}
