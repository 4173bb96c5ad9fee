#include "engine/core/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "engine/core/critical_section.h"

namespace qel {
namespace {

using namespace std::chrono_literals;

TEST(CriticalSection, IsReentrantAndExcludesOtherThreads) {
    CriticalSection cs;
    ScopedLock outer(cs);
    {
        ScopedLock inner(cs);  // the owner may enter again
        bool otherGotIt = true;
        std::thread([&] { otherGotIt = cs.tryEnter(); }).join();
        EXPECT_FALSE(otherGotIt);
    }
    bool stillHeld = true;
    std::thread([&] { stillHeld = !cs.tryEnter(); }).join();
    EXPECT_TRUE(stillHeld);
}

TEST(CriticalSection, ScopedLockReleasesOnExit) {
    CriticalSection cs;
    { ScopedLock lock(&cs); }
    bool got = false;
    std::thread([&] {
        got = cs.tryEnter();
        if (got) cs.leave();
    }).join();
    EXPECT_TRUE(got);
}

struct Probe {
    std::atomic<int> runs{0};
};
void countRun(void* data) {
    static_cast<Probe*>(data)->runs++;
}

TEST(Thread, SuspendedThreadWaitsForResume) {
    Probe probe;
    Thread t(&countRun, &probe, true);
    EXPECT_TRUE(t.isSuspended());
    EXPECT_FALSE(t.waitDone(20ms));
    EXPECT_EQ(probe.runs.load(), 0);
    t.resume();
    EXPECT_FALSE(t.isSuspended());
    EXPECT_TRUE(t.waitDone(10s));
    EXPECT_TRUE(t.isDone());
    EXPECT_EQ(probe.runs.load(), 1);
    t.resume();  // no effect on a running or finished thread
    EXPECT_EQ(probe.runs.load(), 1);
}

TEST(Thread, DestroyingANeverResumedThreadStillRunsItsProcedure) {
    Probe probe;
    { Thread t(&countRun, &probe, true); }
    EXPECT_EQ(probe.runs.load(), 1);
}

TEST(Thread, RunningThreadSetsDoneAndIsJoined) {
    Probe probe;
    auto* t = new Thread(&countRun, &probe, false);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(t->isValid());
    EXPECT_TRUE(t->waitDone(10s));
    delete t;  // returns the block to the general pool
    EXPECT_EQ(probe.runs.load(), 1);
}

// A procedure that outlives its wait: the thread is detached and, when it
// ends later, touches only its own shared state.
struct Gate {
    std::mutex m;
    std::condition_variable cv;
    bool open = false;
    std::atomic<bool> finished{false};
};
void waitAtGate(void* data) {
    auto* g = static_cast<Gate*>(data);
    std::unique_lock lock(g->m);
    g->cv.wait(lock, [&] { return g->open; });
    g->finished = true;
}

TEST(Thread, ThreadOutlivingItsWaitIsDetached) {
    static Gate gate;  // outlives the detached thread
    {
        std::lock_guard lock(gate.m);  // closed again when the test is repeated
        gate.open = false;
        gate.finished = false;
    }
    const int before = Thread::detachedCount();
    testing::internal::CaptureStderr();
    { Thread t(&waitAtGate, &gate, false, 10ms); }
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Thread::detachedCount(), before + 1);
    EXPECT_NE(err.find("detached"), std::string::npos);
    {
        std::lock_guard lock(gate.m);
        gate.open = true;
    }
    gate.cv.notify_all();
    while (!gate.finished) std::this_thread::yield();
}

}  // namespace
}  // namespace qel
