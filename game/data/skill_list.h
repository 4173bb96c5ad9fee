// Every Skill of the game, by tag and in file order (the scripts address
// skills by place too), loaded from the skill table after the actions and
// spells its levels name.
//
// What it keeps true: tags are unique and not empty; the list owns its
// records and deletes them on clear(), a new load and at exit.
#pragma once

#include <string>
#include <vector>

#include "engine/core/core.h"
#include "game/data/data_files.h"
#include "game/data/record_table.h"
#include "game/data/skill.h"

// The cells that start a skill row: its id, name and tag.
struct SkillKeyCells {
    std::int32_t id = -1;
    std::string name;
    std::string tag;

    void read(CsvReader& reader) {
        id = CsvReader::toInt(reader.readText(), -1);
        name = reader.readText();
        tag = reader.readText();
    }
    const std::string& label() const { return name; }
};

struct SkillTable {
    using Key = std::string;
    using Keys = SkillKeyCells;
    static constexpr const char* kFile = kSkillTableFile;
    static constexpr const char* kNotFoundMessage = "スキルリストファイルが見つかりません : %s";
    static constexpr bool kMissingFileIsError = true;

    static const Key& keyOf(const Skill& skill) { return skill.tag(); }
    static bool parse(Skill& skill, const Keys& keys, CsvReader& reader, LoadMessage message,
                      int line);
    static void writeDuplicate(LoadMessage message, const Keys& keys, const Skill& held, int line);
};

class SkillList : public qel::Core, public RecordTable<Skill, SkillTable> {
public:
    SkillList();
    ~SkillList() override;

    // The game's list, empty until filled.
    static SkillList& instance();

    QEL_CLASS(SkillList, qel::Core, qel::Pool::Resources);

    // Takes the skill; false, and the caller keeps it, for null, an empty
    // tag or a tag already held.
    bool add(Skill* skill) { return skill && !skill->tag().empty() && insert(skill); }
    // The skills in file (or adding) order.
    const std::vector<Skill*>& skills() const { return inOrder(); }

    // A language's skill names: each row (name, tag) renames the skill and
    // builds its level texts again, over the already translated actions and
    // spells. Unknown tags change nothing.
    bool loadLocale(const std::string& path);
};
