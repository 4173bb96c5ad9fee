// What the race and class tables of character creation share: the 38
// status cells of a row, the skill tags and description that end it, and
// how a race's or class's numbers and skills join a character.
//
// What it keeps true: a status cell sets every figure it names to the same
// value, an empty cell giving -1; figures no cell names keep a fresh
// block's values (0, or 100 for the two ratio figures). Adding a record to
// a character never touches the two ratio figures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CsvReader;
class ObjectChara;
class Status;

namespace creation_row {

// The 38 status cells, in row order.
void readStatus(CsvReader& reader, Status& status);
// Skill tags up to a cell beginning with '-', empty cells skipped, then the
// description cell.
void readSkills(CsvReader& reader, std::vector<std::string>& skills, std::string& expression);
// Adds each figure except AUTO_HEAL_RATIO and AUTO_MANA_RATIO to the
// character's base figures; the character recomputes its status.
void addStatus(ObjectChara& chara, const Status& status);
// Enables each tag on the character, in list order.
void enableSkills(ObjectChara& chara, const std::vector<std::string>& skills);
// The tag at `index`; null outside the list.
const char* skillAt(const std::vector<std::string>& skills, std::int64_t index);

}  // namespace creation_row
