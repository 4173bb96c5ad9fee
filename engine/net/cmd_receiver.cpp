#include "engine/net/cmd_receiver.h"

#include <utility>

#include "engine/core/thread.h"
#include "engine/net/recv_packet.h"

namespace qel {

CmdReceiver::CmdReceiver(SocketApi& api, SocketApi::Handle handle, SocketApi::Handle notifyWaker)
    : socket_(api, handle), waker_(api.createWaker()), notify_(notifyWaker) {}

CmdReceiver::~CmdReceiver() {
    quit();
    delete thread_;
    socket_.close();
    socket_.api().destroyWaker(waker_);
}

bool CmdReceiver::start() {
    if (thread_ || !socket_.isOpen() || waker_ == SocketApi::kNone) return false;
    linked_ = true;
    thread_ = new Thread(&CmdReceiver::threadMain, this, false);
    if (!thread_ || !thread_->isValid()) {
        linked_ = false;
        delete thread_;
        thread_ = nullptr;
        return false;
    }
    return true;
}

RecvPacket* CmdReceiver::pop() {
    std::vector<unsigned char> bytes;
    {
        ScopedLock lock(lock_);
        if (queue_.empty()) return nullptr;
        bytes = std::move(queue_.front());
        queue_.pop_front();
        queuedBytes_ -= bytes.size();
    }
    return new RecvPacket(std::move(bytes));
}

void CmdReceiver::quit() {
    quit_ = true;
    socket_.api().wake(waker_);
}

bool CmdReceiver::take(const unsigned char* data, std::size_t size) {
    bool queued = false;
    const bool ok = assembler_.feed(data, size, [&](std::vector<unsigned char>&& packet) {
        ScopedLock lock(lock_);
        if (queue_.size() >= kMaxQueuedPackets || queuedBytes_ + packet.size() > kMaxQueuedBytes) {
            return false;
        }
        queuedBytes_ += packet.size();
        queue_.push_back(std::move(packet));
        queued = true;
        return true;
    });
    if (queued) socket_.api().wake(notify_);
    return ok;
}

void CmdReceiver::threadMain(void* self) {
    static_cast<CmdReceiver*>(self)->run();
}

void CmdReceiver::run() {
    SocketApi& api = socket_.api();
    unsigned char chunk[8192];
    while (!quit_) {
        const long n = api.receive(socket_.handle(), chunk, sizeof chunk);
        if (n == SocketApi::kWouldBlock) {
            if (api.wait(socket_.handle(), false, waker_, -1) == SocketApi::Wait::Failed) break;
            continue;
        }
        if (n <= 0 || !take(chunk, static_cast<std::size_t>(n))) break;
    }
    linked_ = false;
    api.wake(notify_);
}

}  // namespace qel
