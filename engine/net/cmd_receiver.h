// The incoming connection: a thread that reads the socket, joins the bytes
// back into packets and queues each whole one for the game thread.
//
// What it keeps true: only whole packets are queued; the link ends (the
// thread returns) when the peer closes, on an error, or when the peer
// queues more than the bounds below without the game taking any, which
// only a hostile peer does. Packets queued before the end stay poppable.
#pragma once

#include <cstddef>
#include <deque>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/critical_section.h"
#include "engine/net/link_worker.h"
#include "engine/net/packet_assembler.h"

namespace qel {

class RecvPacket;

class CmdReceiver : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(CmdReceiver, Core, Pool::General);

    static constexpr std::size_t kMaxQueuedPackets = 1024;
    static constexpr std::size_t kMaxQueuedBytes = 4u << 20;

    // Takes over the accepted connection `handle`; `notifyWaker` (may be
    // kNone) is woken whenever a packet is queued and when the link ends.
    CmdReceiver(SocketApi& api, SocketApi::Handle handle, SocketApi::Handle notifyWaker);
    ~CmdReceiver() override;
    CmdReceiver(const CmdReceiver&) = delete;
    CmdReceiver& operator=(const CmdReceiver&) = delete;

    bool start();
    // The oldest whole packet (the caller deletes it), or null.
    RecvPacket* pop();
    void quit();
    // Started and not yet ended.
    bool isLinked() const { return link_.isLinked(); }

    // The thread's handling of received bytes: false when the link must end.
    bool take(const unsigned char* data, std::size_t size);

private:
    static void threadMain(void* self);
    void run();

    LinkWorker link_;
    SocketApi::Handle notify_;
    CriticalSection lock_;
    std::deque<std::vector<unsigned char>> queue_;
    std::size_t queuedBytes_ = 0;
    PacketAssembler assembler_;
};

}  // namespace qel
