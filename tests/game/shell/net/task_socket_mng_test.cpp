// The requests to the message server against a server played by the test
// on 127.0.0.1 (real sockets, its own thread, every wait bounded), with the
// requests' clock driven by the test: the start and its reply, the post's
// bytes, the poll after five minutes, closing after the last reply and
// after 30 idle seconds, a failed connect and the retry after it, and
// replies that lie about their size.
#include "game/shell/net/task_socket_mng.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "engine/net/recv_packet.h"
#include "engine/net/sys_socket_client.h"
#include "engine/task/sys_task.h"
#include "game/shell/global_functions.h"
#include "game/shell/net/network_text_buffer.h"
#include "game/shell/net/task_net_request.h"
#include "game/shell/settings.h"
#include "platform/net/posix_socket_api.h"
#include "tests/engine/net/test_peer.h"
#include "tests/support/fake_clock.h"

namespace {

using qel::test::encode;
using qel::test::TestPeer;

constexpr std::uint32_t kConnectionId = 77;

std::string le(std::uint64_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i));
    return out;
}
std::string text(const std::string& t) {
    return le(t.size(), 2) + t;
}
// A reply 3 body: id, count, then each message with its number and locale.
std::string messages(std::int64_t id, std::uint32_t count, const std::vector<std::string>& texts) {
    std::string body = le(static_cast<std::uint64_t>(id), 8) + le(count, 4);
    for (const std::string& t : texts) body += text(t) + le(9, 4) + text("ja");
    return body;
}

class NetRequests : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(qel::SysTask::instance().init());
        client_.setSocketApi(&qel::PosixSocketApi::instance());
        static bool registered = false;
        if (!registered) TaskSocketMng::registerHandlers(client_);
        registered = true;
        receivePort_ = qel::test::freePort();
        client_.setServer("127.0.0.1", peer_.port(), receivePort_);
        TaskSocketMng::setClock(&clock_);
        NetworkTextBuffer::instance().clear();
        LOCALE = "ja";
    }
    void TearDown() override {
        if (server_.joinable()) server_.join();
        client_.close();
        qel::SysTask::instance().term();
        TaskSocketMng::setClock(nullptr);
        NetworkTextBuffer::instance().clear();
        LOCALE.clear();
        NETWORK_ENABLE = false;
        NETWORK_LINK_WAIT = 10;
    }

    TaskSocketMng& mng() { return *TaskSocketMng::instance(); }
    // One game frame of the two: the client hands out replies, the task
    // sends or connects.
    void frame() {
        client_.update();
        mng().lateUpdate();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    bool until(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            frame();
        }
        return true;
    }
    void serve(std::function<void(TestPeer&)> script) {
        server_ = std::thread([this, script = std::move(script)] { script(peer_); });
    }

    qel::SysSocketClient& client_ = qel::SysSocketClient::instance();
    TestPeer peer_;
    std::uint16_t receivePort_ = 0;
    std::thread server_;
    qel::test::FakeClock clock_;
};

TEST_F(NetRequests, StartPostAndTheirRepliesThenTheLinkCloses) {
    std::vector<qel::test::WirePacket> got;
    serve([&](TestPeer& peer) {
        ASSERT_TRUE(peer.link(receivePort_, kConnectionId));
        for (int i = 0; i < 3; ++i) {
            auto packet = peer.readPacket();
            ASSERT_TRUE(packet);
            got.push_back(*packet);
        }
        // Reply 1 with id 42, a reply with id 0 and one with a negative id.
        ASSERT_TRUE(peer.sendBytes(encode(kConnectionId, 2, 1, le(42, 8))));
        ASSERT_TRUE(peer.sendBytes(encode(kConnectionId, 3, 1, le(0, 8))));
        ASSERT_TRUE(
            peer.sendBytes(encode(kConnectionId, 4, 1, le(static_cast<std::uint64_t>(-5), 8))));
    });
    mng().sendStartRequest();
    mng().sendPostRequest("hello", 7);
    mng().sendPostRequest(std::string(300, 'm'), -1);
    EXPECT_EQ(mng().pending(), 3);
    ASSERT_TRUE(until([&] { return mng().pending() == 0 && !mng().isOpened(); }));
    server_.join();
    EXPECT_EQ(mng().lastId(), 42) << "ids of 0 and below leave it";
    EXPECT_EQ(mng().pending(), 0);
    EXPECT_EQ(client_.state(), qel::SysSocketClient::kIdle);
    EXPECT_TRUE(peer_.inClosed());
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].command, 1);
    EXPECT_EQ(got[0].connectionId, kConnectionId);
    EXPECT_TRUE(got[0].payload.empty());
    EXPECT_EQ(got[1].command, 2);
    EXPECT_EQ(std::string(got[1].payload.begin(), got[1].payload.end()),
              text("hello") + le(7, 4) + text("ja"));
    // The message is cut so that it and LOCALE take 248 bytes.
    EXPECT_EQ(std::string(got[2].payload.begin(), got[2].payload.end()),
              text(std::string(246, 'm')) + le(0xFFFFFFFFu, 4) + text("ja"));
}

