// A packet being written: the header, then payload values appended in
// order. Writes past the capacity given at creation are refused whole, so
// a packet never holds half a value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/core/core.h"

namespace qel {

class SendPacket : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(SendPacket, Core, Pool::General);

    SendPacket(std::uint32_t connectionId, std::uint16_t command, std::size_t capacity);

    bool writeBytes(const void* data, std::size_t size);
    bool writeU8(std::uint8_t v) { return writeLittle(v, 1); }
    bool writeU16(std::uint16_t v) { return writeLittle(v, 2); }
    bool writeU32(std::uint32_t v) { return writeLittle(v, 4); }
    bool writeI32(std::int32_t v) { return writeLittle(static_cast<std::uint32_t>(v), 4); }
    bool writeI64(std::int64_t v) { return writeLittle(static_cast<std::uint64_t>(v), 8); }
    // A u16 byte length, then the bytes; a text longer than 65535 is refused.
    bool writeText(std::string_view text);

    void setConnectionId(std::uint32_t id);
    std::uint32_t connectionId() const;
    std::uint16_t command() const;
    // Header and payload written so far.
    std::size_t size() const { return writePos_; }
    const unsigned char* data() const { return buffer_.data(); }
    unsigned char* data() { return buffer_.data(); }
    std::size_t capacity() const { return buffer_.size(); }

private:
    bool writeLittle(std::uint64_t v, std::size_t n);

    std::vector<unsigned char> buffer_;
    std::size_t writePos_;
};

}  // namespace qel
