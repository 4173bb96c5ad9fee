// Hand-written pieces of the field view and monster bindings: cells by
// number or point (an off-map cell gives nil), the target record filled
// from two objects (nil for either leaves it as it was), and a monster
// definition's fields as the read-only accessors scripts call.
#pragma once

#include "game/world/ai_target.h"
#include "game/world/field_view.h"
#include "game/world/npc_factory.h"

inline FieldView::INFO* fieldViewInfo(FieldView* self, int x, int y) {
    return self->getInfo(x, y);
}
inline FieldView::INFO* fieldViewInfoAt(FieldView* self, const Point& p) {
    return self->getInfo(p.x, p.y);
}
inline bool fieldViewCheckRange(FieldView*, int x, int y) {
    return FieldView::checkRange(x, y);
}
inline bool fieldViewCheckRangeAt(FieldView*, const Point& p) {
    return FieldView::checkRange(p.x, p.y);
}
inline bool fieldViewCheckRangeX(FieldView*, int x) {
    return FieldView::checkRange(x, 0);
}
inline bool fieldViewCheckRangeY(FieldView*, int y) {
    return FieldView::checkRange(0, y);
}
inline Point aiTargetCal16Dir(AITarget*, const Point& offset) {
    return AITarget::cal16Dir(offset);
}
inline Point aiTargetCal8Dir(AITarget*, const Point& offset) {
    return AITarget::cal8Dir(offset);
}
inline void aiTargetSet(AITarget* self, ObjectBase* searcher, ObjectBase* target) {
    self->setTarget(searcher, target);
}

// The factory's lookups and a definition's fields, read-only.
inline NpcBase* npcFactoryGetBase(NpcFactory* self, const char* key) {
    return key ? self->getBase(key) : nullptr;
}
inline NpcBase* npcFactoryGetBaseIndex(NpcFactory* self, unsigned int i) {
    return self->getBaseIndex(i);
}
inline unsigned int npcBaseId(NpcBase* self) {
    return static_cast<unsigned int>(self->id);
}
inline unsigned int npcBaseLibrary(NpcBase* self) {
    return static_cast<unsigned int>(self->library);
}
inline const char* npcBaseNameId(NpcBase* self) {
    return self->nameId.c_str();
}
inline const char* npcBaseName(NpcBase* self) {
    return self->name.c_str();
}
inline int npcBaseLevel(NpcBase* self) {
    return self->level;
}
inline const Point& npcBaseChip(NpcBase* self) {
    return self->chip;
}
inline const Color& npcBaseColor(NpcBase* self) {
    return self->color;
}
inline int npcBaseType(NpcBase* self) {
    return self->type;
}
inline int npcBaseControl(NpcBase* self) {
    return self->control;
}
inline const ItemMaterial& npcBaseEat(NpcBase* self) {
    return self->eat;
}
inline unsigned int npcBaseExpBase(NpcBase* self) {
    return static_cast<unsigned int>(self->expBase);
}
inline float npcBaseExpRatio(NpcBase* self) {
    return self->expRatio;
}
inline const Dice& npcBaseDamageDice(NpcBase* self) {
    return self->damageDice;
}
inline unsigned int npcBaseCorpseId(NpcBase* self) {
    return static_cast<unsigned int>(self->corpseId);
}
inline int npcBaseCorpsePer(NpcBase* self) {
    return self->corpsePer;
}
inline int npcBaseCorpseSize(NpcBase* self) {
    return self->corpseSize;
}
inline int npcBaseEatType(NpcBase* self) {
    return self->eatType;
}
