#include "engine/script/script_object_hook.h"

#include <atomic>

namespace qel {

namespace {
std::atomic<ForgetScriptObjectFn> g_hook{nullptr};
std::atomic<ClaimScriptObjectFn> g_claimHook{nullptr};
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

}  // namespace qel
