#include "game/data/skill.h"

#include <utility>

Skill::Skill() = default;

Skill::Skill(std::string tag, std::string luaClass, std::int32_t type)
    : tag_(std::move(tag)), luaClass_(std::move(luaClass)), type_(type) {}

Skill::~Skill() = default;
