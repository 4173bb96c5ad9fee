#include "engine/net/packet_assembler.h"

#include "engine/net/packet_header.h"

namespace qel {

std::size_t PacketAssembler::wanted() const {
    if (pending_.size() < packet::kHeaderSize) return 0;
    return packet::kHeaderSize + packet::load(&pending_[packet::kLengthOffset], 2);
}

}  // namespace qel
