#include "engine/net/cmd_sender.h"

#include "engine/core/thread.h"
#include "engine/net/packet_header.h"
#include "engine/net/send_packet.h"

namespace qel {

CmdSender::CmdSender(SocketApi& api) : socket_(api), waker_(api.createWaker()) {}

CmdSender::~CmdSender() {
    quit();
    delete thread_;
    socket_.close();
    socket_.api().destroyWaker(waker_);
}

bool CmdSender::connect(std::uint32_t address, std::uint16_t port, int timeoutMs,
                        SocketApi::Handle abortWaker) {
    SocketApi& api = socket_.api();
    if (thread_ || waker_ == SocketApi::kNone) return false;
    const SocketApi::Handle handle = api.startConnect(address, port);
    if (handle == SocketApi::kNone) return false;
    socket_.attach(handle, address, port);
    if (api.wait(handle, true, abortWaker, timeoutMs) != SocketApi::Wait::Ready ||
        !api.finishConnect(handle)) {
        socket_.close();
        return false;
    }
    nextSequence_ = 1;
    quit_ = false;
    linked_ = true;
    thread_ = new Thread(&CmdSender::threadMain, this, false);
    if (!thread_ || !thread_->isValid()) {
        linked_ = false;
        delete thread_;
        thread_ = nullptr;
        socket_.close();
        return false;
    }
    return true;
}

bool CmdSender::push(SendPacket* packet) {
    if (!packet || !linked_) return false;
    {
        ScopedLock lock(lock_);
        unsigned char* bytes = packet->data();
        packet::store(bytes + packet::kSequenceOffset, nextSequence_++, 4);
        packet::store(bytes + packet::kLengthOffset, packet->size() - packet::kHeaderSize, 2);
        queue_.emplace_back(bytes, bytes + packet->size());
    }
    delete packet;
    socket_.api().wake(waker_);
    return true;
}

void CmdSender::quit() {
    quit_ = true;
    socket_.api().wake(waker_);
}

void CmdSender::threadMain(void* self) {
    static_cast<CmdSender*>(self)->run();
}

void CmdSender::run() {
    SocketApi& api = socket_.api();
    for (;;) {
        // Only this thread removes records, and a deque keeps its elements
        // in place when others append: the oldest one is sent unlocked.
        const std::vector<unsigned char>* front = nullptr;
        {
            ScopedLock lock(lock_);
            if (!queue_.empty()) front = &queue_.front();
        }
        SocketApi::Wait waited = SocketApi::Wait::Ready;
        if (!front) {
            if (quit_) return;
            waited = api.wait(SocketApi::kNone, false, waker_, -1);
        } else {
            const long sent = api.send(socket_.handle(), front->data() + frontSent_,
                                       front->size() - frontSent_);
            if (sent == SocketApi::kWouldBlock) {
                if (quit_) return;
                waited = api.wait(socket_.handle(), true, waker_, -1);
            } else if (sent >= 0) {
                frontSent_ += static_cast<std::size_t>(sent);
                if (frontSent_ == front->size()) {
                    ScopedLock lock(lock_);
                    queue_.pop_front();
                    frontSent_ = 0;
                }
            } else {
                waited = SocketApi::Wait::Failed;
            }
        }
        if (waited == SocketApi::Wait::Failed) {
            linked_ = false;
            return;
        }
    }
}

}  // namespace qel
