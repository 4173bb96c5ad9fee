#include "engine/core/object_operation.h"

#include <cstddef>
#include <deque>
#include <exception>

namespace qel {

namespace {

struct Waiting {
    void* object;
    ObjectOperation::Finish finish;
};

struct ThreadState {
    int depth = 0;
    bool draining = false;
    std::deque<Waiting> waiting;
};

ThreadState& state() {
    thread_local ThreadState s;
    return s;
}

}  // namespace

ObjectOperation::ObjectOperation() : exceptions_(std::uncaught_exceptions()) {
    ++state().depth;
}

ObjectOperation::~ObjectOperation() {
    ThreadState& s = state();
    if (s.depth > 1 || s.draining || std::uncaught_exceptions() > exceptions_) {
        --s.depth;
        return;
    }
    // Each waiting deletion runs inside this outermost operation, so what it
    // asks for in turn joins the line instead of running in its middle.
    s.draining = true;
    while (!s.waiting.empty()) {
        const Waiting next = s.waiting.front();
        s.waiting.pop_front();
        next.finish(next.object);
    }
    s.draining = false;
    --s.depth;
}

bool ObjectOperation::active() {
    return state().depth > 0;
}

bool ObjectOperation::deleteWhenIdle(void* object, Finish finish) {
    ThreadState& s = state();
    if (s.depth == 0) {
        const ObjectOperation operation;  // what the deletion asks for waits for it
        finish(object);
        return false;
    }
    s.waiting.push_back({object, finish});
    return true;
}

}  // namespace qel
