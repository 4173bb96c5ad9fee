// The message server's side of the link, for tests: plain blocking POSIX
// sockets on 127.0.0.1 whose every wait is bounded, so a fault shows as a
// failed expectation instead of a hung test.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace qel::test {

inline constexpr int kPeerWaitMs = 10000;

// A port nobody listens on now: bound to 0, read back, closed.
inline std::uint16_t freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof sa;
    ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &size);
    ::close(fd);
    return ntohs(sa.sin_port);
}

struct WirePacket {
    std::uint32_t connectionId = 0;
    std::uint32_t sequence = 0;
    std::uint16_t command = 0;
    std::vector<unsigned char> payload;
};

inline std::vector<unsigned char> encode(std::uint32_t connectionId, std::uint32_t sequence,
                                         std::uint16_t command, const std::string& payload,
                                         std::size_t lengthField = std::string::npos) {
    const std::size_t length = lengthField == std::string::npos ? payload.size() : lengthField;
    std::vector<unsigned char> out(12);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(connectionId >> (8 * i));
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<unsigned char>(sequence >> (8 * i));
    out[8] = static_cast<unsigned char>(command);
    out[9] = static_cast<unsigned char>(command >> 8);
    out[10] = static_cast<unsigned char>(length);
    out[11] = static_cast<unsigned char>(length >> 8);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

class TestPeer {
public:
    TestPeer() {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof sa;
        ::bind(listen_, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        ::listen(listen_, 4);
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&sa), &size);
        port_ = ntohs(sa.sin_port);
    }
    ~TestPeer() {
        closeIn();
        closeOut();
        ::close(listen_);
    }
    TestPeer(const TestPeer&) = delete;
    TestPeer& operator=(const TestPeer&) = delete;

    // The port the client sends to.
    std::uint16_t port() const { return port_; }

    // Accepts the client's outgoing connection.
    bool acceptClient() {
        if (!ready(listen_, POLLIN)) return false;
        in_ = ::accept(listen_, nullptr, nullptr);
        return in_ >= 0;
    }
    // Connects back to the client's receive port.
    bool connectBack(std::uint16_t port) {
        out_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(port);
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return ::connect(out_, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    }
    // Accept, connect back, and give the client its connection id.
    bool link(std::uint16_t receivePort, std::uint32_t connectionId) {
        return acceptClient() && connectBack(receivePort) &&
               sendBytes(encode(connectionId, 1, 1, ""));
    }

    bool sendBytes(const std::vector<unsigned char>& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(out_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }
    // One packet from the client's outgoing connection, read `chunk` bytes
    // at a time; none when the connection closed or nothing came in time.
    std::optional<WirePacket> readPacket(std::size_t chunk = 65536) {
        std::vector<unsigned char> header = readExactly(12, chunk);
        if (header.size() != 12) return std::nullopt;
        WirePacket p;
        for (int i = 3; i >= 0; --i) p.connectionId = (p.connectionId << 8) | header[i];
        for (int i = 7; i >= 4; --i) p.sequence = (p.sequence << 8) | header[i];
        p.command = static_cast<std::uint16_t>(header[8] | header[9] << 8);
        const std::size_t length = header[10] | header[11] << 8;
        p.payload = readExactly(length, chunk);
        if (p.payload.size() != length) return std::nullopt;
        return p;
    }
    // True when the client's outgoing connection has closed (all read).
    bool inClosed() {
        char c;
        while (ready(in_, POLLIN)) {
            const ssize_t n = ::recv(in_, &c, 1, 0);
            if (n <= 0) return true;
        }
        return false;
    }
    void closeIn() {
        if (in_ >= 0) ::close(in_);
        in_ = -1;
    }
    void closeOut() {
        if (out_ >= 0) ::close(out_);
        out_ = -1;
    }
    int outFd() const { return out_; }

private:
    static bool ready(int fd, short events) {
        pollfd p{fd, events, 0};
        return ::poll(&p, 1, kPeerWaitMs) == 1;
    }
    std::vector<unsigned char> readExactly(std::size_t size, std::size_t chunk) {
        std::vector<unsigned char> out;
        unsigned char buffer[65536];
        while (out.size() < size && ready(in_, POLLIN)) {
            const std::size_t want = std::min({size - out.size(), chunk, sizeof buffer});
            const ssize_t n = ::recv(in_, buffer, want, 0);
            if (n <= 0) break;
            out.insert(out.end(), buffer, buffer + n);
        }
        return out;
    }

    int listen_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::uint16_t port_ = 0;
};

}  // namespace qel::test
