// Hand-written pieces of the item bindings: the kind's creation functions,
// which the factory carries, and the functions whose object argument is a
// reference in the program: the binding lets nil through, which gives
// false, nil or no change here.
#pragma once

#include "bindings/binding_support.h"
#include "game/data/item_base.h"
#include "game/world/item_factory.h"
#include "game/world/npc_base.h"
#include "game/world/object_chara.h"
#include "game/world/object_item.h"
#include "game/world/object_npc.h"

// An item hands out its kind's fields (colour, material, dice, targets) as
// views of the kind, which go with it.
inline binding::ViewOwners viewOwners(const ObjectItem* item) {
    return {{{item->getBase(), sizeof(ItemBase)}}};
}
// A monster hands out its kind's damage dice.
inline binding::ViewOwners viewOwners(const ObjectNpc* npc) {
    return {{{npc->getBase(), sizeof(NpcBase)}}};
}

inline ObjectItem* itemBaseCreateRandom(ItemBase* self, const char* name) {
    return ItemFactory::createRandom(*self, name ? name : "");
}
inline ObjectItem* itemBaseCreateNormal(ItemBase* self, const char* name) {
    return ItemFactory::createNormal(*self, name ? name : "");
}
inline bool itemPutAt(ObjectItem* self, const Point* pos, bool merge) {
    return pos && self->put(*pos, merge);
}
inline ObjectItem* factoryCreateClone(ItemFactory* self, const ObjectItem* item) {
    return item ? self->createClone(*item) : nullptr;
}
// The item's holders as the characters they are.
inline ObjectChara* itemEquipChara(const ObjectItem* self) {
    return qel::classCast<ObjectChara>(self->getEquipChara());
}
inline ObjectNpc* itemBindChara(const ObjectItem* self) {
    return qel::classCast<ObjectNpc>(self->getBindChara());
}
inline void itemNameSetColor(ItemName* self, const Color* color) {
    if (color) self->setColor(*color);
}
