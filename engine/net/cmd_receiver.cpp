#include "engine/net/cmd_receiver.h"

#include <utility>

#include "engine/core/log.h"
#include "engine/net/recv_packet.h"

namespace qel {

CmdReceiver::CmdReceiver(SocketApi& api, SocketApi::Handle handle, SocketApi::Handle notifyWaker)
    : link_(api, handle), notify_(notifyWaker) {}

CmdReceiver::~CmdReceiver() {
    // Before the queue goes: the thread fills it.
    link_.stop();
}

bool CmdReceiver::start() {
    return link_.start(&CmdReceiver::threadMain, this);
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
    link_.quit();
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
    if (queued) link_.api().wake(notify_);
    return ok;
}

void CmdReceiver::threadMain(void* self) {
    static_cast<CmdReceiver*>(self)->run();
}

void CmdReceiver::run() {
    SocketApi& api = link_.api();
    const SocketApi::Handle socket = link_.socket().handle();
    unsigned char chunk[8192];
    while (!link_.quitting()) {
        const long n = api.receive(socket, chunk, sizeof chunk);
        if (n == SocketApi::kWouldBlock) {
            if (api.wait(socket, false, link_.waker(), -1) == SocketApi::Wait::Failed) break;
            continue;
        }
        if (n == SocketApi::kFailed) {
            logMessage("network: receiving from the server failed; its connection is closed");
            break;
        }
        if (n == 0) break;
        if (!take(chunk, static_cast<std::size_t>(n))) {
            logMessage(
                "network: the server sent more than %zu packets (or %zu bytes) unread; "
                "its connection is closed",
                kMaxQueuedPackets, kMaxQueuedBytes);
            break;
        }
    }
    link_.unlink();
    api.wake(notify_);
}

}  // namespace qel
