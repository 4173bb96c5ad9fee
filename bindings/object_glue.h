// Hand-written pieces of the map-object bindings: the list-node operations
// that must refuse to move a list head, the bookkeeping of nodes scripts
// make, the INFO bit variables, and the rule that a map object the program
// took over while a binding made it is never the script's.
//
// Who owns what, for map objects (see binding_support.h for the rest):
//   - An object in a manager is the program's: the full constructors, `add`
//     and `kill` put it there and claim it, so neither `delete` nor Lua's
//     collector frees it; it leaves by kill + exeRemove, clearAll,
//     clearExceptKeep or its manager's end.
//   - Objects made with the default constructor belong to the script (or to
//     Lua with new_local) until a manager takes them.
//   - Nodes a script makes are the script's (or Lua's). When the object a
//     node holds is deleted, the node's object becomes nil. The nodes of
//     objects and the lists' heads are the program's: a script can neither
//     move nor remove them, and a node it made never joins a list of the
//     program (after a head or an object's own node), so the program's
//     walks of its lists meet only its own nodes. Scripts may link their
//     own nodes among themselves.
#pragma once

#include <tolua++.h>

#include <lua.hpp>

#include "bindings/binding_support.h"
#include "game/world/link_list.h"
#include "game/world/object_base.h"
#include "game/world/object_item.h"

// A map object a binding just made that a manager already holds is not
// recorded as the script's (binding_support.h, recordMade).
inline bool takenByProgram(const ObjectBase* object) {
    return object->getManager() != nullptr;
}

// A map object a script deletes (or Lua collects) goes the program's way:
// inside an operation it leaves the world at once and is deleted as the
// operation ends.
inline bool destroyByProgram(ObjectBase* object) {
    ObjectBase::destroy(object);
    return true;
}

template <class T>
void onScriptMade(LinkList<T>* node) {
    ObjectBase::noteScriptNode(node, node->obj,
                               [](void* n) { static_cast<LinkList<T>*>(n)->obj = nullptr; });
}

template <class T>
void onScriptFree(LinkList<T>* node) {
    ObjectBase::dropScriptNode(node);
}

template <class T>
T* linkGetObj(LinkList<T>* self) {
    return self->obj;
}
template <class T>
LinkList<T>* linkNext(LinkList<T>* self) {
    return self->next;
}
template <class T>
LinkList<T>* linkPrev(LinkList<T>* self) {
    return self->prev;
}
template <class T>
void linkInsert(LinkList<T>* self, lua_State* L, LinkList<T>* node) {
    if (node && node->isHead) luaL_error(L, "a list head cannot be moved");
    if (node && node->isOwn) luaL_error(L, "an object's own list node cannot be moved");
    if (node && self->isProgramNode())
        luaL_error(L, "a node a script made cannot join a list of the program");
    self->insert(node);
}
template <class T>
void linkRemove(LinkList<T>* self, lua_State* L) {
    if (self->isHead) luaL_error(L, "a list head cannot be removed");
    if (self->isOwn) luaL_error(L, "an object's own list node cannot be removed");
    self->remove();
}

namespace object_glue {

// The INFO bit variables: numbers, not booleans; an assignment keeps the
// low bits of the number.
enum class InfoField { Priority, Walk, Put, Sight, OpenView };
int getInfoBits(lua_State* L, InfoField field);
int setInfoBits(lua_State* L, InfoField field);
template <InfoField F>
int getInfoField(lua_State* L) {
    return getInfoBits(L, F);
}
template <InfoField F>
int setInfoField(lua_State* L) {
    return setInfoBits(L, F);
}

}  // namespace object_glue
