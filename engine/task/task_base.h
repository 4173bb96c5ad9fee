// TaskBase: one node of the task tree.
//
// What it keeps true: a task's children are linked in ascending priority,
// equal priorities in order of addition, so event passes never sort; a
// task's state only moves forward (new -> active -> dying -> dead, or new ->
// dying -> dead); a dying or dead task receives no events. The tree (SysTask)
// owns every task added to it and deletes it two updates after its kill.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/core.h"
#include "engine/core/i_register.h"
#include "engine/core/register.h"
#include "engine/core/script_object.h"

namespace qel {

class SysTask;

class TaskBase : public ScriptObject {
public:
    enum State : int { kStateNew = 0, kStateActive = 1, kStateDying = 2, kStateDead = 3 };
    // Event bits: a task receives an event only when its mask has the bit.
    enum Event : std::uint32_t {
        kEventUpdate = 1,
        kEventPostUpdate = 2,
        kEventLateUpdate = 4,
        kEventDraw = 8,
        kEventAll = 15,
    };

    explicit TaskBase(float priority = 0.0f);
    // Unlinks the task from its parent and its remaining children from it;
    // the children themselves are not deleted (the tree deletes them).
    ~TaskBase() override;
    TaskBase(const TaskBase&) = delete;
    TaskBase& operator=(const TaskBase&) = delete;

    QEL_CLASS(TaskBase, ScriptObject, Pool::Tasks);

    // Event handlers, in pass order within a frame.
    virtual void update() {}      // event 1
    virtual void postUpdate() {}  // event 2
    virtual void lateUpdate() {}  // event 4
    virtual void draw() {}        // event 8
    // Called once when the task starts; false kills it.
    virtual bool init() { return true; }
    // Called once when the kill is processed, for tasks whose init ran.
    virtual void release() {}
    virtual void onLostDevice() {}
    virtual void onResetDevice() {}

    // Marks the task and its subtree dying; the tree releases them at the next
    // update and deletes them at the one after. Repeated kills do nothing. A
    // task killed without ever being added is taken over and deleted the same way.
    void kill();

    int getState() const { return state_; }
    bool isActive() const { return state_ == kStateActive; }
    // Dying or dead: on its way out of the tree, receiving no more events.
    bool isDying() const { return state_ == kStateDying || state_ == kStateDead; }
    float getPriority() const { return priority_; }
    TaskBase* getParent() const { return parent_; }

    // Children in event order. Adding a task while iterating is safe: the
    // new child is linked in place and, being new, receives no events yet.
    TaskBase* getFirstChild() const { return firstChild_; }
    TaskBase* getNextSibling() const { return nextSibling_; }
    std::size_t getChildCount() const;
    bool hasChild(const TaskBase* task) const;

    class ChildIterator {
    public:
        explicit ChildIterator(TaskBase* t) : task_(t) {}
        TaskBase* operator*() const { return task_; }
        ChildIterator& operator++() {
            task_ = task_->nextSibling_;
            return *this;
        }
        bool operator==(const ChildIterator& o) const { return task_ == o.task_; }
        bool operator!=(const ChildIterator& o) const { return task_ != o.task_; }

    private:
        TaskBase* task_;
    };
    struct ChildRange {
        TaskBase* first;
        ChildIterator begin() const { return ChildIterator(first); }
        ChildIterator end() const { return ChildIterator(nullptr); }
    };
    ChildRange getChildren() const { return ChildRange{firstChild_}; }

    std::uint32_t getEventMask() const { return eventMask_; }
    void setEventMask(std::uint32_t mask) { eventMask_ = mask; }
    // While above 0 the task and its subtree receive no events; each draw
    // pass that reaches the task counts it down by one.
    int getSkipCounter() const { return skipCounter_; }
    void setSkipCounter(int frames) { skipCounter_ = frames; }

    // The registry entry a kill removes. Set by whoever registered the task.
    IRegister* getRegister() const { return register_; }
    int getRegisterKey() const { return registerKey_; }
    int getRegisterSubKey() const { return registerSubKey_; }
    void setRegister(IRegister* reg, int key, int subKey);

private:
    friend class SysTask;

    // Links under `parent` after every child of equal or lower priority.
    void linkUnder(TaskBase* parent);
    // Removes the task from its parent's children; parent becomes null.
    void unlink();
    void forgetRegister();

    IRegister* register_ = nullptr;
    int registerKey_ = -1;
    int registerSubKey_ = -1;
    float priority_;
    TaskBase* parent_ = nullptr;
    TaskBase* firstChild_ = nullptr;
    TaskBase* lastChild_ = nullptr;
    TaskBase* prevSibling_ = nullptr;
    TaskBase* nextSibling_ = nullptr;
    int skipCounter_ = 0;
    std::uint32_t eventMask_ = kEventAll;
    int state_ = kStateNew;
    // Whether init has run: release is owed only to tasks that started.
    bool started_ = false;
};

// Registering a task records the registry and keys in it, so its kill
// removes the entry. T is the registry's class (a base of the task's class
// or the class itself).
template <class T>
bool registerSingle(T* task) {
    if (!task || !Register<T>::instance().addSingle(task)) return false;
    task->setRegister(&Register<T>::instance(), 0, 0);
    return true;
}

template <class T>
int registerLowestFree(T* task) {
    if (!task) return -1;
    const int key = Register<T>::instance().addLowestFree(task);
    if (key >= 0) task->setRegister(&Register<T>::instance(), key, 0);
    return key;
}

template <class T>
bool registerWithId(T* task, int key, int subKey = 0) {
    if (!task || !Register<T>::instance().AddWithId(task, key, subKey)) return false;
    task->setRegister(&Register<T>::instance(), key, subKey);
    return true;
}

}  // namespace qel
