// What the network transport needs from the operating system's sockets, in
// the engine's own terms: IPv4 stream sockets that never block the caller
// except inside wait, and wakers that end a wait from another thread.
// platform/net implements it over POSIX; only platform/main installs it.
//
// Handles are opaque; kNone stands for no socket. Every socket a listener
// or a connect gives is non-blocking, so send, receive and accept answer at
// once and a thread waits only in wait, where a waker can interrupt it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel {

class SocketApi {
public:
    using Handle = std::int64_t;
    static constexpr Handle kNone = -1;
    // Results of send and receive besides a byte count.
    static constexpr long kWouldBlock = -2;
    static constexpr long kFailed = -1;
    enum class Wait : int { Timeout, Ready, Woken, Failed };

    virtual ~SocketApi() = default;

    // The IPv4 address (network byte order) of a dotted address, else the
    // first address a name lookup gives; 0 when there is none.
    virtual std::uint32_t resolve(const char* host) = 0;
    // Listens on `port` of every local address; a port still held by a
    // closed connection (TIME_WAIT) is taken all the same.
    virtual Handle listen(std::uint16_t port, int backlog) = 0;
    // Starts connecting to `address` (network byte order); the connect is
    // done once the socket is ready for writing, and finishConnect tells
    // whether it succeeded.
    virtual Handle startConnect(std::uint32_t address, std::uint16_t port) = 0;
    virtual bool finishConnect(Handle socket) = 0;
    // A waiting connection of a listener; kNone when there is none, and
    // kAcceptFailed when the listener cannot accept any (out of handles, say).
    static constexpr Handle kAcceptFailed = -2;
    virtual Handle accept(Handle listener) = 0;
    // Bytes taken, kWouldBlock or kFailed. A closed peer is kFailed, never a signal.
    virtual long send(Handle socket, const void* data, std::size_t size) = 0;
    // Bytes read, 0 when the peer closed, kWouldBlock or kFailed.
    virtual long receive(Handle socket, void* data, std::size_t size) = 0;
    virtual void close(Handle socket) = 0;

    // A waker ends the wait of whoever waits on it; a wake given while
    // nobody waits ends the next wait.
    virtual Handle createWaker() = 0;
    virtual void wake(Handle waker) = 0;
    virtual void destroyWaker(Handle waker) = 0;
    // Waits until `socket` (kNone: no socket) is ready for reading, or for
    // writing with `forWrite`, or `waker` (kNone: none) is woken, or
    // `timeoutMs` passes (negative: no limit). Woken takes the wake; Ready
    // also covers a socket in error, which its next call then reports.
    virtual Wait wait(Handle socket, bool forWrite, Handle waker, int timeoutMs) = 0;
};

}  // namespace qel
