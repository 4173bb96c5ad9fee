#include "engine/net/recv_packet.h"

#include <cstring>
#include <utility>

#include "engine/net/packet_header.h"

namespace qel {

RecvPacket::RecvPacket(std::vector<unsigned char> bytes)
    : buffer_(std::move(bytes)), readPos_(packet::kHeaderSize) {
    if (buffer_.size() < packet::kHeaderSize) {
        buffer_.resize(packet::kHeaderSize, 0);
    }
    connectionId_ =
        static_cast<std::uint32_t>(packet::load(&buffer_[packet::kConnectionIdOffset], 4));
    sequence_ = static_cast<std::uint32_t>(packet::load(&buffer_[packet::kSequenceOffset], 4));
    command_ = static_cast<std::uint16_t>(packet::load(&buffer_[packet::kCommandOffset], 2));
    payloadLength_ = static_cast<std::uint16_t>(packet::load(&buffer_[packet::kLengthOffset], 2));
    // The payload is what the header says, never more than was received.
    const std::size_t end = packet::kHeaderSize + payloadLength_;
    if (buffer_.size() > end) buffer_.resize(end);
}

void RecvPacket::setReadPosition(std::size_t pos) {
    readPos_ = pos <= buffer_.size() ? pos : buffer_.size();
}

bool RecvPacket::readBytes(void* out, std::size_t size) {
    if (size > buffer_.size() - readPos_) {
        if (size != 0) std::memset(out, 0, size);
        readPos_ = buffer_.size();
        overrun_ = true;
        return false;
    }
    if (size != 0) std::memcpy(out, &buffer_[readPos_], size);
    readPos_ += size;
    return true;
}

bool RecvPacket::skip(std::size_t size) {
    if (size > buffer_.size() - readPos_) {
        readPos_ = buffer_.size();
        overrun_ = true;
        return false;
    }
    readPos_ += size;
    return true;
}

std::uint64_t RecvPacket::readLittle(std::size_t n) {
    unsigned char bytes[8];
    return readBytes(bytes, n) ? packet::load(bytes, n) : 0;
}

std::string RecvPacket::readText() {
    unsigned char prefix[2];
    if (!readBytes(prefix, 2)) return {};
    const std::size_t length = packet::load(prefix, 2);
    if (length > buffer_.size() - readPos_) {
        readPos_ = buffer_.size();
        overrun_ = true;
        return {};
    }
    std::string text(reinterpret_cast<const char*>(&buffer_[readPos_]), length);
    readPos_ += length;
    return text;
}

}  // namespace qel
