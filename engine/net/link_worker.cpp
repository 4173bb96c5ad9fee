#include "engine/net/link_worker.h"

#include "engine/core/thread.h"

namespace qel {

LinkWorker::LinkWorker(SocketApi& api, SocketApi::Handle handle)
    : socket_(api, handle), waker_(api.createWaker()) {}

LinkWorker::~LinkWorker() {
    stop();
    socket_.api().destroyWaker(waker_);
}

bool LinkWorker::start(void (*procedure)(void*), void* owner) {
    if (thread_ || !socket_.isOpen() || waker_ == SocketApi::kNone) return false;
    quit_ = false;
    linked_ = true;
    thread_ = new Thread(procedure, owner, false);
    if (!thread_ || !thread_->isValid()) {
        linked_ = false;
        delete thread_;
        thread_ = nullptr;
        return false;
    }
    return true;
}

void LinkWorker::quit() {
    quit_ = true;
    wake();
}

void LinkWorker::stop() {
    quit();
    delete thread_;
    thread_ = nullptr;
    linked_ = false;
    socket_.close();
}

}  // namespace qel
