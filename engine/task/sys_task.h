// SysTask: owns the task tree and drives it each frame.
//
// What it keeps true:
//   - every task the tree owns is reachable from the root, or sits on the
//     kill or dead list, and is deleted exactly once;
//   - the kill list holds descendants before their ancestors, so release
//     runs children first (a task added under a parent whose release already
//     ran is the one exception), and every killed task is detached from its
//     parent before either of them is deleted;
//   - init runs at most once per task and release only after init, once;
//   - the event passes neither allocate nor sort.
//
// Frame timing: a task added outside the start phase during frame N gets init
// at the start of update N+1 and its first events in that same update; a
// task killed during frame N is released in update N+1 and deleted in update
// N+2. Tasks added during the start phase (for example by another task's
// init, or at start-up before the first update) get init at once.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "engine/core/sys_base.h"
#include "engine/task/task_base.h"
#include "engine/task/task_root.h"

namespace qel {

class SysTask : public SysBase {
public:
    enum Phase : int {
        kPhaseIdle = 0,
        kPhaseUpdate = 1,
        kPhaseDraw = 2,
        kPhaseStart = 3,  // also from construction (and after term) until the first update
        kPhaseKill = 4,
        kPhaseLostDevice = 5,
        kPhaseResetDevice = 6,
    };

    static SysTask& instance();
    QEL_CLASS_WITHOUT_FACTORY(SysTask, SysBase, Pool::System);

    // Creates the root and records it in Register<TaskRoot> under key 0.
    // False only when the root cannot be allocated.
    bool init() override;
    // Kills, releases and deletes the whole tree, the root included.
    void term() override;
    // Starts pending tasks, deletes the dead, processes kills, then passes
    // events 1, 2 and 4 through the tree. Always true.
    bool update() override;
    // Passes event 8 through the tree.
    void draw() override;
    // Pass the device notices to every task in the tree, whatever its state,
    // skip counter or mask.
    void onLostDevice() override;
    void onResetDevice() override;

    // Adds `task` under `parent` (the root when null); the tree owns it from
    // here. In the start phase its init runs at once, otherwise at the next
    // update. A task added under a dying or dead parent is killed at once.
    // False (and the caller keeps the task) when it is null, already added,
    // or there is no root to add it to.
    bool add(TaskBase* task, TaskBase* parent = nullptr);

    TaskRoot* getRoot() const { return root_; }
    int getPhase() const { return phase_; }

    // Sizes of the internal lists, for tests and diagnostics.
    std::size_t getPendingCount() const { return pending_.size(); }
    std::size_t getKillCount() const { return kill_.size(); }
    std::size_t getDeadCount() const { return dead_.size(); }

private:
    friend class TaskBase;
    using TaskList = std::vector<TaskBase*, PoolAllocator<TaskBase*, Pool::System>>;

    SysTask();

    void startPending();
    void processKills();
    void deleteDead();
    void broadcast(TaskBase* task, std::uint32_t event);
    // Calls `notice` on every task of the tree, in the given phase.
    void passDeviceNotice(int phase, void (TaskBase::*notice)());
    static void notifySubtree(TaskBase* task, void (TaskBase::*notice)());
    void startTask(TaskBase* task);
    // Called by TaskBase::kill once the task is marked dying.
    void enqueueKill(TaskBase* task);

    TaskRoot* root_ = nullptr;
    TaskList pending_;
    TaskList kill_;
    TaskList dead_;
    // The round of kills being released (kept to reuse its storage).
    TaskList working_;
    int phase_ = kPhaseStart;
};

}  // namespace qel
