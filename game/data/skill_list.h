// Every Skill of the game, by tag and in the order they were added.
//
// What it keeps true: tags are unique and not empty; the list owns its
// records and deletes them on clear() and at exit.
#pragma once

#include <vector>

#include "engine/core/core.h"
#include "game/data/record_table.h"
#include "game/data/skill.h"

struct SkillTable : TaggedTable<Skill> {};

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
    // The skills in the order they were added.
    const std::vector<Skill*>& skills() const { return inOrder(); }
};
