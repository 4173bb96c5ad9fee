#include "engine/task/task_base.h"

#include "engine/task/sys_task.h"

namespace qel {

TaskBase::TaskBase(float priority) : priority_(priority) {}

TaskBase::~TaskBase() {
    // Children still listed here were added after this task's own kill was
    // processed; they are on the kill list and must not reach back to us.
    while (firstChild_) firstChild_->unlink();
    if (parent_) unlink();
}

std::size_t TaskBase::getChildCount() const {
    std::size_t n = 0;
    for (const TaskBase* c = firstChild_; c; c = c->nextSibling_) ++n;
    return n;
}

bool TaskBase::hasChild(const TaskBase* task) const {
    for (const TaskBase* c = firstChild_; c; c = c->nextSibling_) {
        if (c == task) return true;
    }
    return false;
}

void TaskBase::setRegister(IRegister* reg, int key, int subKey) {
    register_ = reg;
    registerKey_ = key;
    registerSubKey_ = subKey;
}

void TaskBase::forgetRegister() {
    // Only our own entry: someone may have removed it and reused the keys.
    if (register_ && registerKey_ != -1 && registerSubKey_ != -1 &&
        register_->lookup(registerKey_, registerSubKey_) == this) {
        register_->remove(registerKey_, registerSubKey_);
    }
    setRegister(nullptr, -1, -1);
}

void TaskBase::kill() {
    if (isDying()) return;
    state_ = kStateDying;
    for (TaskBase* c = firstChild_; c; c = c->nextSibling_) c->kill();
    SysTask::instance().enqueueKill(this);
    forgetRegister();
}

void TaskBase::linkUnder(TaskBase* parent) {
    parent_ = parent;
    TaskBase* after = parent->lastChild_;
    while (after && after->priority_ > priority_) after = after->prevSibling_;
    prevSibling_ = after;
    nextSibling_ = after ? after->nextSibling_ : parent->firstChild_;
    if (prevSibling_) {
        prevSibling_->nextSibling_ = this;
    } else {
        parent->firstChild_ = this;
    }
    if (nextSibling_) {
        nextSibling_->prevSibling_ = this;
    } else {
        parent->lastChild_ = this;
    }
}

void TaskBase::unlink() {
    if (!parent_) return;
    if (prevSibling_) {
        prevSibling_->nextSibling_ = nextSibling_;
    } else {
        parent_->firstChild_ = nextSibling_;
    }
    if (nextSibling_) {
        nextSibling_->prevSibling_ = prevSibling_;
    } else {
        parent_->lastChild_ = prevSibling_;
    }
    parent_ = prevSibling_ = nextSibling_ = nullptr;
}

}  // namespace qel
