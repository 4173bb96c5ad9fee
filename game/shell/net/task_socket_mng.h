// The requests to the message server: a queue of packets sent one a frame
// over the socket client, the count of replies still owed, the newest
// message id the server reported, and the connection's life: opened when a
// request is queued, closed when the last reply came or after 30 seconds
// with nothing to send. Also the reply handlers.
//
// Wire bodies (little-endian; a text is a u16 length and its bytes):
//   request 1 start: empty;  2 post: text, i32 number, text LOCALE;
//   3 poll: i64 last id.
//   reply 1: i64 id;  3: i64 id, u32 count, count x (text, 4 bytes, text).
//
// What it keeps true:
//   - The game thread never waits on the network: connecting, sending and
//     receiving stay on the transport's threads.
//   - A reply whose id, count or texts run past its payload is dropped
//     whole; nothing is read past a packet.
//   - A post fits its 256-byte packet: the message and LOCALE together take
//     at most kPostTextBytes, the message cut first, on whole characters.
//   - Without a socket client (none set up) every operation does nothing.
// Game thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>

#include "engine/task/task_base.h"

namespace qel {
class Clock;
class RecvPacket;
class SendPacket;
class SysSocketClient;
}  // namespace qel

class TaskSocketMng : public qel::TaskBase {
public:
    QEL_CLASS(TaskSocketMng, qel::TaskBase, qel::Pool::Tasks);

    enum Command : std::uint16_t { kStart = 1, kPost = 2, kPoll = 3 };
    static constexpr std::size_t kPostCapacity = 256;
    static constexpr std::size_t kPostTextBytes = 248;
    static constexpr std::int64_t kIdleSeconds = 30;

    // The single instance, made under the task root when missing.
    static TaskSocketMng* instance();
    // The single instance, or null.
    static TaskSocketMng* current();
    // The time source of the poll and idle rules (the process clock when
    // none is set); seconds.
    static void setClock(qel::Clock* clock);
    static std::int64_t nowSeconds();
    // Registers the reply handlers with the socket client (the boot, when
    // the network is enabled).
    static void registerHandlers(qel::SysSocketClient& client);

    ~TaskSocketMng() override;

    void sendStartRequest();
    void sendPostRequest(std::string_view message, std::int32_t number);
    void sendPollRequest();
    void onReplyLastId(qel::RecvPacket& packet);
    void onReplyMessages(qel::RecvPacket& packet);
    void disconnect();
    void stop();

    std::int32_t pending() const { return pending_; }
    std::int64_t lastId() const { return lastId_; }
    bool isOpened() const { return opened_; }
    std::size_t queued() const { return queue_.size(); }

    bool init() override { return true; }
    void lateUpdate() override;
    void release() override { stop(); }

private:
    // The socket client when one is set up, else null.
    static qel::SysSocketClient* client();
    void queue(qel::SendPacket* packet);
    // The id and pending rule shared by both replies.
    void takeReply(std::int64_t id);

    std::deque<qel::SendPacket*> queue_;
    std::int32_t pending_ = 0;
    std::int64_t lastId_ = 0;
    bool opened_ = false;
    std::int64_t lastActivity_ = 0;
};
