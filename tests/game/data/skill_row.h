// A row of the skill table for tests that load one.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "game/data/skill.h"

// A row: id, name, tag, class, library, type 2, levelMax 3, then nine levels
// (the first without a skill-point cell); unnamed levels are empty text.
inline std::string skillRow(int id, const std::string& tag,
                            const std::vector<std::pair<std::string, int>>& levels) {
    std::string row = std::to_string(id) + "," + tag + " name," + tag + ",Deco,1,2,3,";
    for (int i = 0; i < Skill::kLevels; ++i) {
        const auto& [cell, type] =
            i < static_cast<int>(levels.size()) ? levels[i] : std::pair<std::string, int>{"", 0};
        row += cell + "," + std::to_string(type) + ",";
        if (i > 0) row += std::to_string(i) + ",";
    }
    return row + "\n";
}
