// A received packet, whole: its parsed header and a read position in its
// payload. Reads past the payload give 0 or an empty text, never bytes from
// beyond it, and mark the packet overrun so a handler can tell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/core.h"

namespace qel {

class RecvPacket : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(RecvPacket, Core, Pool::General);

    // `bytes` holds one whole packet: the header and its payload length.
    explicit RecvPacket(std::vector<unsigned char> bytes);

    std::uint32_t connectionId() const { return connectionId_; }
    std::uint32_t sequence() const { return sequence_; }
    std::uint16_t command() const { return command_; }
    std::uint16_t payloadLength() const { return payloadLength_; }
    const std::vector<unsigned char>& bytes() const { return buffer_; }

    // From the start of the packet; the payload starts at 12.
    std::size_t readPosition() const { return readPos_; }
    void setReadPosition(std::size_t pos);
    bool overrun() const { return overrun_; }

    bool readBytes(void* out, std::size_t size);
    bool skip(std::size_t size);
    std::uint8_t readU8() { return static_cast<std::uint8_t>(readLittle(1)); }
    std::uint16_t readU16() { return static_cast<std::uint16_t>(readLittle(2)); }
    std::uint32_t readU32() { return static_cast<std::uint32_t>(readLittle(4)); }
    std::int32_t readI32() { return static_cast<std::int32_t>(readU32()); }
    std::int64_t readI64() { return static_cast<std::int64_t>(readLittle(8)); }
    // A u16 byte length, then the bytes; empty when any of it is missing.
    std::string readText();

private:
    std::uint64_t readLittle(std::size_t n);

    std::vector<unsigned char> buffer_;
    std::size_t readPos_;
    std::uint32_t connectionId_ = 0;
    std::uint32_t sequence_ = 0;
    std::uint16_t command_ = 0;
    std::uint16_t payloadLength_ = 0;
    bool overrun_ = false;
};

}  // namespace qel
