#include "platform/net/posix_socket_api.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qel {
namespace {

// A waker's pipe: both ends in one handle, read end low, write end high.
SocketApi::Handle packPipe(int readEnd, int writeEnd) {
    return (static_cast<SocketApi::Handle>(writeEnd) << 32) | static_cast<std::uint32_t>(readEnd);
}
int pipeReadEnd(SocketApi::Handle waker) {
    return static_cast<int>(waker & 0xFFFFFFFF);
}
int pipeWriteEnd(SocketApi::Handle waker) {
    return static_cast<int>(waker >> 32);
}

bool makeNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
           ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

int newStreamSocket() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    if (!makeNonBlocking(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

sockaddr_in ipv4(std::uint32_t address, std::uint16_t port) {
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    sa.sin_addr.s_addr = address;
    return sa;
}

bool wouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

}  // namespace

PosixSocketApi& PosixSocketApi::instance() {
    // Never destroyed: subsystems that outlive main's return still close through it.
    static PosixSocketApi* api = new PosixSocketApi;
    return *api;
}

std::uint32_t PosixSocketApi::resolve(const char* host) {
    if (!host || !*host) return 0;
    in_addr direct{};
    if (::inet_pton(AF_INET, host, &direct) == 1) return direct.s_addr;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return 0;
    std::uint32_t address = 0;
    for (addrinfo* a = found; a; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr) {
            address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
            break;
        }
    }
    ::freeaddrinfo(found);
    return address;
}

SocketApi::Handle PosixSocketApi::listen(std::uint16_t port, int backlog) {
    const int fd = newStreamSocket();
    if (fd < 0) return kNone;
    const int on = 1;
    const sockaddr_in sa = ipv4(htonl(INADDR_ANY), port);
    if (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0 ||
        ::listen(fd, backlog) != 0) {
        ::close(fd);
        return kNone;
    }
    return fd;
}

SocketApi::Handle PosixSocketApi::startConnect(std::uint32_t address, std::uint16_t port) {
    if (address == 0) return kNone;
    const int fd = newStreamSocket();
    if (fd < 0) return kNone;
    const sockaddr_in sa = ipv4(address, port);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&sa), sizeof sa) != 0 &&
        errno != EINPROGRESS) {
        ::close(fd);
        return kNone;
    }
    return fd;
}

bool PosixSocketApi::finishConnect(Handle socket) {
    int error = 0;
    socklen_t size = sizeof error;
    return ::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_ERROR, &error, &size) == 0 &&
           error == 0;
}

SocketApi::Handle PosixSocketApi::accept(Handle listener) {
    int fd;
    do {
        fd = ::accept(static_cast<int>(listener), nullptr, nullptr);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        // Gone before it was taken, or nothing there: not the listener's fault.
        const bool transient = wouldBlock(errno) || errno == ECONNABORTED || errno == EPROTO;
        return transient ? kNone : kAcceptFailed;
    }
    if (!makeNonBlocking(fd)) {
        ::close(fd);
        return kNone;
    }
    return fd;
}

long PosixSocketApi::send(Handle socket, const void* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::send(static_cast<int>(socket), data, size, MSG_NOSIGNAL);
        if (n >= 0) return static_cast<long>(n);
        if (errno == EINTR) continue;
        return wouldBlock(errno) ? kWouldBlock : kFailed;
    }
}

long PosixSocketApi::receive(Handle socket, void* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::recv(static_cast<int>(socket), data, size, 0);
        if (n >= 0) return static_cast<long>(n);
        if (errno == EINTR) continue;
        return wouldBlock(errno) ? kWouldBlock : kFailed;
    }
}

void PosixSocketApi::close(Handle socket) {
    if (socket != kNone) ::close(static_cast<int>(socket));
}

SocketApi::Handle PosixSocketApi::createWaker() {
    int ends[2];
    if (::pipe(ends) != 0) return kNone;
    if (!makeNonBlocking(ends[0]) || !makeNonBlocking(ends[1])) {
        ::close(ends[0]);
        ::close(ends[1]);
        return kNone;
    }
    return packPipe(ends[0], ends[1]);
}

void PosixSocketApi::wake(Handle waker) {
    if (waker == kNone) return;
    const char byte = 1;
    // A full pipe already holds a wake: nothing is lost when this one fails.
    while (::write(pipeWriteEnd(waker), &byte, 1) < 0 && errno == EINTR) {
    }
}

void PosixSocketApi::destroyWaker(Handle waker) {
    if (waker == kNone) return;
    ::close(pipeReadEnd(waker));
    ::close(pipeWriteEnd(waker));
}

SocketApi::Wait PosixSocketApi::wait(Handle socket, bool forWrite, Handle waker, int timeoutMs) {
    pollfd fds[2];
    nfds_t count = 0;
    int socketSlot = -1;
    int wakerSlot = -1;
    if (waker != kNone) {
        wakerSlot = static_cast<int>(count);
        fds[count++] = pollfd{pipeReadEnd(waker), POLLIN, 0};
    }
    if (socket != kNone) {
        socketSlot = static_cast<int>(count);
        fds[count++] =
            pollfd{static_cast<int>(socket), static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
    }
    int n;
    do {
        n = ::poll(fds, count, timeoutMs < 0 ? -1 : timeoutMs);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return Wait::Failed;
    if (n == 0) return Wait::Timeout;
    if (wakerSlot >= 0 && (fds[wakerSlot].revents & POLLIN)) {
        char drain[64];
        while (::read(fds[wakerSlot].fd, drain, sizeof drain) > 0) {
        }
        return Wait::Woken;
    }
    if (socketSlot >= 0 && fds[socketSlot].revents != 0) return Wait::Ready;
    return Wait::Timeout;
}

}  // namespace qel
