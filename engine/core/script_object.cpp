#include "engine/core/script_object.h"

#include <atomic>
#include <cstddef>
#include <vector>

namespace qel {

namespace {
std::atomic<ForgetScriptObjectFn> g_forgetHook{nullptr};
std::atomic<ClaimScriptObjectFn> g_claimHook{nullptr};

// The addresses handed out by the temporaries now alive (nested calls may
// hand the same one again). Game thread only.
std::vector<const void*>& liveTemporaries() {
    static auto* live = new std::vector<const void*>();  // never destroyed
    return *live;
}
}  // namespace

void setForgetScriptObjectHook(ForgetScriptObjectFn hook) {
    g_forgetHook.store(hook);
}

void forgetScriptObject(const void* address) {
    if (ForgetScriptObjectFn hook = g_forgetHook.load(); hook && address) hook(address);
}

void setClaimScriptObjectHook(ClaimScriptObjectFn hook) {
    g_claimHook.store(hook);
}

void claimScriptObject(const void* address) {
    if (ClaimScriptObjectFn hook = g_claimHook.load(); hook && address) hook(address);
}

ScriptObject::~ScriptObject() {
    forgetScriptObject(this);
}

ScriptTemporary::ScriptTemporary(const void* address) : address_(address) {
    std::vector<const void*>& live = liveTemporaries();
    outermost_ = true;
    for (const void* a : live) {
        if (a == address) outermost_ = false;
    }
    // Only the outermost guard is recorded; without room it still forgets.
    if (outermost_) {
        try {
            live.push_back(address);
        } catch (...) {
        }
    }
}

ScriptTemporary::~ScriptTemporary() {
    if (!outermost_) return;
    std::vector<const void*>& live = liveTemporaries();
    for (auto it = live.begin(); it != live.end(); ++it) {
        if (*it == address_) {
            live.erase(it);
            break;
        }
    }
    forgetScriptObject(address_);
}

}  // namespace qel
