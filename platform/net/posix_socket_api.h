// The engine's socket interface over POSIX: IPv4 TCP sockets made
// non-blocking at birth, sends with MSG_NOSIGNAL, poll for every wait, and
// a non-blocking pipe for each waker.
#pragma once

#include "engine/net/socket_api.h"

namespace qel {

class PosixSocketApi : public SocketApi {
public:
    static PosixSocketApi& instance();

    std::uint32_t resolve(const char* host) override;
    Handle listen(std::uint16_t port, int backlog) override;
    Handle startConnect(std::uint32_t address, std::uint16_t port) override;
    bool finishConnect(Handle socket) override;
    Handle accept(Handle listener) override;
    long send(Handle socket, const void* data, std::size_t size) override;
    long receive(Handle socket, void* data, std::size_t size) override;
    void close(Handle socket) override;
    Handle createWaker() override;
    void wake(Handle waker) override;
    void destroyWaker(Handle waker) override;
    Wait wait(Handle socket, bool forWrite, Handle waker, int timeoutMs) override;
};

}  // namespace qel
