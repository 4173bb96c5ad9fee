// Hand-written pieces of the definition bindings: texts handed out as the
// records' own strings, and indices outside a list answered with nil (or
// 0) instead of reading past it.
#pragma once

#include "game/data/action.h"
#include "game/data/skill.h"
#include "game/data/spell.h"
#include "game/world/command.h"

inline const char* actionName(const Action* self) {
    return self->name().c_str();
}
inline const char* actionTag(const Action* self) {
    return self->tag().c_str();
}
inline const char* actionLuaFunc(const Action* self) {
    return self->luaFunc().c_str();
}
inline const char* actionAiType(const Action* self) {
    return self->aiType().c_str();
}
inline const char* actionMsg(const Action* self) {
    return self->msg().c_str();
}
inline const char* actionExplain(const Action* self) {
    return self->explain().c_str();
}
inline const char* actionParamStr(const Action* self, int index) {
    return index >= 0 && index < Action::PARAM_MAX ? self->paramStr(index).c_str() : nullptr;
}
inline float actionParam(const Action* self, int index) {
    return index >= 0 && index < Action::PARAM_MAX ? self->param(index) : 0.0f;
}

inline const char* skillName(const Skill* self) {
    return self->name().c_str();
}
inline const char* skillTag(const Skill* self) {
    return self->tag().c_str();
}
inline const char* skillLuaClass(const Skill* self) {
    return self->luaClass().c_str();
}
// A level's fields are the scripts' to change (the shared record changes).
inline Skill::LevelData* skillLevelData(const Skill* self, int level) {
    return const_cast<Skill::LevelData*>(self->levelData(level));
}

inline const char* spellName(const Spell* self) {
    return self->name().c_str();
}
inline const char* spellTag(const Spell* self) {
    return self->tag().c_str();
}
inline unsigned int spellSize(const Spell* self) {
    return static_cast<unsigned int>(self->size());
}
inline const Action* spellAction(const Spell* self, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < self->size()
               ? self->action(static_cast<std::size_t>(index))
               : nullptr;
}

inline void commandSetDirXY(Command* self, int x, int y) {
    self->setDir(x, y);
}
inline void commandSetActionRecord(Command* self, const Action* action) {
    self->setAction(action);
}
inline void commandSetActionTag(Command* self, const char* tag) {
    self->setAction(tag);
}
