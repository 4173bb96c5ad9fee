// The link to the message server: the client connects to the server's send
// port and writes every packet there, and listens on a local receive port
// where the server connects back to deliver packets. A connection thread
// sets the link up, a sender and a receiver each run their own thread, and
// the game thread hands each received packet to the handler of its command
// id during update.
//
// What it keeps true: the game thread never waits on the network. The
// client lock guards the fields below and is never held across a connect,
// accept, wait, send or receive; the connection thread never deletes
// itself, it sets the state and returns, and the next connect, close or
// term cleans up after it. An error ends only its own connection.
//
// The link is up once the server has connected back and sent its first
// packet; a server that does neither within the link wait, or that closes
// its connection first, fails the link as a refused connect does.
//
// States: 0 idle, 1 connecting, 2 connected back, 3 connected, 4 failed
// (until close or term: connect refuses every state but 0).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>

#include "engine/core/critical_section.h"
#include "engine/core/sys_base.h"
#include "engine/net/socket_api.h"

namespace qel {

class CmdReceiver;
class CmdSender;
class RecvPacket;
class SendPacket;
class Socket;
class Thread;

class SysSocketClient : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysSocketClient, SysBase, Pool::General);

    enum State : int {
        kIdle = 0,
        kConnecting = 1,
        kConnectedBack = 2,
        kConnected = 3,
        kFailed = 4
    };
    using Handler = std::function<void(RecvPacket&)>;
    // How long the connect to the server may take.
    static constexpr int kConnectTimeoutMs = 5000;
    // How long the server may take to connect back and send its first
    // packet, counted from connect(), unless setLinkWait says otherwise.
    static constexpr int kLinkWaitMs = 10000;

    static SysSocketClient& instance();
    SysSocketClient();
    ~SysSocketClient() override;
    SysSocketClient(const SysSocketClient&) = delete;
    SysSocketClient& operator=(const SysSocketClient&) = delete;

    // The operating system's sockets; platform/main installs them. Without
    // them every connect fails.
    void setSocketApi(SocketApi* api) { api_ = api; }

    bool init() override { return true; }
    void term() override { close(); }
    // Hands every received packet to its command's handler (state 3 only).
    bool update() override;

    // Joins the main loop's further subsystems (once), then, in state 0
    // only, resolves `host` (a dotted address or a name; none gives address
    // 0, on which the connect fails) and keeps the ports.
    void setServer(const char* host, std::uint16_t sendPort, std::uint16_t receivePort);
    // The link wait of the connects that follow (at least 1 ms).
    void setLinkWait(int milliseconds);
    int linkWait() const { return linkWaitMs_; }
    // Starts the connection thread: false unless the state is 0.
    bool connect();
    // Closes a connected link (state 3 only).
    bool disconnect();
    // Sends the disconnect notice if it can, ends every thread and socket: state 0.
    void close();

    // A packet with the connection id known now, for `capacity` payload bytes.
    SendPacket* createPacket(std::uint16_t command, std::size_t capacity);
    // Takes the packet over in state 3 on a live link; otherwise false and
    // the packet stays with the caller.
    bool send(SendPacket* packet);
    // False when the command already has a handler.
    bool addHandler(std::uint16_t command, Handler handler);
    // The oldest received packet in state 3 (the caller deletes it), or null.
    RecvPacket* popPacket();

    int state() const { return state_; }
    // Whether the server's connection to the client is still up.
    bool isReceiving() const;
    std::uint32_t connectionId() const { return connectionId_; }
    std::uint32_t serverAddress() const;
    // The index among the main loop's further subsystems; -1 before setServer.
    int systemIndex() const { return systemIndex_; }

private:
    static void connectEntry(void* self);
    void connectMain();
    // The connection thread's steps; false when it is to end there. The
    // last two give up at `deadline`.
    bool openLink();
    bool acceptServer(std::chrono::steady_clock::time_point deadline);
    void awaitFirstPacket(std::chrono::steady_clock::time_point deadline);
    // The connection thread gives up: state 4 unless closing.
    void failLink(const char* why);

    SocketApi* api_ = nullptr;
    Thread* connectionThread_ = nullptr;
    Socket* listener_ = nullptr;
    CmdSender* sender_ = nullptr;
    CmdReceiver* receiver_ = nullptr;
    // Ends the connection thread's waits; the receiver wakes it too.
    SocketApi::Handle waker_ = SocketApi::kNone;
    std::atomic<bool> abort_{false};
    std::uint32_t address_ = 0;
    std::uint16_t sendPort_ = 0;
    std::uint16_t receivePort_ = 0;
    std::atomic<int> state_{kIdle};
    std::atomic<int> linkWaitMs_{kLinkWaitMs};
    std::atomic<std::uint32_t> connectionId_{0};
    int systemIndex_ = -1;
    std::map<std::uint16_t, Handler> handlers_;
    mutable CriticalSection lock_;
};

}  // namespace qel
