// The socket client against a message server played by the test: real
// sockets on 127.0.0.1, the server side on its own thread, the game thread
// (this one) polling with deadlines. Every server wait is bounded, so a
// client that hangs fails here instead of hanging the run.
#include "engine/net/sys_socket_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/thread.h"
#include "engine/net/cmd_receiver.h"
#include "engine/net/recv_packet.h"
#include "engine/net/send_packet.h"
#include "platform/net/posix_socket_api.h"
#include "tests/engine/net/test_peer.h"

namespace qel {
namespace {

using test::encode;
using test::TestPeer;

constexpr std::uint32_t kConnectionId = 0x01020304;
constexpr std::uint16_t kRecord = 2;    // handler: keeps the payload
constexpr std::uint16_t kReadPast = 3;  // handler: reads beyond the payload
constexpr std::uint16_t kEnd = 4;       // handler: marks the end of a case
constexpr std::uint16_t kUnhandled = 6;

struct Seen {
    std::vector<std::string> payloads;
    std::vector<std::size_t> readPositions;
    bool readPastGaveZero = false;
    bool readPastMarked = false;
    bool ended = false;
    bool lengthsMatch = true;
} seen;

std::string payloadOf(const RecvPacket& p) {
    const auto& b = p.bytes();
    return std::string(b.begin() + 12, b.end());
}

void installHandlers(SysSocketClient& client) {
    static bool installed = false;
    if (installed) return;
    installed = true;
    client.addHandler(kRecord, [](RecvPacket& p) {
        seen.readPositions.push_back(p.readPosition());
        seen.payloads.push_back(payloadOf(p));
        seen.lengthsMatch = seen.lengthsMatch && p.payloadLength() == p.bytes().size() - 12;
    });
    client.addHandler(kReadPast, [](RecvPacket& p) {
        const std::uint32_t a = p.readU32();
        const std::string text = p.readText();
        seen.readPastGaveZero = a == 0 && text.empty() && p.readI64() == 0;
        seen.readPastMarked = p.overrun();
    });
    client.addHandler(kEnd, [](RecvPacket&) { seen.ended = true; });
}

// Polls like the game thread: update each round, until `done` or 10 s.
bool until(SysSocketClient& client, const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        client.update();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class SocketClient : public ::testing::Test {
protected:
    void SetUp() override {
        seen = Seen{};
        client_.setSocketApi(&PosixSocketApi::instance());
        installHandlers(client_);
        receivePort_ = test::freePort();
        client_.setServer("127.0.0.1", peer_.port(), receivePort_);
        detachedBefore_ = Thread::detachedCount();
    }
    void TearDown() override {
        client_.term();
        if (server_.joinable()) server_.join();
        peer_.closeIn();
        peer_.closeOut();
        EXPECT_EQ(client_.state(), SysSocketClient::kIdle);
        EXPECT_EQ(Thread::detachedCount(), detachedBefore_);
    }

    // Runs the server's part on its own thread.
    void serve(std::function<void(TestPeer&)> script) {
        server_ = std::thread([this, script = std::move(script)] { script(peer_); });
    }
    void finishServer() {
        if (server_.joinable()) server_.join();
    }
    // Connects and waits for state 3 with the server linking back.
    void connectLinked(std::function<void(TestPeer&)> then = {}) {
        serve([this, then](TestPeer& peer) {
            ASSERT_TRUE(peer.link(receivePort_, kConnectionId));
            if (then) then(peer);
        });
        ASSERT_TRUE(client_.connect());
        ASSERT_TRUE(until(client_, [&] { return client_.state() == SysSocketClient::kConnected; }));
    }

    SysSocketClient& client_ = SysSocketClient::instance();
    TestPeer peer_;
    std::uint16_t receivePort_ = 0;
    std::thread server_;
    int detachedBefore_ = 0;
};

// What the server sends after the first packet, and what the handlers must see.
struct ReceiveCase {
    const char* name;
    std::function<void(TestPeer&)> send;
    std::vector<std::string> expected;
    bool linkEnds;  // the server closes: wait for the link to end, not for kEnd
};

std::vector<unsigned char> concat(std::vector<std::vector<unsigned char>> parts) {
    std::vector<unsigned char> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(SocketClient, ReceivedBytesBecomeWholePacketsOnly) {
    const std::string big(65535, 'z');
    const ReceiveCase cases[] = {
        {"two packets in one send",
         [](TestPeer& p) {
             p.sendBytes(concat({encode(kConnectionId, 2, kRecord, "one"),
                                 encode(kConnectionId, 3, kRecord, "two"),
                                 encode(kConnectionId, 4, kEnd, "")}));
         },
         {"one", "two"},
         false},
        {"byte by byte",
         [](TestPeer& p) {
             for (unsigned char b : encode(kConnectionId, 2, kRecord, "slow")) p.sendBytes({b});
             p.sendBytes(encode(kConnectionId, 3, kEnd, ""));
         },
         {"slow"},
         false},
        {"length 65535 whole",
         [&](TestPeer& p) {
             p.sendBytes(encode(kConnectionId, 2, kRecord, big));
             p.sendBytes(encode(kConnectionId, 3, kEnd, ""));
         },
         {big},
         false},
        {"length 65535 then a close",
         [](TestPeer& p) {
             p.sendBytes(encode(kConnectionId, 2, kRecord, std::string(100, 'x'), 65535));
             p.closeOut();
         },
         {},
         true},
        {"header cut short then a close",
         [](TestPeer& p) {
             auto bytes = encode(kConnectionId, 2, kRecord, "abc");
             bytes.resize(7);
             p.sendBytes(bytes);
             p.closeOut();
         },
         {},
         true},
        {"unhandled command dropped",
         [](TestPeer& p) {
             p.sendBytes(concat({encode(kConnectionId, 2, kUnhandled, "no"),
                                 encode(kConnectionId, 3, kRecord, "yes"),
                                 encode(kConnectionId, 4, kEnd, "")}));
         },
         {"yes"},
         false},
    };
    for (const ReceiveCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        connectLinked(c.send);
        EXPECT_EQ(client_.connectionId(), kConnectionId);
        if (c.linkEnds) {
            ASSERT_TRUE(until(client_, [&] { return !client_.isReceiving(); }));
            client_.update();
            EXPECT_EQ(client_.state(), SysSocketClient::kConnected);
        } else {
            ASSERT_TRUE(until(client_, [&] { return seen.ended; }));
        }
        // The first packet only carried the id: no handler saw it.
        EXPECT_EQ(seen.payloads, c.expected);
        for (std::size_t pos : seen.readPositions) EXPECT_EQ(pos, 12u);
        TearDown();
    }
}

TEST_F(SocketClient, HandlerReadingPastThePayloadGetsZerosAndAMark) {
    connectLinked([](TestPeer& p) {
        p.sendBytes(concat(
            {encode(kConnectionId, 2, kReadPast, "ab"), encode(kConnectionId, 3, kEnd, "")}));
    });
    ASSERT_TRUE(until(client_, [&] { return seen.ended; }));
    EXPECT_TRUE(seen.readPastGaveZero);
    EXPECT_TRUE(seen.readPastMarked);
}

TEST_F(SocketClient, RandomBytesDispatchOnlyConsistentPackets) {
    connectLinked([](TestPeer& p) {
        std::mt19937 rng(1234);
        std::vector<unsigned char> noise(200000);
        for (auto& b : noise) b = static_cast<unsigned char>(rng());
        // Small lengths and a handled command now and then, so that many
        // whole packets form and some reach a handler.
        for (std::size_t i = 11; i < noise.size(); i += 97) noise[i] = 0;
        for (std::size_t i = 8; i < noise.size(); i += 89) noise[i] = kRecord;
        for (std::size_t i = 9; i < noise.size(); i += 89) noise[i] = 0;
        p.sendBytes(noise);
        p.closeOut();
    });
    ASSERT_TRUE(until(client_, [&] { return !client_.isReceiving(); }));
    client_.update();
    EXPECT_EQ(client_.state(), SysSocketClient::kConnected);
    EXPECT_TRUE(seen.lengthsMatch);
}

TEST_F(SocketClient, FloodClosesTheLinkWithABoundedQueue) {
    // The flood starts once the first packet is taken, so the bound is the
    // flood's alone.
    std::promise<void> linked;
    connectLinked([&](TestPeer& p) {
        linked.get_future().wait_for(std::chrono::seconds(10));
        std::vector<unsigned char> flood;
        for (int i = 0; i < 3000; ++i) {
            const auto one = encode(kConnectionId, 2 + i, kUnhandled, "");
            flood.insert(flood.end(), one.begin(), one.end());
        }
        p.sendBytes(flood);
    });
    linked.set_value();
    // No dispatch meanwhile: the game is not taking packets.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (client_.isReceiving() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(client_.isReceiving());
    std::size_t queued = 0;
    while (RecvPacket* p = client_.popPacket()) {
        ++queued;
        delete p;
    }
    EXPECT_EQ(queued, CmdReceiver::kMaxQueuedPackets);
    EXPECT_EQ(client_.state(), SysSocketClient::kConnected);
}

TEST_F(SocketClient, SentPacketsCarryIdSequenceAndLength) {
    SendPacket* early = client_.createPacket(kRecord, 8);
    EXPECT_EQ(early->connectionId(), 0u);
    EXPECT_FALSE(client_.send(early));  // not connected: it stays ours
    delete early;

    std::promise<std::vector<test::WirePacket>> got;
    connectLinked([&](TestPeer& p) {
        std::vector<test::WirePacket> packets;
        for (int i = 0; i < 3; ++i) {
            if (auto one = p.readPacket()) packets.push_back(*one);
        }
        packets.back().payload.clear();
        got.set_value(packets);
        EXPECT_TRUE(p.inClosed());
    });
    SendPacket* first = client_.createPacket(kRecord, 8);
    EXPECT_TRUE(first->writeI32(-2));
    EXPECT_TRUE(first->writeU16(7));
    EXPECT_FALSE(first->writeI32(1));  // past the capacity: refused whole
    ASSERT_TRUE(client_.send(first));
    SendPacket* second = client_.createPacket(kRecord, 300);
    ASSERT_TRUE(second->writeText("hello"));
    ASSERT_TRUE(client_.send(second));
    EXPECT_TRUE(client_.disconnect());
    EXPECT_EQ(client_.state(), SysSocketClient::kIdle);
    EXPECT_FALSE(client_.disconnect());

    const auto packets = got.get_future().get();
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[0].connectionId, kConnectionId);
    EXPECT_EQ(packets[0].sequence, 1u);
    EXPECT_EQ(packets[0].payload, (std::vector<unsigned char>{0xFE, 0xFF, 0xFF, 0xFF, 7, 0}));
    EXPECT_EQ(packets[1].sequence, 2u);
    EXPECT_EQ(packets[1].payload, (std::vector<unsigned char>{5, 0, 'h', 'e', 'l', 'l', 'o'}));
    // Exactly one disconnect notice, empty, numbered next.
    EXPECT_EQ(packets[2].command, 0xFFFF);
    EXPECT_EQ(packets[2].sequence, 3u);
}

TEST_F(SocketClient, SlowReaderGetsA60KPacketWhole) {
    std::string body(60000, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7);
    std::promise<std::optional<test::WirePacket>> got;
    connectLinked([&](TestPeer& p) { got.set_value(p.readPacket(512)); });
    SendPacket* packet = client_.createPacket(kRecord, body.size());
    ASSERT_TRUE(packet->writeBytes(body.data(), body.size()));
    ASSERT_TRUE(client_.send(packet));
    const auto received = got.get_future().get();
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(std::string(received->payload.begin(), received->payload.end()), body);
}

TEST_F(SocketClient, SendsAfterThePeerClosedAreRefused) {
    connectLinked([](TestPeer& p) { p.closeIn(); });
    finishServer();
    bool refused = false;
    ASSERT_TRUE(until(client_, [&] {
        SendPacket* packet = client_.createPacket(kRecord, 1000);
        packet->writeBytes(std::string(1000, 'q').data(), 1000);
        refused = !client_.send(packet);
        if (refused) delete packet;
        return refused;
    }));
    EXPECT_EQ(client_.state(), SysSocketClient::kConnected);
}

TEST_F(SocketClient, DroppedReceiveLinkKeepsSending) {
    std::promise<bool> got;
    std::promise<void> dropped;
    connectLinked([&](TestPeer& p) {
        p.closeOut();
        dropped.set_value();
        auto packet = p.readPacket();
        got.set_value(packet && packet->command == kRecord);
    });
    dropped.get_future().wait();
    ASSERT_TRUE(until(client_, [&] { return !client_.isReceiving(); }));
    EXPECT_EQ(client_.state(), SysSocketClient::kConnected);
    ASSERT_TRUE(client_.send(client_.createPacket(kRecord, 0)));
    EXPECT_TRUE(got.get_future().get());
    EXPECT_TRUE(client_.disconnect());
}

TEST_F(SocketClient, RefusedConnectFailsUntilTerm) {
    client_.setServer("127.0.0.1", test::freePort(), receivePort_);
    ASSERT_TRUE(client_.connect());
    ASSERT_TRUE(until(client_, [&] { return client_.state() == SysSocketClient::kFailed; }));
    EXPECT_FALSE(client_.connect());
    EXPECT_FALSE(client_.disconnect());
    EXPECT_EQ(client_.state(), SysSocketClient::kFailed);
}

// The OS's sockets, except that the listener cannot accept (out of handles).
class NoAcceptApi : public PosixSocketApi {
public:
    Handle accept(Handle) override { return kAcceptFailed; }
};

TEST_F(SocketClient, AListenerThatCannotAcceptFailsInsteadOfSpinning) {
    NoAcceptApi api;
    client_.setSocketApi(&api);
    serve([this](TestPeer& p) { ASSERT_TRUE(p.acceptClient() && p.connectBack(receivePort_)); });
    ASSERT_TRUE(client_.connect());
    EXPECT_TRUE(until(client_, [&] { return client_.state() == SysSocketClient::kFailed; }));
    finishServer();
    client_.term();
    client_.setSocketApi(&PosixSocketApi::instance());
}

TEST_F(SocketClient, UnresolvedHostFails) {
    client_.setServer(nullptr, peer_.port(), receivePort_);
    EXPECT_EQ(client_.serverAddress(), 0u);
    ASSERT_TRUE(client_.connect());
    ASSERT_TRUE(until(client_, [&] { return client_.state() == SysSocketClient::kFailed; }));
}

TEST_F(SocketClient, SilentServerNeverHoldsTheGameThread) {
    // The server accepts but never connects back until the game thread has
    // made its calls: a call that waited on the server would never return.
    std::promise<void> gameDone;
    std::atomic<bool> released{false};
    serve([&](TestPeer& p) {
        ASSERT_TRUE(p.acceptClient());
        released =
            gameDone.get_future().wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    });
    ASSERT_TRUE(client_.connect());
    for (int i = 0; i < 1000; ++i) {
        client_.update();
        EXPECT_FALSE(client_.connect());
        EXPECT_EQ(client_.popPacket(), nullptr);
        SendPacket* packet = client_.createPacket(kRecord, 0);
        EXPECT_FALSE(client_.send(packet));
        delete packet;
        EXPECT_FALSE(client_.disconnect());
    }
    gameDone.set_value();
    finishServer();
    EXPECT_TRUE(released);
    EXPECT_EQ(client_.state(), SysSocketClient::kConnecting);
    // No connect-back ever: close ends the waiting connection thread.
    client_.close();
    EXPECT_EQ(client_.state(), SysSocketClient::kIdle);
}

// A server that gives no connection id within the link wait fails the link
// as a refused connect does; closed, the client then links to a good
// server on the same ports.
TEST_F(SocketClient, AServerThatGivesNoIdInTimeFailsTheLink) {
    const struct {
        const char* name;
        std::function<void(TestPeer&)> serve;
    } kServers[] = {
        {"connects back and closes",
         [this](TestPeer& p) {
             ASSERT_TRUE(p.acceptClient() && p.connectBack(receivePort_));
             p.closeOut();
         }},
        {"connects back and stays silent",
         [this](TestPeer& p) { ASSERT_TRUE(p.acceptClient() && p.connectBack(receivePort_)); }},
        {"never connects back", [](TestPeer& p) { ASSERT_TRUE(p.acceptClient()); }},
    };
    for (const auto& server : kServers) {
        SCOPED_TRACE(server.name);
        client_.setLinkWait(200);
        serve(server.serve);
        ASSERT_TRUE(client_.connect());
        ASSERT_TRUE(until(client_, [&] { return client_.state() == SysSocketClient::kFailed; }));
        finishServer();
        EXPECT_FALSE(client_.connect()) << "failed until closed";
        client_.close();
        peer_.closeIn();
        peer_.closeOut();
        // The good server gets the usual wait: a loaded machine is slow.
        client_.setLinkWait(SysSocketClient::kLinkWaitMs);
        connectLinked();
        EXPECT_EQ(client_.connectionId(), kConnectionId);
        client_.close();
        finishServer();
        peer_.closeIn();
        peer_.closeOut();
    }
    // The first packet and then a close: the link stands, however fast the
    // close follows.
    for (int i = 0; i < 20; ++i) {
        connectLinked([](TestPeer& p) { p.closeOut(); });
        client_.close();
        finishServer();
        peer_.closeIn();
    }
}

TEST_F(SocketClient, TwoCyclesOnTheSamePorts) {
    for (int cycle = 0; cycle < 2; ++cycle) {
        SCOPED_TRACE(cycle);
        seen = Seen{};
        connectLinked([](TestPeer& p) {
            p.sendBytes(concat(
                {encode(kConnectionId, 2, kRecord, "again"), encode(kConnectionId, 3, kEnd, "")}));
            auto notice = p.readPacket();
            EXPECT_TRUE(notice && notice->command == 0xFFFF && notice->sequence == 1);
            EXPECT_TRUE(p.inClosed());
            p.closeIn();
            p.closeOut();
        });
        ASSERT_TRUE(until(client_, [&] { return seen.ended; }));
        EXPECT_EQ(seen.payloads, std::vector<std::string>{"again"});
        EXPECT_TRUE(client_.disconnect());
        finishServer();
    }
}

}  // namespace
}  // namespace qel
