#include "engine/task/sys_task.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/core/register.h"
#include "tests/engine/task/trace_task.h"

namespace qel {
namespace {

using testing::TaskTreeTest;
using testing::trace;
using testing::TracedTask;
using Lines = std::vector<std::string>;

std::string at(int frame, const std::string& who, const char* what) {
    return std::to_string(frame) + ":" + who + "." + what;
}
// The four events a fully enabled task receives in one frame.
Lines events(int frame, const std::string& who) {
    return {at(frame, who, "update"), at(frame, who, "post"), at(frame, who, "late"),
            at(frame, who, "draw")};
}
Lines cat(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
// The trace lines of several tasks, interleaved as they happened.
Lines traceOf(std::initializer_list<std::string> names) {
    Lines out;
    for (const std::string& l : trace().lines) {
        for (const std::string& n : names) {
            if (l.find(":" + n + ".") != std::string::npos) out.push_back(l);
        }
    }
    return out;
}

class SysTaskTest : public TaskTreeTest {
protected:
    void restart() {
        sys().term();
        trace() = testing::Trace();
        ASSERT_TRUE(sys().init());
    }
};

TEST_F(SysTaskTest, LifecycleTimingByFrame) {
    struct Case {
        const char* name;
        std::function<void(SysTaskTest&)> script;  // runs the frames itself
        std::initializer_list<std::string> watch;
        Lines expected;
    };
    const Case cases[] = {
        {"added at start-up starts at once",
         [](SysTaskTest& t) {
             t.spawn("T");
             t.frames(1);
         },
         {"T"},
         cat({{"0:T.init"}, events(1, "T")})},
        {"added during frame 1 starts and gets events in update 2",
         [](SysTaskTest& t) {
             TracedTask* h = t.spawn("H");
             h->onUpdate = [&t] {
                 if (trace().frame == 1) t.spawn("T");
             };
             t.frames(2);
         },
         {"T"},
         cat({{"2:T.init"}, events(2, "T")})},
        {"killed in its update: no more events, released next update, deleted after",
         [](SysTaskTest& t) {
             TracedTask* task = t.spawn("T");
             task->onUpdate = [task] { task->kill(); };
             t.frames(3);
         },
         {"T"},
         {"0:T.init", "1:T.update", "2:T.release", "3:T.delete"}},
        {"killed before its first update gets init then release in that update",
         [](SysTaskTest& t) {
             TracedTask* h = t.spawn("H");
             h->onUpdate = [&t] {
                 if (trace().frame == 1) t.spawn("T")->kill();
             };
             t.frames(3);
         },
         {"T"},
         {"2:T.init", "2:T.release", "3:T.delete"}},
        {"init false: released in the same update",
         [](SysTaskTest& t) {
             TracedTask* h = t.spawn("H");
             h->onUpdate = [&t] {
                 if (trace().frame == 1) t.spawn("T")->onInit = [] { return false; };
             };
             t.frames(3);
         },
         {"T"},
         {"2:T.init", "2:T.release", "3:T.delete"}},
        {"a pending task's init starts the tasks it adds at once",
         [](SysTaskTest& t) {
             TracedTask* h = t.spawn("H");
             h->onUpdate = [&t] {
                 if (trace().frame != 1) return;
                 TracedTask* p = t.spawn("P");
                 p->onInit = [p] {
                     auto* task = new TracedTask("T");
                     task->onInit = [] { return false; };
                     EXPECT_TRUE(sys().add(task, p));
                     EXPECT_EQ(task->getState(), TaskBase::kStateDying);
                     return true;
                 };
             };
             t.frames(3);
         },
         {"P", "T"},
         cat({{"2:P.init", "2:T.init", "2:T.release"},
              events(2, "P"),
              {"3:T.delete"},
              events(3, "P")})},
        {"a kill made by a release is processed in the same update",
         [](SysTaskTest& t) {
             TracedTask* a = t.spawn("A");
             TracedTask* b = t.spawn("B");
             a->onRelease = [b] { b->kill(); };
             a->onUpdate = [a] {
                 if (trace().frame == 1) a->kill();
             };
             t.frames(3);
         },
         {"A", "B"},
         cat({{"0:A.init", "0:B.init", "1:A.update"},
              events(1, "B"),
              {"2:A.release", "2:B.release", "3:A.delete", "3:B.delete"}})},
        {"a task added by a release starts at the next update",
         [](SysTaskTest& t) {
             TracedTask* a = t.spawn("A");
             a->onRelease = [&t] { t.spawn("T"); };
             t.frames(1);
             a->kill();
             t.frames(2);
         },
         {"T"},
         cat({{"3:T.init"}, events(3, "T")})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        c.script(*this);
        EXPECT_EQ(traceOf(c.watch), c.expected);
    }
}

TEST_F(SysTaskTest, SiblingsRunInAscendingPriorityAndAdditionOrderDepthFirst) {
    spawn("two", 2.0f);
    spawn("one-a", 1.0f);
    TracedTask* oneB = spawn("one-b", 1.0f);
    spawn("minus", -1.0f);
    spawn("b-child-late", 5.0f, oneB);
    spawn("b-child-early", -5.0f, oneB);
    frame();
    Lines draws;
    for (const std::string& l : trace().lines) {
        if (l.ends_with(".draw")) draws.push_back(l);
    }
    EXPECT_EQ(draws, (Lines{"1:minus.draw", "1:one-a.draw", "1:one-b.draw", "1:b-child-early.draw",
                            "1:b-child-late.draw", "1:two.draw"}));
    // The stored order is the pass order.
    Lines order;
    for (TaskBase* c : sys().getRoot()->getChildren()) {
        order.push_back(static_cast<TracedTask*>(c)->name());
    }
    EXPECT_EQ(order, (Lines{"minus", "one-a", "one-b", "two"}));
}

TEST_F(SysTaskTest, EventMaskGatesTheTaskAndItsSubtree) {
    struct Case {
        std::uint32_t mask;
        Lines parent, child;  // events of frame 1
    };
    const Case cases[] = {
        {15, events(1, "P"), events(1, "C")},
        {8, {"1:P.draw"}, {"1:C.draw"}},
        {1, {"1:P.update"}, {"1:C.update"}},
        {6, {"1:P.post", "1:P.late"}, {"1:C.post", "1:C.late"}},
        {0, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mask " + std::to_string(c.mask));
        restart();
        TracedTask* p = spawn("P");
        spawn("C", 0.0f, p);
        p->setEventMask(c.mask);
        frame();
        Lines gotP = trace().of("P"), gotC = trace().of("C");
        gotP.erase(gotP.begin());  // init
        gotC.erase(gotC.begin());
        EXPECT_EQ(gotP, c.parent);
        EXPECT_EQ(gotC, c.child);
    }
}

TEST_F(SysTaskTest, SkipCounterHidesTheSubtreeForThatManyDrawPasses) {
    TracedTask* p = spawn("P");
    spawn("C", 0.0f, p);
    // Update-only task: its counter still runs down on draw passes.
    TracedTask* u = spawn("U");
    u->setEventMask(TaskBase::kEventUpdate);
    p->setSkipCounter(3);
    u->setSkipCounter(1);
    frames(4);
    EXPECT_EQ(traceOf({"P", "C"}),
              (Lines{"0:P.init", "0:C.init", "4:P.update", "4:C.update", "4:P.post", "4:C.post",
                     "4:P.late", "4:C.late", "4:P.draw", "4:C.draw"}));
    EXPECT_EQ(trace().of("U"), (Lines{"0:U.init", "2:U.update", "3:U.update", "4:U.update"}));
    EXPECT_EQ(p->getSkipCounter(), 0);
}

TEST_F(SysTaskTest, KillReleasesDescendantsFirstAndDetachesAllBeforeDeletion) {
    TracedTask* p = spawn("P");
    TracedTask* a = spawn("A", 0.0f, p);
    spawn("A1", 0.0f, a);
    spawn("A2", 1.0f, a);
    spawn("B", 1.0f, p);
    std::vector<TaskBase*> parentsAtDelete;
    for (TaskBase* t : {static_cast<TaskBase*>(p), static_cast<TaskBase*>(a)}) {
        for (TaskBase* c : t->getChildren()) {
            auto* tc = static_cast<TracedTask*>(c);
            tc->onDelete = [tc, &parentsAtDelete] { parentsAtDelete.push_back(tc->getParent()); };
            tc->onRelease = [tc] {
                // Still in the tree while it is released.
                EXPECT_NE(tc->getParent(), nullptr);
            };
        }
    }
    frame();
    p->kill();
    p->kill();  // a second kill changes nothing
    EXPECT_EQ(p->getState(), TaskBase::kStateDying);
    EXPECT_EQ(a->getState(), TaskBase::kStateDying);
    frame();
    EXPECT_EQ(p->getState(), TaskBase::kStateDead);
    EXPECT_EQ(p->getParent(), nullptr);
    EXPECT_EQ(sys().getRoot()->getChildCount(), 0u);
    frame();
    Lines releases, deletes;
    for (const std::string& l : trace().lines) {
        if (l.ends_with(".release")) releases.push_back(l);
        if (l.ends_with(".delete")) deletes.push_back(l);
    }
    EXPECT_EQ(releases,
              (Lines{"2:A1.release", "2:A2.release", "2:A.release", "2:B.release", "2:P.release"}));
    EXPECT_EQ(deletes.size(), 5u);
    for (const std::string& l : deletes) EXPECT_TRUE(l.starts_with("3:")) << l;
    EXPECT_EQ(parentsAtDelete, (std::vector<TaskBase*>(4, nullptr)));
}

TEST_F(SysTaskTest, TaskAddedUnderDyingParentIsKilledAtOnceAndReleasedFirst) {
    TracedTask* p = spawn("P");
    TracedTask* h = spawn("H");
    h->onUpdate = [&] {
        if (trace().frame != 1) return;
        p->kill();
        TracedTask* c = spawn("C", 0.0f, p);
        EXPECT_EQ(c->getState(), TaskBase::kStateDying);
    };
    frames(3);
    EXPECT_EQ(traceOf({"P", "C"}), (Lines{"0:P.init", "1:P.update", "2:C.init", "2:C.release",
                                          "2:P.release", "3:C.delete", "3:P.delete"}));
}

TEST_F(SysTaskTest, TaskAddedUnderDeadParentIsKilledAndOutlivesNoPointer) {
    TracedTask* p = spawn("P");
    TracedTask* h = spawn("H");
    TracedTask* c = nullptr;
    h->onUpdate = [&] {
        if (trace().frame == 1) p->kill();
        if (trace().frame == 2) {
            // P was released and detached at the start of this update; it is
            // deleted at the next one, before C's kill is processed.
            ASSERT_EQ(p->getState(), TaskBase::kStateDead);
            c = spawn("C", 0.0f, p);
            EXPECT_EQ(c->getState(), TaskBase::kStateDying);
        }
    };
    c = nullptr;
    frames(4);
    EXPECT_EQ(traceOf({"P", "C"}), (Lines{"0:P.init", "1:P.update", "2:P.release", "3:C.init",
                                          "3:P.delete", "3:C.release", "4:C.delete"}));
}

TEST_F(SysTaskTest, TaskAddedAtStartUpUnderDyingParentStillPairsInitAndRelease) {
    TracedTask* p = spawn("P");
    p->kill();
    TracedTask* c = spawn("C", 0.0f, p);
    EXPECT_EQ(c->getState(), TaskBase::kStateDying);
    frames(2);
    EXPECT_EQ(traceOf({"P", "C"}), (Lines{"0:P.init", "0:C.init", "1:C.release", "1:P.release",
                                          "2:C.delete", "2:P.delete"}));
}

TEST_F(SysTaskTest, AddingWhileTheTreeIsWalkedIsSafeAndDeferred) {
    TracedTask* w = spawn("W", 1.0f);
    w->onUpdate = [&] {
        if (trace().frame != 1) return;
        // Before, after and under the task being walked, many times over.
        for (int i = 0; i < 40; ++i) {
            spawn("n" + std::to_string(i), float(i % 3), i % 2 ? w : nullptr);
        }
    };
    w->onDraw = [&] {
        if (trace().frame == 1) spawn("d", 0.5f, w);
    };
    frames(2);
    EXPECT_EQ(sys().getRoot()->getChildCount(), 21u);
    EXPECT_EQ(w->getChildCount(), 21u);
    // None of them had events in frame 1; all of them in frame 2.
    for (const std::string& l : trace().lines) {
        if (l.find(":n") != std::string::npos || l.find(":d.") != std::string::npos) {
            EXPECT_TRUE(l.starts_with("2:")) << l;
        }
    }
    float last = -1.0f;
    for (TaskBase* c : w->getChildren()) {
        EXPECT_LE(last, c->getPriority());
        last = c->getPriority();
    }
}

TEST_F(SysTaskTest, DeviceNoticesReachEveryTaskStillInTheTree) {
    TracedTask* active = spawn("active", 1.0f);
    TracedTask* hidden = spawn("hidden", 2.0f, active);
    hidden->setSkipCounter(5);
    TracedTask* masked = spawn("masked", 3.0f);
    masked->setEventMask(0);
    TracedTask* dying = spawn("dying", 4.0f);
    TracedTask* gone = spawn("gone", 5.0f);
    frame();
    gone->kill();
    frame();  // gone is now dead and detached
    dying->kill();
    TracedTask* h = spawn("H", 9.0f);
    (void)h;  // still new: added after the start phase
    trace().lines.clear();
    sys().onLostDevice();
    EXPECT_EQ(sys().getPhase(), SysTask::kPhaseIdle);
    sys().onResetDevice();
    EXPECT_EQ(trace().lines, (Lines{"2:active.lost", "2:hidden.lost", "2:masked.lost",
                                    "2:dying.lost", "2:H.lost", "2:active.reset", "2:hidden.reset",
                                    "2:masked.reset", "2:dying.reset", "2:H.reset"}));
}

TEST_F(SysTaskTest, KillRemovesTheTaskFromItsRegistry) {
    auto& reg = Register<TracedTask>::instance();
    TracedTask* a = spawn("A");
    ASSERT_TRUE(registerSingle(a));
    EXPECT_EQ(a->getRegister(), &reg);
    EXPECT_FALSE(registerSingle(spawn("B")));
    frame();
    a->kill();
    EXPECT_EQ(reg.getSingle(), nullptr);
    EXPECT_EQ(a->getRegisterKey(), -1);
    TracedTask* c = spawn("C");
    EXPECT_TRUE(registerSingle(c));

    // A task that registers in its own init, killed before it starts.
    TracedTask* d = spawn("D");
    d->onInit = [d] { return registerWithId(d, 7, 3); };
    d->kill();
    frame();
    EXPECT_EQ(reg.Find(7, 3), nullptr);

    // A kill removes only the task's own entry, not one that took its keys.
    c->getRegister()->remove(0, 0);
    TracedTask* e = spawn("E");
    ASSERT_TRUE(registerSingle(e));
    c->kill();
    EXPECT_EQ(reg.getSingle(), e);
    e->kill();
    frames(2);
    EXPECT_EQ(reg.keyCount(), 0u);
}

TEST_F(SysTaskTest, RootIsRegisteredAndTermTakesTheWholeTreeDown) {
    ASSERT_NE(sys().getRoot(), nullptr);
    EXPECT_EQ(Register<TaskRoot>::instance().getSingle(), sys().getRoot());
    EXPECT_EQ(sys().getRoot()->getState(), TaskBase::kStateActive);
    TracedTask* p = spawn("P");
    spawn("C", 0.0f, p);
    frame();
    TracedTask* q = spawn("Q");  // pending: never started
    q->kill();
    spawn("N");  // pending as well
    TracedTask* k = spawn("K", 0.0f, p);
    (void)k;
    trace().lines.clear();
    sys().term();
    EXPECT_EQ(Register<TaskRoot>::instance().getSingle(), nullptr);
    EXPECT_EQ(sys().getPhase(), SysTask::kPhaseStart);
    Lines releases, deletes;
    for (const std::string& l : trace().lines) {
        if (l.ends_with(".release")) releases.push_back(l);
        if (l.ends_with(".delete")) deletes.push_back(l);
    }
    // Tasks that never started are not released, only deleted.
    EXPECT_EQ(releases, (Lines{"1:C.release", "1:P.release"}));
    EXPECT_EQ(deletes.size(), 5u);
    sys().update();  // no root: nothing happens
    sys().draw();
    ASSERT_TRUE(sys().init());
}

TEST_F(SysTaskTest, KillingTheRootEmptiesTheTreeWithoutDanglingIt) {
    spawn("T");
    frame();
    sys().getRoot()->kill();
    frames(2);
    EXPECT_EQ(sys().getRoot(), nullptr);
    EXPECT_EQ(trace().of("T"), cat({{"0:T.init"}, events(1, "T"), {"2:T.release", "3:T.delete"}}));
    frame();  // nothing left to run
    auto* orphan = new TracedTask("orphan");
    EXPECT_FALSE(sys().add(orphan));
    delete orphan;
}

TEST_F(SysTaskTest, AddRefusesWhatTheTreeCouldNotOwn) {
    TracedTask* added = spawn("added");
    auto* outside = new TracedTask("outside");  // never added
    struct Case {
        const char* name;
        TaskBase* task;
        TaskBase* parent;
    };
    auto* fresh = new TracedTask("fresh");
    const Case cases[] = {
        {"null task", nullptr, nullptr},
        {"already added", added, nullptr},
        {"under itself", fresh, fresh},
        {"the root", sys().getRoot(), nullptr},
        {"under a parent outside the tree", fresh, outside},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(sys().add(c.task, c.parent)) << c.name;
    }
    EXPECT_EQ(fresh->getParent(), nullptr);
    EXPECT_EQ(outside->getChildCount(), 0u);
    sys().term();
    EXPECT_FALSE(sys().add(fresh)) << "no root";
    delete fresh;
    delete outside;
    ASSERT_TRUE(sys().init());
}

}  // namespace
}  // namespace qel
