// Random adds and kills, from outside the tree and from inside every kind of
// handler, checked against the tree's lifecycle and kill-order invariants.
// Each seed replays exactly; a failure names its seed.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "engine/task/sys_task.h"
#include "tests/engine/task/trace_task.h"

namespace qel {
namespace {

struct Record {
    int addSeq = -1;
    int releaseSeq = -1;
    int inits = 0;
    int releases = 0;
    int deletes = 0;
};

class ChurnTask;

struct World {
    std::mt19937 rng;
    std::vector<Record> records;
    std::map<int, ChurnTask*> live;  // added and not yet deleted
    int seq = 0;

    int roll(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    void act();
    void addOne();
    TaskBase* pick();
};

World* world = nullptr;

class ChurnTask : public TaskBase {
public:
    ChurnTask(int id, float priority) : TaskBase(priority), id_(id) {}
    ~ChurnTask() override {
        Record& r = world->records[id_];
        EXPECT_EQ(r.deletes++, 0) << "task " << id_ << " deleted twice";
        EXPECT_EQ(getParent(), nullptr) << "task " << id_ << " deleted while still linked";
        world->live.erase(id_);
    }
    int id() const { return id_; }

    bool init() override {
        Record& r = world->records[id_];
        EXPECT_EQ(r.inits++, 0) << "task " << id_;
        EXPECT_EQ(r.releases, 0) << "task " << id_ << " started after its release";
        maybeAct(10);
        return world->roll(8) != 0;
    }
    void update() override { onEvent(); }
    void postUpdate() override { onEvent(); }
    void lateUpdate() override { onEvent(); }
    void draw() override { onEvent(); }
    void release() override {
        Record& r = world->records[id_];
        EXPECT_EQ(r.inits, 1) << "task " << id_ << " released without init";
        EXPECT_EQ(r.releases++, 0) << "task " << id_;
        r.releaseSeq = world->seq++;
        // Children first: the parent is released after us, unless we were
        // added after its release began.
        if (auto* p = dynamic_cast<ChurnTask*>(getParent())) {
            const Record& pr = world->records[p->id()];
            EXPECT_TRUE(pr.releaseSeq < 0 || r.addSeq > pr.releaseSeq)
                << "task " << id_ << " released after its parent " << p->id();
        }
        for (TaskBase* c : getChildren()) {
            const Record& cr = world->records[static_cast<ChurnTask*>(c)->id()];
            EXPECT_TRUE(cr.releases == 1 || cr.inits == 0)
                << "child " << static_cast<ChurnTask*>(c)->id() << " of " << id_
                << " still unreleased";
        }
        maybeAct(10);
    }

private:
    void onEvent() {
        const Record& r = world->records[id_];
        EXPECT_EQ(r.inits, 1) << "task " << id_ << " got events before init";
        EXPECT_EQ(r.releases, 0) << "task " << id_ << " got events after release";
        for (TaskBase* a = getParent(); a; a = a->getParent()) {
            EXPECT_TRUE(a->isActive()) << "task " << id_ << " got events under an inactive task";
        }
        maybeAct(60);
    }
    void maybeAct(int oneIn) {
        if (world->roll(oneIn) == 0) world->act();
    }

    int id_;
};

TaskBase* World::pick() {
    if (live.empty() || roll(6) == 0) return nullptr;  // the root
    auto it = live.begin();
    std::advance(it, roll(static_cast<int>(live.size())));
    return it->second;
}

void World::addOne() {
    const int id = static_cast<int>(records.size());
    records.emplace_back();
    auto* task = new ChurnTask(id, static_cast<float>(roll(3)));
    ASSERT_NE(task, nullptr) << "task pool exhausted";
    // Any parent will do, dying and dead ones included.
    TaskBase* parent = pick();
    records[id].addSeq = seq++;
    live[id] = task;
    EXPECT_TRUE(SysTask::instance().add(task, parent)) << "task " << id;
}

void World::act() {
    const int what = roll(10);
    if (what < 6) {
        if (live.size() < 150) addOne();
    } else if (TaskBase* t = pick()) {
        t->kill();
    }
}

// Every linked child sits under its parent in priority order and is not dead.
int checkTree(const TaskBase* node) {
    int count = 1;
    float last = -1e9f;
    for (TaskBase* c : node->getChildren()) {
        EXPECT_EQ(c->getParent(), node);
        EXPECT_LE(last, c->getPriority());
        EXPECT_NE(c->getState(), TaskBase::kStateDead);
        last = c->getPriority();
        count += checkTree(c);
    }
    return count;
}

class SysTaskChurnTest : public testing::TaskTreeTest {};

TEST_F(SysTaskChurnTest, RandomAddsAndKillsKeepTheLifecycleAndKillOrder) {
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        World w;
        w.rng.seed(seed);
        world = &w;
        for (int frame = 0; frame < 250 && !HasFailure(); ++frame) {
            for (int i = w.roll(4); i > 0; --i) w.act();

            std::vector<int> dying, dead;
            for (auto [id, t] : w.live) {
                if (t->getState() == TaskBase::kStateDying) dying.push_back(id);
                if (t->getState() == TaskBase::kStateDead) dead.push_back(id);
            }
            sys().update();
            // The dead of last update are deleted now; the dying are released
            // (after their init, if they had not started yet) and dead.
            for (int id : dead) EXPECT_EQ(w.records[id].deletes, 1) << "task " << id;
            for (int id : dying) {
                const Record& r = w.records[id];
                EXPECT_EQ(r.deletes, 0) << "task " << id << " deleted too early";
                EXPECT_EQ(r.inits, 1) << "task " << id;
                EXPECT_EQ(r.releases, 1) << "task " << id;
                if (r.deletes == 0) {
                    EXPECT_EQ(w.live[id]->getState(), TaskBase::kStateDead) << "task " << id;
                }
            }
            sys().draw();

            const int reachable = checkTree(sys().getRoot()) - 1;
            int chained = 0;
            for (auto [id, t] : w.live) {
                const TaskBase* top = t;
                while (top->getParent()) top = top->getParent();
                if (top == sys().getRoot()) {
                    ++chained;
                } else {
                    // Only tasks on their way out (or under one) leave the tree.
                    EXPECT_TRUE(t->isDying()) << "task " << id;
                }
            }
            // Parent pointers and children lists describe the same tree.
            EXPECT_EQ(reachable, chained);
        }
        sys().term();
        EXPECT_TRUE(w.live.empty());
        for (std::size_t id = 0; id < w.records.size(); ++id) {
            const Record& r = w.records[id];
            EXPECT_EQ(r.deletes, 1) << "task " << id;
            EXPECT_EQ(r.releases, r.inits) << "task " << id;
        }
        world = nullptr;
        ASSERT_TRUE(sys().init());
    }
}

}  // namespace
}  // namespace qel
