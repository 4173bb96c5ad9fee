// The calls program objects make so that scripts never reach them wrongly:
// from their destructors (forget), and when the program takes over an
// object a script made (claim).
//
// World and game classes sit below the script bindings and cannot call into
// them directly; the bindings install their handler here when they are
// registered on a state. Until then (and in programs without bindings) the
// call does nothing, which is right: no script can hold the object.
#pragma once

#include "engine/core/critical_section.h"

namespace qel {

using ForgetScriptObjectFn = void (*)(const void* address);

// Installs the handler; null removes it.
void setForgetScriptObjectHook(ForgetScriptObjectFn hook);

// Called from the destructor of every object that scripts may see.
void forgetScriptObject(const void* address);

using ClaimScriptObjectFn = void (*)(const void* address);
void setClaimScriptObjectHook(ClaimScriptObjectFn hook);

// Called by an operation that takes over an object a script made with `new`
// or one Lua owns (a decorator put on a chain, a map object put on the
// floor): from then on the program owns it, a script's `delete` of it is
// refused and Lua never collects it. The program frees it as its own.
void claimScriptObject(const void* address);

// Held by whoever runs a Lua state that may have the bindings open (the
// host holds it for every call, load and close), so that no other thread
// edits a state while it runs. An object freed or claimed on another thread
// meanwhile is not waited for: its edit is deferred and applied by the
// running thread, before its next bound call and when its run ends. Lives
// until the process ends, like the pools, for collectors at exit. Every
// host shares this one lock, so scripts never run on two threads at once:
// a thread running scripts may wait for the game lock (adding a subsystem)
// only while the thread holding that lock runs no scripts.
CriticalSection& scriptStateLock();

using ApplyDeferredScriptEditsFn = void (*)();
void setApplyDeferredScriptEditsHook(ApplyDeferredScriptEditsFn hook);
// Applies deferred edits; only by a thread that holds scriptStateLock().
void applyDeferredScriptEdits();

}  // namespace qel
