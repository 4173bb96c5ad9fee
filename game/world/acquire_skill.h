// The skills a character has or could use, as the scripts show them: one
// entry per skill, with whether it is in effect, its level and whether the
// player knows it. Characters build one from their skills and equipment;
// scripts may build their own.
//
// What it keeps true: every entry's skill is a record of the skill list
// (borrowed, never null); add() never lists a skill twice.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"

class Skill;

class AcquireSkill : public qel::ScriptObject {
public:
    struct DATA {
        const Skill* skill = nullptr;
        bool active = false;
        std::int32_t level = 0;
        bool identify = false;
    };

    AcquireSkill();
    ~AcquireSkill() override;

    QEL_CLASS(AcquireSkill, qel::ScriptObject, qel::Pool::General);

    // Looks `name` up in the skill list as it stands; an empty or unknown
    // name adds nothing. A skill already listed keeps one entry: active and
    // identify are or-ed, the level is the larger.
    void add(std::string_view name, bool active, std::int32_t level, bool identify);
    void clear() { entries_.clear(); }
    // By the skill's type, then active before inactive, then identified
    // before unidentified, then by the skill's tag (byte-wise).
    void sort();

    std::size_t size() const { return entries_.size(); }
    // The entry at `index`; null outside the list.
    const DATA* at(std::size_t index) const {
        return index < entries_.size() ? &entries_[index] : nullptr;
    }
    // Copies the fields of `data` into the entry at `index`; false (nothing
    // changed) outside the list or for a null skill.
    bool set(std::size_t index, const DATA& data);

private:
    std::vector<DATA> entries_;
};
