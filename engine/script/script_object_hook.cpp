#include "engine/script/script_object_hook.h"

#include <atomic>
#include <cstddef>
#include <new>

namespace qel {

namespace {
std::atomic<ForgetScriptObjectFn> g_hook{nullptr};
std::atomic<ClaimScriptObjectFn> g_claimHook{nullptr};
std::atomic<ApplyDeferredScriptEditsFn> g_applyHook{nullptr};
}  // namespace

void setForgetScriptObjectHook(ForgetScriptObjectFn hook) {
    g_hook.store(hook);
}

void forgetScriptObject(const void* address) {
    if (ForgetScriptObjectFn hook = g_hook.load(); hook && address) hook(address);
}

void setClaimScriptObjectHook(ClaimScriptObjectFn hook) {
    g_claimHook.store(hook);
}

void claimScriptObject(const void* address) {
    if (ClaimScriptObjectFn hook = g_claimHook.load(); hook && address) hook(address);
}

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
