// The global script functions that look up definitions (skills, actions,
// spells) and make items from them. Unknown or empty tags, and indices
// outside the list, give nothing.
#include <cstdint>
#include <string_view>

#include "game/data/action.h"
#include "game/data/action_list.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "game/data/spell.h"
#include "game/data/spell_list.h"
#include "game/shell/global_functions.h"
#include "game/world/item_factory.h"

const Skill* C_GetSkill(const char* tag) {
    return tag ? SkillList::instance().get(tag) : nullptr;
}

const Skill* C_GetSkillIndex(int index) {
    const auto& skills = SkillList::instance().inOrder();
    if (index < 0 || static_cast<std::size_t>(index) >= skills.size()) return nullptr;
    return skills[static_cast<std::size_t>(index)];
}

const Action* C_GetAction(const char* tag, bool /*flag*/) {
    return tag ? ActionList::instance().get(tag) : nullptr;
}

const Spell* C_GetSpell(const char* tag) {
    return tag ? SpellList::instance().get(tag) : nullptr;
}

ObjectItem* C_CreateItem(int id) {
    ItemBase* base = ItemFactory::instance().getBaseId(id);
    return base ? ItemFactory::createRandom(*base) : nullptr;
}
