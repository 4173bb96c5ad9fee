#include "engine/core/thread.h"

#include <condition_variable>
#include <mutex>
#include <system_error>

#include "engine/core/log.h"

namespace qel {

namespace {
std::atomic<int> g_detached{0};
}

// Shared between the Thread object and its running thread, so a detached
// thread outlives the object safely.
struct Thread::Control {
    std::mutex mutex;
    std::condition_variable changed;
    int suspendCount = 0;  // 1 while held at the start gate
    bool done = false;
    Procedure procedure = nullptr;
    void* userData = nullptr;
};

Thread::Thread(Procedure procedure, void* userData, bool startSuspended,
               std::chrono::milliseconds joinTimeout)
    : control_(std::make_shared<Control>()), joinTimeout_(joinTimeout) {
    control_->procedure = procedure;
    control_->userData = userData;
    control_->suspendCount = startSuspended ? 1 : 0;
    try {
        thread_ = std::thread(&Thread::entry, control_);
    } catch (const std::system_error& e) {
        logMessage("thread creation failed: %s", e.what());
    }
}

void Thread::entry(std::shared_ptr<Control> control) {
    {
        std::unique_lock lock(control->mutex);
        control->changed.wait(lock, [&] { return control->suspendCount == 0; });
        control->done = false;
    }
    if (control->procedure) control->procedure(control->userData);
    {
        std::lock_guard lock(control->mutex);
        control->done = true;
    }
    control->changed.notify_all();
}

Thread::~Thread() {
    resume();
    if (!thread_.joinable()) return;
    if (waitDone(joinTimeout_)) {
        thread_.join();
        return;
    }
    logMessage("thread did not end within %lld ms of its destruction; detached",
               static_cast<long long>(joinTimeout_.count()));
    g_detached.fetch_add(1);
    thread_.detach();
}

void Thread::resume() {
    {
        std::lock_guard lock(control_->mutex);
        if (control_->suspendCount == 0) return;
        control_->suspendCount -= 1;
    }
    control_->changed.notify_all();
}

bool Thread::isSuspended() const {
    std::lock_guard lock(control_->mutex);
    return control_->suspendCount != 0;
}

bool Thread::isDone() const {
    std::lock_guard lock(control_->mutex);
    return control_->done;
}

bool Thread::waitDone(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(control_->mutex);
    return control_->changed.wait_for(lock, timeout, [&] { return control_->done; });
}

int Thread::detachedCount() {
    return g_detached.load();
}

}  // namespace qel
