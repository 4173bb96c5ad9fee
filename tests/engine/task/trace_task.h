// Test support: tasks that write every handler call into one trace, stamped
// with the frame number, and a harness that drives SysTask frame by frame
// the way the main loop does (update, then draw).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/core/memory_allocator.h"
#include "engine/task/sys_task.h"

namespace qel::testing {

struct Trace {
    int frame = 0;
    std::vector<std::string> lines;

    void add(const std::string& who, const char* what) {
        lines.push_back(std::to_string(frame) + ":" + who + "." + what);
    }
    // The lines of one task, in order.
    std::vector<std::string> of(const std::string& who) const {
        std::vector<std::string> out;
        const std::string tag = ":" + who + ".";
        for (const std::string& l : lines) {
            if (l.find(tag) != std::string::npos) out.push_back(l);
        }
        return out;
    }
};

inline Trace& trace() {
    static Trace t;
    return t;
}

// Handlers default to tracing only; a test hangs extra behaviour on them.
class TracedTask : public TaskBase {
public:
    explicit TracedTask(std::string name, float priority = 0.0f)
        : TaskBase(priority), name_(std::move(name)) {}
    ~TracedTask() override {
        trace().add(name_, "delete");
        if (onDelete) onDelete();
    }

    std::function<bool()> onInit;
    std::function<void()> onUpdate, onRelease, onDraw, onDelete;

    bool init() override {
        trace().add(name_, "init");
        return onInit ? onInit() : true;
    }
    void update() override {
        trace().add(name_, "update");
        if (onUpdate) onUpdate();
    }
    void postUpdate() override { trace().add(name_, "post"); }
    void lateUpdate() override { trace().add(name_, "late"); }
    void draw() override {
        trace().add(name_, "draw");
        if (onDraw) onDraw();
    }
    void release() override {
        trace().add(name_, "release");
        if (onRelease) onRelease();
    }
    void onLostDevice() override { trace().add(name_, "lost"); }
    void onResetDevice() override { trace().add(name_, "reset"); }

    const std::string& name() const { return name_; }

private:
    std::string name_;
};

// Starts a fresh tree for each test and tears it down afterwards, checking
// that the tree gave every block of the task pool back.
class TaskTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        trace() = Trace();
        usedBefore_ = MemoryAllocator<Pool::Tasks>::instance().stats().usedBlocks;
        ASSERT_TRUE(sys().init());
    }
    void TearDown() override {
        sys().term();
        EXPECT_EQ(sys().getRoot(), nullptr);
        EXPECT_EQ(sys().getPendingCount(), 0u);
        EXPECT_EQ(sys().getKillCount(), 0u);
        EXPECT_EQ(sys().getDeadCount(), 0u);
        EXPECT_EQ(MemoryAllocator<Pool::Tasks>::instance().stats().usedBlocks, usedBefore_)
            << "the tree left tasks behind";
    }

public:
    static SysTask& sys() { return SysTask::instance(); }

    // One frame of the main loop: frame N's update and draw.
    void frame() {
        ++trace().frame;
        sys().update();
        sys().draw();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }

    TracedTask* spawn(const std::string& name, float priority = 0.0f, TaskBase* parent = nullptr) {
        auto* t = new TracedTask(name, priority);
        EXPECT_TRUE(sys().add(t, parent)) << name;
        return t;
    }

private:
    std::size_t usedBefore_ = 0;
};

}  // namespace qel::testing
