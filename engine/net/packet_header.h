// The 12-byte header every packet starts with, both ways, little-endian:
// connection id (u32), sequence number (u32), command id (u16), payload
// length (u16); the payload follows.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel::packet {

inline constexpr std::size_t kHeaderSize = 12;
inline constexpr std::size_t kMaxPayload = 0xFFFF;
inline constexpr std::size_t kMaxPacket = kHeaderSize + kMaxPayload;
inline constexpr std::size_t kConnectionIdOffset = 0;
inline constexpr std::size_t kSequenceOffset = 4;
inline constexpr std::size_t kCommandOffset = 8;
inline constexpr std::size_t kLengthOffset = 10;
// The client's disconnect notice: no payload.
inline constexpr std::uint16_t kDisconnectCommand = 0xFFFF;

// Little-endian loads and stores of n bytes (n up to 8).
inline std::uint64_t load(const unsigned char* p, std::size_t n) {
    std::uint64_t v = 0;
    for (std::size_t i = n; i-- > 0;) v = (v << 8) | p[i];
    return v;
}
inline void store(unsigned char* p, std::uint64_t v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i, v >>= 8) p[i] = static_cast<unsigned char>(v);
}

}  // namespace qel::packet