TEST_F(NetRequests, APollEveryFiveClockMinutes) {
    NETWORK_REQUEST_SPAN = 5;
    TaskNetRequest request;
    ASSERT_TRUE(request.init());
    EXPECT_EQ(mng().queued(), 1u) << "the start request";
    clock_.advanceMs(299 * 1000);
    request.update();
    EXPECT_EQ(mng().queued(), 1u);
    clock_.advanceMs(1000);
    request.update();
    EXPECT_EQ(mng().queued(), 2u) << "a poll after 300 seconds";
    request.update();
    EXPECT_EQ(mng().queued(), 2u);
    EXPECT_EQ(mng().pending(), 2);
    EXPECT_FALSE(mng().isOpened()) << "queued requests alone connect nothing";
}

TEST_F(NetRequests, IdleLinksCloseAndAFailedConnectIsRetried) {
    // Nobody listens on this port: the connect fails and the queued
    // request is dropped.
    client_.setServer("127.0.0.1", qel::test::freePort(), receivePort_);
    mng().sendPollRequest();
    ASSERT_TRUE(until([&] { return mng().queued() == 0; }));
    EXPECT_EQ(mng().pending(), 0);
    EXPECT_TRUE(mng().isOpened());
    clock_.advanceMs(30 * 1000);
    frame();
    EXPECT_FALSE(mng().isOpened());
    EXPECT_EQ(client_.state(), qel::SysSocketClient::kIdle) << "the failed client is closed";

    // The retry reaches the server; with no reply it closes after 30 s.
    client_.setServer("127.0.0.1", peer_.port(), receivePort_);
    serve([&](TestPeer& peer) {
        ASSERT_TRUE(peer.link(receivePort_, kConnectionId));
        auto poll = peer.readPacket();
        ASSERT_TRUE(poll);
        EXPECT_EQ(poll->command, 3);
        EXPECT_EQ(std::string(poll->payload.begin(), poll->payload.end()), le(0, 8));
    });
    mng().sendPollRequest();
    ASSERT_TRUE(until([&] { return mng().queued() == 0; }));
    server_.join();
    clock_.advanceMs(29 * 1000);
    frame();
    EXPECT_TRUE(mng().isOpened());
    clock_.advanceMs(1000);
    frame();
    EXPECT_FALSE(mng().isOpened());
    EXPECT_EQ(mng().pending(), 0);
    EXPECT_EQ(client_.state(), qel::SysSocketClient::kIdle);
}

TEST_F(NetRequests, ALinkThatFailsWaitingForTheServerIsRetriedLikeAFailedConnect) {
    // The server connects back and then says nothing: past the link wait
    // the request is dropped, and 30 s after the connect the next request
    // connects afresh, here to a server that answers.
    NETWORK_LINK_WAIT = 1;
    serve([&](TestPeer& peer) {
        ASSERT_TRUE(peer.acceptClient() && peer.connectBack(receivePort_));
    });
    mng().sendPollRequest();
    ASSERT_TRUE(until([&] { return mng().queued() == 0; }));
    server_.join();
    EXPECT_EQ(client_.state(), qel::SysSocketClient::kFailed);
    EXPECT_EQ(mng().pending(), 0);
    clock_.advanceMs(30 * 1000);
    frame();
    EXPECT_FALSE(mng().isOpened());
    peer_.closeIn();
    peer_.closeOut();

    // Taken at the next connect: the usual wait, as a loaded machine is slow.
    NETWORK_LINK_WAIT = 10;
    serve([&](TestPeer& peer) {
        ASSERT_TRUE(peer.link(receivePort_, kConnectionId));
        auto poll = peer.readPacket();
        ASSERT_TRUE(poll);
        EXPECT_EQ(poll->connectionId, kConnectionId);
        ASSERT_TRUE(peer.sendBytes(encode(kConnectionId, 2, 3, messages(5, 1, {"again"}))));
    });
    mng().sendPollRequest();
    ASSERT_TRUE(until([&] { return mng().pending() == 0 && !mng().isOpened(); }));
    EXPECT_EQ(mng().lastId(), 5);
    ASSERT_EQ(NetworkTextBuffer::instance().texts().size(), 1u);
    EXPECT_EQ(NetworkTextBuffer::instance().texts()[0], "again");
}

