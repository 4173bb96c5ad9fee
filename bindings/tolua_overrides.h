// Included by every generated package right after tolua++.h: routes the
// generator's allocations, deletions and collector registrations through
// the ownership record of binding_support.h. The generated code names its Lua state tolua_S in
// every function that allocates or deletes.
#pragma once

#include "bindings/binding_support.h"

#undef Mtolua_new
#define Mtolua_new(EXP) binding::recordMade(tolua_S, new EXP)
#undef Mtolua_delete
#define Mtolua_delete(EXP) binding::deleteFromScript(tolua_S, EXP)
// A new object whose pool had no room was pushed as nil; there is nothing to
// hand to the collector.
#define tolua_register_gc(L, lo) binding::registerCollected(L, lo)
