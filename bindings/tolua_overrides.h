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
// Every bound function, accessor and array element function is registered
// behind the guard that turns a C++ exception into a Lua error.
#define tolua_function(L, name, func) binding::registerFunction(L, name, func)
#define tolua_variable(L, name, get, set) binding::registerVariable(L, name, get, set)
#define tolua_array(L, name, get, set) binding::registerArray(L, name, get, set)
// An object's value is looked up by its address: edits deferred by another
// thread (an object freed there, whose block this push may now reuse) are
// applied first.
#define tolua_pushusertype(L, value, type) binding::pushObject(L, value, type)
