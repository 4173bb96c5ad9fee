// Hand-written pieces of the character-creation bindings: the table loads
// taking a path or nil (nil is the shipped table), the records' texts, and
// the start of a new game, whose argument is read and ignored.
#pragma once

#include "game/shell/opening_param.h"
#include "game/world/class_base.h"
#include "game/world/race_base.h"

inline bool openingLoadRaceFile(OpeningParam* self, const char* path) {
    return path ? self->loadRaceFile(path) : self->loadRaceFile();
}
inline bool openingLoadClassFile(OpeningParam* self, const char* path) {
    return path ? self->loadClassFile(path) : self->loadClassFile();
}
inline void openingBeginNewGame(OpeningParam* self, ObjectPlayer*) {
    self->beginNewGame();
}

inline unsigned int raceBaseId(RaceBase* self) {
    return static_cast<unsigned int>(self->id());
}
inline const char* raceBaseName(RaceBase* self) {
    return self->name().c_str();
}
inline const char* raceBaseNameMini(RaceBase* self) {
    return self->nameMini().c_str();
}
inline const char* raceBaseExpression(RaceBase* self) {
    return self->expression().c_str();
}

inline unsigned int classBaseId(ClassBase* self) {
    return static_cast<unsigned int>(self->id());
}
inline unsigned int classBaseBaseId(ClassBase* self) {
    return static_cast<unsigned int>(self->baseId());
}
inline const char* classBaseName(ClassBase* self) {
    return self->name().c_str();
}
inline const char* classBaseNameMini(ClassBase* self) {
    return self->nameMini().c_str();
}
inline const char* classBaseExpression(ClassBase* self) {
    return self->expression().c_str();
}
