// Hand-written pieces of the item bindings: the kind's creation functions,
// which the factory carries, and the functions whose object argument is a
// reference in the program: the binding lets nil through, which gives
// false, nil or no change here.
#pragma once

#include "game/world/item_factory.h"
#include "game/world/object_item.h"

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
inline void itemNameSetColor(ItemName* self, const Color* color) {
    if (color) self->setColor(*color);
}
