// Hand-written pieces of the item bindings: the kind's creation functions,
// which the factory carries, and the functions whose object argument is a
// reference in the program: the binding lets nil through, which gives
// false, nil or no change here.
#pragma once

#include "game/world/item_factory.h"
#include "game/world/object_chara.h"
#include "game/world/object_item.h"
#include "game/world/object_npc.h"

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
