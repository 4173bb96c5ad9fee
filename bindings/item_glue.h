// Hand-written pieces of the item bindings: the kind's creation functions,
// which the factory carries.
#pragma once

#include "game/world/item_factory.h"
#include "game/world/object_item.h"

inline ObjectItem* itemBaseCreateRandom(ItemBase* self, const char* name) {
    return ItemFactory::createRandom(*self, name ? name : "");
}
inline ObjectItem* itemBaseCreateNormal(ItemBase* self, const char* name) {
    return ItemFactory::createNormal(*self, name ? name : "");
}
