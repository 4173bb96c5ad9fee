#include "engine/script/script_object_hook.h"

#include <atomic>
#include <cstddef>
#include <new>

namespace qel {

namespace {
std::atomic<ApplyDeferredScriptEditsFn> g_applyHook{nullptr};
}  // namespace

CriticalSection& scriptStateLock() {
    alignas(CriticalSection) static std::byte storage[sizeof(CriticalSection)];
    static CriticalSection* lock = new (storage) CriticalSection();  // never destroyed
    return *lock;
}

void setApplyDeferredScriptEditsHook(ApplyDeferredScriptEditsFn hook) {
    g_applyHook.store(hook);
}

void applyDeferredScriptEdits() {
    if (ApplyDeferredScriptEditsFn hook = g_applyHook.load()) hook();
}

}  // namespace qel
