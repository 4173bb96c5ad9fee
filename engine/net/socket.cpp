#include "engine/net/socket.h"

namespace qel {

Socket::Socket(SocketApi& api, SocketApi::Handle handle, std::uint32_t address, std::uint16_t port)
    : api_(api), handle_(handle), address_(address), port_(port) {}

Socket::~Socket() {
    close();
}

void Socket::attach(SocketApi::Handle handle, std::uint32_t address, std::uint16_t port) {
    close();
    handle_ = handle;
    address_ = address;
    port_ = port;
}

bool Socket::close() {
    if (handle_ == SocketApi::kNone) return false;
    api_.close(handle_);
    handle_ = SocketApi::kNone;
    return true;
}

}  // namespace qel
