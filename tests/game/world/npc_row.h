// A row of the monster table for tests that load one: the cells before the
// lists, then the four lists, each closed by "-". Status cells carry 100 +
// their cell number so the slots they land in can be told apart.
#pragma once

#include <string>
#include <vector>

struct NpcRow {
    std::string id = "1";
    std::string nameId = "slime";
    std::string sex = "m";
    std::string exp = "1.5";
    std::string dice = "2d6";
    std::string slot10 = "15";
    std::string type = "1";
    std::vector<std::string> eatEffects;
    std::string aiBits = "1,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,1";
    std::vector<std::string> skills;
    std::vector<std::string> ais;
    std::vector<std::string> belongings;

    std::string text() const {
        std::string out = id + ",3," + nameId + ",5,A,0x00FF00,bu!z,";
        out += sex + "," + exp + ",";
        for (int c = 10; c <= 18; ++c) out += std::to_string(100 + c) + ",";
        out += dice + ",120," + slot10 + ",";
        for (int c = 22; c <= 50; ++c) out += std::to_string(100 + c) + ",";
        out += "a note," + type + ",2,hM,33,40,6,1,";
        auto list = [&out](const std::vector<std::string>& cells) {
            for (const std::string& c : cells) out += c + ",";
            out += "-,";
        };
        list(eatEffects);
        out += aiBits + ",";
        list(skills);
        list(ais);
        list(belongings);
        return out + "\n";
    }
};

// The table's text: a header line, then the rows.
inline std::string npcTable(const std::vector<NpcRow>& rows) {
    std::string text = "header\n";
    for (const NpcRow& r : rows) text += r.text();
    return text;
}
