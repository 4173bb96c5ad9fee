// Received bytes cut anywhere into pieces: the assembler hands on exactly
// the whole packets the stream holds, in order, and keeps only the
// unfinished rest (less than one packet); a handler's reads of a packet,
// in any order, stay inside it and mark it once they run past its end.
#include <cstring>
#include <vector>

#include "engine/net/packet_assembler.h"
#include "engine/net/packet_header.h"
#include "engine/net/recv_packet.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using qel::fuzz::require;
    namespace packet = qel::packet;
    qel::fuzz::InputReader input(data, size);
    // First the cut points and read steps, then the stream itself.
    const std::string_view plan = input.bytes(input.byte());
    const std::string_view stream = input.rest();
    const auto* bytes = reinterpret_cast<const unsigned char*>(stream.data());

    // What the stream holds, walked in one piece.
    std::vector<std::vector<unsigned char>> want;
    std::size_t at = 0;
    while (stream.size() - at >= packet::kHeaderSize) {
        const std::size_t whole = packet::kHeaderSize + packet::load(bytes + at + 10, 2);
        if (stream.size() - at < whole) break;
        want.emplace_back(bytes + at, bytes + at + whole);
        at += whole;
    }

    qel::PacketAssembler assembler;
    std::vector<std::vector<unsigned char>> got;
    std::size_t fed = 0;
    std::size_t step = 0;
    while (fed < stream.size()) {
        std::size_t piece = plan.empty()
                                ? stream.size()
                                : static_cast<unsigned char>(plan[step++ % plan.size()]) * 7 + 1;
        piece = std::min(piece, stream.size() - fed);
        assembler.feed(bytes + fed, piece, [&](std::vector<unsigned char>&& p) {
            got.push_back(std::move(p));
            return true;
        });
        fed += piece;
    }
    require(got == want, "exactly the whole packets, in order");
    require(assembler.pending() == stream.size() - at, "only the unfinished rest is held");
    require(assembler.pending() < packet::kMaxPacket, "less than one packet held");

    for (const auto& whole : got) {
        qel::RecvPacket p(whole);
        require(p.payloadLength() + packet::kHeaderSize == p.bytes().size(), "the header's length");
        for (char op : plan) {
            const std::size_t before = p.readPosition();
            switch (static_cast<unsigned char>(op) % 6) {
                case 0:
                    p.readU8();
                    break;
                case 1:
                    p.readU16();
                    break;
                case 2:
                    p.readU32();
                    break;
                case 3:
                    p.readI64();
                    break;
                case 4:
                    p.readText();
                    break;
                default:
                    p.skip(static_cast<unsigned char>(op) / 6);
                    break;
            }
            require(p.readPosition() >= before && p.readPosition() <= p.bytes().size(),
                    "reads move forward within the packet");
            if (p.overrun())
                require(p.readPosition() == p.bytes().size(), "an overrun ends at the end");
        }
    }
    return 0;
}
