#include "engine/script/script_object_hook.h"

#include <atomic>

namespace qel {

namespace {
std::atomic<ForgetScriptObjectFn> g_hook{nullptr};
}

void setForgetScriptObjectHook(ForgetScriptObjectFn hook) {
    g_hook.store(hook);
}

void forgetScriptObject(const void* address) {
    if (ForgetScriptObjectFn hook = g_hook.load(); hook && address) hook(address);
}

}  // namespace qel
