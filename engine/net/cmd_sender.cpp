#include "engine/net/cmd_sender.h"

#include "engine/core/log.h"
#include "engine/net/packet_header.h"
#include "engine/net/send_packet.h"

namespace qel {

CmdSender::CmdSender(SocketApi& api) : link_(api, SocketApi::kNone) {}

CmdSender::~CmdSender() {
    // Before the queue goes: the thread reads it.
    link_.stop();
}

bool CmdSender::connect(std::uint32_t address, std::uint16_t port, int timeoutMs,
                        SocketApi::Handle abortWaker) {
    SocketApi& api = link_.api();
    if (link_.socket().isOpen()) return false;
    const SocketApi::Handle handle = api.startConnect(address, port);
    if (handle == SocketApi::kNone) return false;
    link_.socket().attach(handle, address, port);
    nextSequence_ = 1;
    if (api.wait(handle, true, abortWaker, timeoutMs) == SocketApi::Wait::Ready &&
        api.finishConnect(handle) && link_.start(&CmdSender::threadMain, this)) {
        return true;
    }
    link_.socket().close();
    return false;
}

bool CmdSender::push(SendPacket* packet) {
    if (!packet || !link_.isLinked()) return false;
    {
        ScopedLock lock(lock_);
        unsigned char* bytes = packet->data();
        packet::store(bytes + packet::kSequenceOffset, nextSequence_++, 4);
        packet::store(bytes + packet::kLengthOffset, packet->size() - packet::kHeaderSize, 2);
        queue_.emplace_back(bytes, bytes + packet->size());
    }
    delete packet;
    link_.wake();
    return true;
}

void CmdSender::quit() {
    link_.quit();
}

void CmdSender::threadMain(void* self) {
    static_cast<CmdSender*>(self)->run();
}

void CmdSender::run() {
    SocketApi& api = link_.api();
    const SocketApi::Handle socket = link_.socket().handle();
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
            if (link_.quitting()) return;
            waited = api.wait(SocketApi::kNone, false, link_.waker(), -1);
        } else {
            const long sent =
                api.send(socket, front->data() + frontSent_, front->size() - frontSent_);
            if (sent == SocketApi::kWouldBlock) {
                if (link_.quitting()) return;
                waited = api.wait(socket, true, link_.waker(), -1);
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
            logMessage("network: sending to the server failed; the connection is closed");
            link_.unlink();
            return;
        }
    }
}

}  // namespace qel
