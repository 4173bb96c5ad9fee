#include "game/data/skill_list.h"

SkillList::SkillList() = default;
SkillList::~SkillList() = default;

SkillList& SkillList::instance() {
    static SkillList list;
    return list;
}
