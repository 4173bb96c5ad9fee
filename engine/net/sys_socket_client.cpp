#include "engine/net/sys_socket_client.h"

#include <algorithm>
#include <utility>

#include "engine/core/log.h"
#include "engine/core/thread.h"
#include "engine/net/cmd_receiver.h"
#include "engine/net/cmd_sender.h"
#include "engine/net/packet_header.h"
#include "engine/net/recv_packet.h"
#include "engine/net/send_packet.h"
#include "engine/net/socket.h"
#include "engine/system/sys_main.h"

namespace qel {

SysSocketClient& SysSocketClient::instance() {
    static SysSocketClient client;
    return client;
}

SysSocketClient::SysSocketClient() = default;

SysSocketClient::~SysSocketClient() {
    close();
}

void SysSocketClient::setServer(const char* host, std::uint16_t sendPort,
                                std::uint16_t receivePort) {
    if (systemIndex_ < 0) systemIndex_ = SysMain::instance().addSystem(this);
    if (state_ != kIdle) return;
    const std::uint32_t address = api_ && host ? api_->resolve(host) : 0;
    ScopedLock lock(lock_);
    if (state_ != kIdle) return;
    address_ = address;
    sendPort_ = sendPort;
    receivePort_ = receivePort;
}

std::uint32_t SysSocketClient::serverAddress() const {
    ScopedLock lock(lock_);
    return address_;
}

bool SysSocketClient::isReceiving() const {
    ScopedLock lock(lock_);
    return receiver_ && receiver_->isLinked();
}

void SysSocketClient::setLinkWait(int milliseconds) {
    linkWaitMs_ = milliseconds < 1 ? 1 : milliseconds;
}

bool SysSocketClient::connect() {
    Thread* finished = nullptr;
    {
        ScopedLock lock(lock_);
        if (state_ != kIdle || !api_) return false;
        // A connection thread that ended by itself is done with the lock.
        finished = std::exchange(connectionThread_, nullptr);
    }
    delete finished;
    // What a link that failed by itself left behind.
    close();
    ScopedLock lock(lock_);
    if (waker_ == SocketApi::kNone) waker_ = api_->createWaker();
    abort_ = false;
    connectionId_ = 0;
    state_ = kConnecting;
    connectionThread_ = new Thread(&SysSocketClient::connectEntry, this, false);
    if (!connectionThread_ || !connectionThread_->isValid() || waker_ == SocketApi::kNone) {
        delete connectionThread_;
        connectionThread_ = nullptr;
        state_ = kFailed;
    }
    return true;
}

bool SysSocketClient::disconnect() {
    if (state_ != kConnected) return false;
    close();
    return true;
}

void SysSocketClient::close() {
    Thread* thread;
    CmdSender* sender;
    CmdReceiver* receiver;
    Socket* listener;
    {
        ScopedLock lock(lock_);
        abort_ = true;
        if (sender_) {
            SendPacket* notice = createPacket(packet::kDisconnectCommand, 0);
            if (!sender_->push(notice)) delete notice;
            sender_->quit();
        }
        if (receiver_) receiver_->quit();
        if (api_ && waker_ != SocketApi::kNone) api_->wake(waker_);
        thread = std::exchange(connectionThread_, nullptr);
        sender = std::exchange(sender_, nullptr);
        receiver = std::exchange(receiver_, nullptr);
        listener = std::exchange(listener_, nullptr);
    }
    // The incoming connection closes first, then the outgoing one.
    delete receiver;
    delete sender;
    delete thread;
    delete listener;
    ScopedLock lock(lock_);
    if (api_ && waker_ != SocketApi::kNone) api_->destroyWaker(waker_);
    waker_ = SocketApi::kNone;
    connectionId_ = 0;
    state_ = kIdle;
}

SendPacket* SysSocketClient::createPacket(std::uint16_t command, std::size_t capacity) {
    return new SendPacket(connectionId_, command, capacity);
}

bool SysSocketClient::send(SendPacket* packet) {
    ScopedLock lock(lock_);
    return state_ == kConnected && sender_ && sender_->push(packet);
}

bool SysSocketClient::addHandler(std::uint16_t command, Handler handler) {
    ScopedLock lock(lock_);
    return handlers_.emplace(command, std::move(handler)).second;
}

RecvPacket* SysSocketClient::popPacket() {
    ScopedLock lock(lock_);
    return state_ == kConnected && receiver_ ? receiver_->pop() : nullptr;
}

bool SysSocketClient::update() {
    // Packets that arrive while dispatching wait for the next frame.
    for (std::size_t n = 0; n < CmdReceiver::kMaxQueuedPackets; ++n) {
        RecvPacket* packet = popPacket();
        if (!packet) break;
        Handler handler;
        {
            ScopedLock lock(lock_);
            auto it = handlers_.find(packet->command());
            if (it != handlers_.end()) handler = it->second;
        }
        // Unlocked: a handler may send, or close the link.
        if (handler) {
            packet->setReadPosition(packet::kHeaderSize);
            handler(*packet);
        }
        delete packet;
    }
    return true;
}

void SysSocketClient::connectEntry(void* self) {
    static_cast<SysSocketClient*>(self)->connectMain();
}

void SysSocketClient::connectMain() {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(linkWaitMs_.load());
    if (openLink() && acceptServer(deadline)) awaitFirstPacket(deadline);
}

namespace {

// What is left of the wait until `deadline` (0 when it has passed).
int msUntil(std::chrono::steady_clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(std::min<long long>(left.count(), 1 << 30)) : 0;
}

}  // namespace

void SysSocketClient::failLink(const char* why) {
    ScopedLock lock(lock_);
    if (abort_) return;
    state_ = kFailed;
    logMessage("network: %s", why);
}

bool SysSocketClient::openLink() {
    std::uint32_t address;
    std::uint16_t sendPort;
    std::uint16_t receivePort;
    {
        ScopedLock lock(lock_);
        address = address_;
        sendPort = sendPort_;
        receivePort = receivePort_;
    }
    auto* listener = new Socket(*api_, api_->listen(receivePort, 1), 0, receivePort);
    auto* sender = new CmdSender(*api_);
    bool ok = listener->isOpen() && sender->connect(address, sendPort, kConnectTimeoutMs, waker_);
    if (ok) {
        ScopedLock lock(lock_);
        if (!abort_) {
            listener_ = listener;
            sender_ = sender;
            return true;
        }
    } else {
        ScopedLock lock(lock_);
        if (!abort_) {
            state_ = kFailed;
            logMessage("network: cannot connect to the server (send port %u, receive port %u)",
                       sendPort, receivePort);
        }
    }
    delete sender;
    delete listener;
    return false;
}

bool SysSocketClient::acceptServer(std::chrono::steady_clock::time_point deadline) {
    // Only close takes the listener away, and it deletes it after joining
    // this thread: the handle stays good while this thread runs.
    SocketApi::Handle listening;
    {
        ScopedLock lock(lock_);
        if (abort_ || !listener_) return false;
        listening = listener_->handle();
    }
    SocketApi::Handle accepted = SocketApi::kNone;
    while (accepted == SocketApi::kNone) {
        if (abort_) return false;
        const int left = msUntil(deadline);
        if (left == 0) {
            failLink("the server did not connect back in time");
            return false;
        }
        const SocketApi::Wait waited = api_->wait(listening, false, waker_, left);
        if (waited == SocketApi::Wait::Ready) accepted = api_->accept(listening);
        if (waited == SocketApi::Wait::Failed || accepted == SocketApi::kAcceptFailed) {
            // The link is down for good, as when the connect fails: a
            // request queue waiting on a connect then drains.
            failLink("waiting for the server to connect back failed");
            return false;
        }
    }
    auto* receiver = new CmdReceiver(*api_, accepted, waker_);
    Socket* listener = nullptr;
    {
        ScopedLock lock(lock_);
        if (!abort_ && receiver->start()) {
            receiver_ = std::exchange(receiver, nullptr);
            listener = std::exchange(listener_, nullptr);
            state_ = kConnectedBack;
        } else if (!abort_) {
            state_ = kFailed;
        }
    }
    delete listener;
    if (!receiver) return true;
    delete receiver;
    return false;
}

void SysSocketClient::awaitFirstPacket(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        bool linked;
        {
            ScopedLock lock(lock_);
            if (abort_ || !receiver_) return;
            // Looked at before the queue: packets queued before the end
            // of the link are still taken.
            linked = receiver_->isLinked();
            if (RecvPacket* first = receiver_->pop()) {
                // It only carries the connection id: no handler sees it.
                connectionId_ = first->connectionId();
                state_ = kConnected;
                delete first;
                return;
            }
        }
        // The receiver wakes this wait when a packet comes or its link ends.
        if (!linked) {
            failLink("the server closed its connection before its first packet");
            return;
        }
        const int left = msUntil(deadline);
        if (left == 0) {
            failLink("the server sent nothing in time");
            return;
        }
        api_->wait(SocketApi::kNone, false, waker_, left);
    }
}

}  // namespace qel
