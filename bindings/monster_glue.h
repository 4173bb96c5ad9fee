// Hand-written pieces of the field view and monster bindings: cells by
// number or point (an off-map cell gives nil), the target record filled
// from two objects (nil for either leaves it as it was), and a monster
// definition's fields as the read-only accessors scripts call.
#pragma once

#include "game/shell/settings.h"
#include "game/world/ai_target.h"
#include "game/world/enemy_maker.h"
#include "game/world/field_view.h"
#include "game/world/npc_factory.h"
#include "game/world/object_item.h"
#include "game/world/object_npc.h"

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
inline unsigned int npcBaseId(const NpcBase* self) {
    return static_cast<unsigned int>(self->id);
}
inline unsigned int npcBaseLibrary(const NpcBase* self) {
    return static_cast<unsigned int>(self->library);
}
inline const char* npcBaseNameId(const NpcBase* self) {
    return self->nameId.c_str();
}
inline const char* npcBaseName(const NpcBase* self) {
    return self->name.c_str();
}
inline int npcBaseLevel(const NpcBase* self) {
    return self->level;
}
inline const Point& npcBaseChip(const NpcBase* self) {
    return self->chip;
}
inline const Color& npcBaseColor(const NpcBase* self) {
    return self->color;
}
inline int npcBaseType(const NpcBase* self) {
    return self->type;
}
inline int npcBaseControl(const NpcBase* self) {
    return self->control;
}
inline const ItemMaterial& npcBaseEat(const NpcBase* self) {
    return self->eat;
}
inline unsigned int npcBaseExpBase(const NpcBase* self) {
    return static_cast<unsigned int>(self->expBase);
}
inline float npcBaseExpRatio(const NpcBase* self) {
    return self->expRatio;
}
inline const Dice& npcBaseDamageDice(const NpcBase* self) {
    return self->damageDice;
}
inline unsigned int npcBaseCorpseId(const NpcBase* self) {
    return static_cast<unsigned int>(self->corpseId);
}
inline int npcBaseCorpsePer(const NpcBase* self) {
    return self->corpsePer;
}
inline int npcBaseCorpseSize(const NpcBase* self) {
    return self->corpseSize;
}
inline int npcBaseEatType(const NpcBase* self) {
    return self->eatType;
}

// The monster's own operations the scripts call by other names or with the
// argument forms the bindings take.
inline std::string npcRealName(ObjectNpc* self) {
    return self->getRealName();
}
// A new record the script frees with delete.
inline AITarget* npcSearchNearestTarget(ObjectNpc* self, lua_State* L, ObjectManager*, int kind) {
    AITarget* target = self->searchNearestTarget(kind);
    if (target) binding::giveToScript(L, target);
    return target;
}
inline int npcMemoryType(ObjectNpc* self) {
    return self->getMemoryKind();
}
inline std::string npcTalk(ObjectNpc* self) {
    return self->getTalk();
}
inline void npcSetTalk(ObjectNpc* self, const char* text) {
    self->setTalk(text ? text : "");
}
inline void npcSetLeash(ObjectNpc* self, ObjectItem* item) {
    self->setLeash(item);
}
inline void npcReleaseBind(ObjectNpc* self) {
    self->setLeash(nullptr);
}
inline void npcSetTargetItem(ObjectNpc* self, ObjectItem* item) {
    self->setTargetItem(item ? item->getId() : 0);
}
inline unsigned int npcCorpseId(ObjectNpc* self) {
    return self->getBase() ? static_cast<unsigned int>(self->getBase()->corpseId) : 0;
}
inline int npcAiCount(ObjectNpc* self) {
    return self->getBase() ? self->getBase()->aiCount() : 0;
}
inline const char* npcAi(ObjectNpc* self, int index) {
    return self->getBase() ? self->getBase()->ai(index) : nullptr;
}
inline int npcControl(ObjectNpc* self) {
    return self->getBase() ? self->getBase()->control : 0;
}
inline const ItemMaterial* npcEatMaterial(ObjectNpc* self) {
    return self->getBase() ? &self->getBase()->eat : nullptr;
}
inline int npcKillExpBase(ObjectNpc* self) {
    return self->getBase() ? self->getBase()->expBase : 0;
}
inline float npcKillExpRatio(ObjectNpc* self) {
    return self->getBase() ? self->getBase()->expRatio : 0.0f;
}
inline void npcAddBelongings(ObjectNpc* self) {
    if (self->getBase()) self->getBase()->addBelongings(self);
}

// The factory's creations at (-1, -1) (the first forms), by name key and
// as a copy of another monster's kind.
inline ObjectNpc* npcFactoryCreate(NpcFactory* self, int id) {
    return self->create(id);
}
inline ObjectNpc* npcFactoryCreateName(NpcFactory* self, const char* key) {
    return key ? self->createName(key) : nullptr;
}
inline ObjectNpc* npcFactoryCreateNameAt(NpcFactory* self, const char* key, const Point& point) {
    return key ? self->createName(key, point) : nullptr;
}
inline ObjectNpc* npcFactoryCreateClone(NpcFactory* self, ObjectNpc* npc) {
    return self->createClone(npc);
}
inline ObjectNpc* npcFactoryCreateRandom(NpcFactory* self) {
    return self->createRandom();
}
// The distribution's monsters made at (0, 0), the forms without a cell.
inline ObjectNpc* enemyMakerCreateNormal(const EnemyMaker* self, int key) {
    return self->createNormal(key, Point(0, 0));
}
inline ObjectNpc* enemyMakerCreateWander(const EnemyMaker* self, int key) {
    return self->createWander(key, Point(0, 0));
}
inline Race npcBaseRace(const NpcBase* self) {
    return Race(self->race);
}
inline const Status& npcBaseStatus(const NpcBase* self) {
    return self->status;
}
inline const NpcBase::AiFlag& npcBaseAiFlag(const NpcBase* self) {
    return self->aiFlag;
}
inline const NpcBase::AiFlag* npcAiFlag(ObjectNpc* self) {
    return self->getBase() ? &self->getBase()->aiFlag : nullptr;
}