TEST_F(NetRequests, RepliesThatLieAboutTheirSizeAreDroppedWhole) {
    serve([&](TestPeer& peer) {
        ASSERT_TRUE(peer.link(receivePort_, kConnectionId));
        ASSERT_TRUE(peer.readPacket());
        const std::string lies[] = {
            messages(50, 2, {"one"}),                // count past the payload
            messages(51, 1, {"two"}).substr(0, 16),  // a text length past it
            le(52, 4),                               // a short body
            messages(53, 0xFFFFFFFFu, {"x"}),        // a huge count
        };
        std::uint32_t sequence = 2;
        for (const std::string& lie : lies)
            ASSERT_TRUE(peer.sendBytes(encode(kConnectionId, sequence++, 3, lie)));
        ASSERT_TRUE(peer.sendBytes(
            encode(kConnectionId, sequence, 3, messages(60, 2, {std::string(300, 't'), "fine"}))));
    });
    mng().sendPollRequest();
    ASSERT_TRUE(until([&] { return mng().pending() == 0 && !mng().isOpened(); }));
    server_.join();
    EXPECT_EQ(mng().lastId(), 60);
    ASSERT_EQ(NetworkTextBuffer::instance().texts().size(), 2u) << "only the true reply's texts";
    EXPECT_EQ(NetworkTextBuffer::instance().texts()[0], std::string(259, 't'));
    EXPECT_EQ(NetworkTextBuffer::instance().texts()[1], "fine");
}

TEST_F(NetRequests, RepliesOutsideAnOpenLinkAndTheTextBuffer) {
    // Handed in directly: not opened, so neither pending nor the id moves,
    // but the texts still arrive; a count of 0 adds nothing.
    mng().sendStartRequest();
    qel::RecvPacket reply(encode(kConnectionId, 2, 3, messages(9, 1, {"hi"})));
    reply.setReadPosition(12);
    mng().onReplyMessages(reply);
    qel::RecvPacket none(encode(kConnectionId, 3, 3, messages(10, 0, {})));
    none.setReadPosition(12);
    mng().onReplyMessages(none);
    EXPECT_EQ(mng().pending(), 1);
    EXPECT_EQ(mng().lastId(), 0);
    ASSERT_EQ(NetworkTextBuffer::instance().texts().size(), 1u);

    // A two-byte character that would straddle the cut is left out; the
    // buffer keeps the newest 256 texts.
    NetworkTextBuffer& buffer = NetworkTextBuffer::instance();
    buffer.clear();
    buffer.add(std::string(258, 'a') + "\x82\xA0");
    EXPECT_EQ(buffer.texts().back().size(), 258u);
    for (int i = 0; i < 300; ++i) buffer.add(std::to_string(i));
    EXPECT_EQ(buffer.texts().size(), 256u);
    EXPECT_EQ(buffer.texts().front(), "44");
    buffer.flush();
    EXPECT_TRUE(buffer.texts().empty());

    // With the network off a script's post queues nothing.
    mng().stop();
    EXPECT_EQ(mng().pending(), 0);
    NETWORK_ENABLE = false;
    C_SendNetworkMessage("x", 1);
    EXPECT_EQ(mng().queued(), 0u);
    NETWORK_ENABLE = true;
    C_SendNetworkMessage("x", 1);
    EXPECT_EQ(mng().queued(), 1u);
}

}  // namespace
