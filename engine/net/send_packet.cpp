#include "engine/net/send_packet.h"

#include <algorithm>
#include <cstring>

#include "engine/net/packet_header.h"

namespace qel {

SendPacket::SendPacket(std::uint32_t connectionId, std::uint16_t command, std::size_t capacity)
    : buffer_(packet::kHeaderSize + std::min(capacity, packet::kMaxPayload)),
      writePos_(packet::kHeaderSize) {
    packet::store(&buffer_[packet::kConnectionIdOffset], connectionId, 4);
    packet::store(&buffer_[packet::kCommandOffset], command, 2);
}

bool SendPacket::writeBytes(const void* data, std::size_t size) {
    if (size > buffer_.size() - writePos_) return false;
    if (size != 0) std::memcpy(&buffer_[writePos_], data, size);
    writePos_ += size;
    return true;
}

bool SendPacket::writeLittle(std::uint64_t v, std::size_t n) {
    unsigned char bytes[8];
    packet::store(bytes, v, n);
    return writeBytes(bytes, n);
}

bool SendPacket::writeText(std::string_view text) {
    if (text.size() > packet::kMaxPayload || 2 + text.size() > buffer_.size() - writePos_) {
        return false;
    }
    writeU16(static_cast<std::uint16_t>(text.size()));
    return writeBytes(text.data(), text.size());
}

void SendPacket::setConnectionId(std::uint32_t id) {
    packet::store(&buffer_[packet::kConnectionIdOffset], id, 4);
}

std::uint32_t SendPacket::connectionId() const {
    return static_cast<std::uint32_t>(packet::load(&buffer_[packet::kConnectionIdOffset], 4));
}

std::uint16_t SendPacket::command() const {
    return static_cast<std::uint16_t>(packet::load(&buffer_[packet::kCommandOffset], 2));
}

}  // namespace qel
