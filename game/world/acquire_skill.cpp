#include "game/world/acquire_skill.h"

#include <algorithm>
#include <tuple>

#include "game/data/skill.h"
#include "game/data/skill_list.h"

AcquireSkill::AcquireSkill() = default;

AcquireSkill::~AcquireSkill() = default;

void AcquireSkill::add(std::string_view name, bool active, std::int32_t level, bool identify) {
    const Skill* skill = SkillList::instance().get(name);
    if (!skill) return;
    for (DATA& entry : entries_) {
        if (entry.skill != skill) continue;
        entry.active = entry.active || active;
        entry.level = std::max(entry.level, level);
        entry.identify = entry.identify || identify;
        return;
    }
    entries_.push_back(DATA{skill, active, level, identify});
}

void AcquireSkill::sort() {
    const auto key = [](const DATA& d) {
        return std::make_tuple(d.skill->type(), !d.active, !d.identify, d.skill->id());
    };
    std::stable_sort(entries_.begin(), entries_.end(),
                     [&key](const DATA& a, const DATA& b) { return key(a) < key(b); });
}

bool AcquireSkill::set(std::size_t index, const DATA& data) {
    if (index >= entries_.size() || !data.skill) return false;
    entries_[index] = data;
    return true;
}
