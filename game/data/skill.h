// A learnable ability: its tag, the script class that implements it and its
// type. Records belong to SkillList.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/core.h"

class Skill : public qel::Core {
public:
    // A skill of this type, once an item brings it, stays with the character.
    static constexpr std::int32_t SKILL_GRUDGE = 4;

    Skill();
    Skill(std::string tag, std::string luaClass, std::int32_t type);
    ~Skill() override;

    QEL_CLASS(Skill, qel::Core, qel::Pool::Resources);

    const std::string& tag() const { return tag_; }
    const std::string& luaClass() const { return luaClass_; }
    std::int32_t type() const { return type_; }

private:
    std::string tag_;
    std::string luaClass_;
    std::int32_t type_ = 2;
};
