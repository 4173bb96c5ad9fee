// Reading a language table: the scrambled comma-separated file that gives
// records of a data list their texts in another language. Each row names
// its record (by tag or id) and holds the new texts; records are never
// added or removed.
//
// What it keeps true: only whole rows are applied. The first line is a
// header; a row is whole when the separator after its last cell was read,
// so a table cut short inside a row leaves that row's record as it was. A
// table that cannot be opened changes nothing. Cells are taken as bytes,
// whatever they hold; a text bound to a fixed size is cut by its record.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Calls `apply` with the `cellCount` cells of every whole row of the table
// at `path`, in file order.
void applyLocaleTable(const std::string& path, std::size_t cellCount,
                      const std::function<void(const std::vector<std::string>& cells)>& apply);
