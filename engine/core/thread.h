// A worker thread that runs one procedure once.
//
// The thread is created at construction; it either starts at once or waits
// at a start gate until resume() (created suspended). Destruction resumes a
// thread that was never resumed, so its procedure still runs, then waits for
// the procedure to return. Threads cannot be killed here: when the wait runs
// out, the thread is detached and logged, and it keeps only a shared control
// block, never the destroyed object.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "engine/core/core.h"

namespace qel {

class Thread : public Core {
public:
    using Procedure = void (*)(void* userData);
    static constexpr std::chrono::milliseconds kDefaultJoinTimeout{5000};

    Thread(Procedure procedure, void* userData, bool startSuspended,
           std::chrono::milliseconds joinTimeout = kDefaultJoinTimeout);
    ~Thread() override;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    QEL_CLASS(Thread, Core, Pool::General);

    // Opens the start gate of a suspended thread; does nothing otherwise.
    void resume();
    bool isSuspended() const;
    // True once the procedure has returned.
    bool isDone() const;
    // Waits up to `timeout` for the procedure to return; true when it has.
    bool waitDone(std::chrono::milliseconds timeout) const;
    // False when the thread could not be created.
    bool isValid() const { return thread_.joinable(); }
    // How many threads were detached because they outlived their wait.
    static int detachedCount();

private:
    struct Control;
    static void entry(std::shared_ptr<Control> control);

    std::shared_ptr<Control> control_;
    std::thread thread_;
    std::chrono::milliseconds joinTimeout_;
};

}  // namespace qel
