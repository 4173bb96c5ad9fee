// How a Lua state with the bindings open is edited safely from other
// threads. The forgetting itself (which objects forget, and when) is
// engine/core/script_object.h.
#pragma once

#include "engine/core/critical_section.h"
#include "engine/core/script_object.h"

namespace qel {

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
