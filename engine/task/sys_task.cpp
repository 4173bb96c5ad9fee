#include "engine/task/sys_task.h"

#include <algorithm>

#include "engine/core/object_operation.h"

namespace qel {

SysTask::SysTask() {
    // Room for a busy frame, so the lists rarely grow during play.
    pending_.reserve(64);
    kill_.reserve(64);
    dead_.reserve(64);
    working_.reserve(64);
}

SysTask& SysTask::instance() {
    static SysTask sys;
    return sys;
}

bool SysTask::init() {
    if (root_) return true;
    root_ = new TaskRoot();
    if (!root_) return false;
    registerSingle(root_);
    startTask(root_);
    if (!root_->isActive()) {
        term();
        return false;
    }
    return true;
}

void SysTask::term() {
    const ObjectOperation operation;
    phase_ = kPhaseKill;
    if (root_) root_->kill();
    processKills();
    // Tasks that never started were killed with the tree above; forget them
    // before they are deleted.
    pending_.clear();
    deleteDead();
    root_ = nullptr;
    phase_ = kPhaseStart;
}

bool SysTask::update() {
    if (!root_) return true;
    // A pass is an operation: objects deleted during it go as it ends.
    const ObjectOperation operation;
    phase_ = kPhaseStart;
    startPending();
    phase_ = kPhaseKill;
    deleteDead();
    processKills();
    phase_ = kPhaseUpdate;
    // The root itself may have been deleted just now.
    if (root_) {
        broadcast(root_, TaskBase::kEventUpdate);
        broadcast(root_, TaskBase::kEventPostUpdate);
        broadcast(root_, TaskBase::kEventLateUpdate);
    }
    phase_ = kPhaseIdle;
    return true;
}

void SysTask::draw() {
    if (!root_) return;
    const ObjectOperation operation;
    phase_ = kPhaseDraw;
    broadcast(root_, TaskBase::kEventDraw);
    phase_ = kPhaseIdle;
}

void SysTask::onLostDevice() {
    passDeviceNotice(kPhaseLostDevice, &TaskBase::onLostDevice);
}

void SysTask::onResetDevice() {
    passDeviceNotice(kPhaseResetDevice, &TaskBase::onResetDevice);
}

void SysTask::passDeviceNotice(int phase, void (TaskBase::*notice)()) {
    const int previous = phase_;
    phase_ = phase;
    if (root_) notifySubtree(root_, notice);
    phase_ = previous;
}

bool SysTask::add(TaskBase* task, TaskBase* parent) {
    if (!parent) parent = root_;
    if (!task || !parent || task == parent || task == root_) return false;
    if (task->parent_ || task->state_ != TaskBase::kStateNew) return false;
    // A parent outside the tree would keep the task out of every pass and
    // out of the shutdown kill.
    const bool doomed = parent->isDying();
    if (!doomed && parent != root_ && !parent->parent_) return false;

    task->linkUnder(parent);
    if (doomed) {
        // Killed at once, and queued before its parent so that it is
        // released first when the parent's release is still to come.
        const std::size_t first = kill_.size();
        task->kill();
        auto at = std::find(kill_.begin(), kill_.begin() + first, parent);
        if (at != kill_.begin() + first) std::rotate(at, kill_.begin() + first, kill_.end());
    }
    if (phase_ == kPhaseStart) {
        startTask(task);
    } else {
        pending_.push_back(task);
    }
    return true;
}

void SysTask::startTask(TaskBase* task) {
    task->started_ = true;
    const bool ok = task->init();
    if (!ok) {
        task->kill();
    } else if (task->state_ == TaskBase::kStateNew) {
        // A task killed before it started stays dying whatever init says.
        task->state_ = TaskBase::kStateActive;
    }
}

void SysTask::startPending() {
    // Inits run in the start phase, so tasks they add start at once and
    // never join this list while it is walked.
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        TaskBase* task = pending_[i];
        // A task whose kill was processed before it could start stays unstarted.
        if (task->state_ != TaskBase::kStateDead && !task->started_) startTask(task);
    }
    pending_.clear();
}

void SysTask::enqueueKill(TaskBase* task) {
    kill_.push_back(task);
}

void SysTask::processKills() {
    while (!kill_.empty()) {
        working_.swap(kill_);
        for (TaskBase* task : working_) {
            // Normally every child was killed with its parent; one that was
            // not would otherwise outlive it with a dangling parent.
            for (TaskBase* c = task->firstChild_; c; c = c->nextSibling_) {
                if (!c->isDying()) c->kill();
            }
            if (task->started_) task->release();
            // Again after release: init or release may have registered it.
            task->forgetRegister();
            task->state_ = TaskBase::kStateDead;
        }
        for (TaskBase* task : working_) {
            task->unlink();
            dead_.push_back(task);
        }
        working_.clear();
    }
}

void SysTask::deleteDead() {
    for (TaskBase* task : dead_) {
        if (task == root_) root_ = nullptr;
        delete task;
    }
    dead_.clear();
}

void SysTask::broadcast(TaskBase* task, std::uint32_t event) {
    if (task->state_ != TaskBase::kStateActive) return;
    if (task->skipCounter_ > 0) {
        if (event == TaskBase::kEventDraw) --task->skipCounter_;
        return;
    }
    if (!(task->eventMask_ & event)) return;
    switch (event) {
        case TaskBase::kEventUpdate:
            task->update();
            break;
        case TaskBase::kEventPostUpdate:
            task->postUpdate();
            break;
        case TaskBase::kEventLateUpdate:
            task->lateUpdate();
            break;
        default:
            task->draw();
            break;
    }
    for (TaskBase* c = task->firstChild_; c; c = c->nextSibling_) broadcast(c, event);
}

void SysTask::notifySubtree(TaskBase* task, void (TaskBase::*notice)()) {
    (task->*notice)();
    for (TaskBase* c = task->firstChild_; c; c = c->nextSibling_) notifySubtree(c, notice);
}

}  // namespace qel
