// The outgoing connection: a queue of packet bytes and a thread that sends
// them, oldest first, each to its last byte (a partial send resumes where
// it stopped). A send error ends the link: the thread stops, and later
// pushes are refused.
//
// The thread waits only on its socket and its own waker, so quit ends it at
// once; what is queued by then goes out only as far as the socket takes it
// without waiting.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/critical_section.h"
#include "engine/net/link_worker.h"

namespace qel {

class SendPacket;

class CmdSender : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(CmdSender, Core, Pool::General);

    explicit CmdSender(SocketApi& api);
    // Ends the thread (see quit), then closes the socket and frees what is left.
    ~CmdSender() override;
    CmdSender(const CmdSender&) = delete;
    CmdSender& operator=(const CmdSender&) = delete;

    // Connects to `address` (network byte order) and `port`, giving up after
    // `timeoutMs` or when `abortWaker` is woken, then starts the thread;
    // sequence numbers start again at 1. False when not connected.
    bool connect(std::uint32_t address, std::uint16_t port, int timeoutMs,
                 SocketApi::Handle abortWaker);
    // Stamps the next sequence number and the payload length, queues the
    // bytes and deletes the packet: true. False, the packet left with the
    // caller, when there is none or the link has ended.
    bool push(SendPacket* packet);
    // Asks the thread to end once the socket takes no more without waiting.
    void quit();
    // Connected and not ended by an error.
    bool isLinked() const { return link_.isLinked(); }

private:
    static void threadMain(void* self);
    void run();

    LinkWorker link_;
    CriticalSection lock_;
    std::deque<std::vector<unsigned char>> queue_;
    std::size_t frontSent_ = 0;  // bytes of the oldest record already out
    std::uint32_t nextSequence_ = 1;
};

}  // namespace qel
