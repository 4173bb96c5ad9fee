// The engine's lock: re-entrant for the thread that holds it. It meets the
// standard Lockable requirements, so std::lock_guard and friends work too.
#pragma once

#include <mutex>

#include "engine/core/core.h"

namespace qel {

class CriticalSection : public Core {
public:
    CriticalSection() = default;
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    QEL_CLASS(CriticalSection, Core, Pool::General);

    void enter() { mutex_.lock(); }
    void leave() { mutex_.unlock(); }
    bool tryEnter() { return mutex_.try_lock(); }

    void lock() { enter(); }
    void unlock() { leave(); }
    bool try_lock() { return tryEnter(); }

private:
    std::recursive_mutex mutex_;
};

// Holds a CriticalSection from construction to destruction. Lives on the
// stack only: it has no factory.
class ScopedLock : public Core {
public:
    explicit ScopedLock(CriticalSection& lock) : lock_(lock) { lock_.enter(); }
    explicit ScopedLock(CriticalSection* lock) : ScopedLock(*lock) {}
    ~ScopedLock() override { lock_.leave(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

    QEL_CLASS_WITHOUT_FACTORY(ScopedLock, Core, Pool::General);

private:
    CriticalSection& lock_;
};

}  // namespace qel
