// One socket of the network transport: its handle in the engine's socket
// interface and the peer's address, closed with the object.
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/net/socket_api.h"

namespace qel {

class Socket : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(Socket, Core, Pool::General);

    explicit Socket(SocketApi& api, SocketApi::Handle handle = SocketApi::kNone,
                    std::uint32_t address = 0, std::uint16_t port = 0);
    ~Socket() override;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // Closes any handle held, then takes `handle`.
    void attach(SocketApi::Handle handle, std::uint32_t address, std::uint16_t port);
    // False when nothing was open.
    bool close();
    bool isOpen() const { return handle_ != SocketApi::kNone; }
    SocketApi::Handle handle() const { return handle_; }
    std::uint32_t address() const { return address_; }
    std::uint16_t port() const { return port_; }
    SocketApi& api() const { return api_; }

private:
    SocketApi& api_;
    SocketApi::Handle handle_;
    std::uint32_t address_;
    std::uint16_t port_;
};

}  // namespace qel
