// The one call program objects make from their destructors so that scripts
// can never reach them afterwards.
//
// World and game classes sit below the script bindings and cannot call into
// them directly; the bindings install their handler here when they are
// registered on a state. Until then (and in programs without bindings) the
// call does nothing, which is right: no script can hold the object.
#pragma once

namespace qel {

using ForgetScriptObjectFn = void (*)(const void* address);

// Installs the handler; null removes it.
void setForgetScriptObjectHook(ForgetScriptObjectFn hook);

// Called from the destructor of every object that scripts may see.
void forgetScriptObject(const void* address);

}  // namespace qel
