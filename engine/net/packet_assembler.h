// Joins a byte stream back into packets. Bytes may arrive cut anywhere, in
// any number of pieces; a packet is handed on only once its 12-byte header
// and its whole payload are there, and at most one unfinished packet (up to
// 65547 bytes) is ever held.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

#include "engine/net/packet_header.h"

namespace qel {

class PacketAssembler {
public:
    // Takes `size` bytes and calls `onPacket(std::vector<unsigned char>&&)`
    // for each packet they finish, in order; stops early, and answers
    // false, when onPacket does.
    template <class OnPacket>
    bool feed(const unsigned char* data, std::size_t size, OnPacket&& onPacket);

    // Bytes of the unfinished packet held.
    std::size_t pending() const { return pending_.size(); }
    void clear() { pending_.clear(); }

private:
    // The whole size of the packet that starts the held bytes; 0 while its
    // header is not all there.
    std::size_t wanted() const;

    std::vector<unsigned char> pending_;
};

template <class OnPacket>
bool PacketAssembler::feed(const unsigned char* data, std::size_t size, OnPacket&& onPacket) {
    std::size_t used = 0;
    while (used < size) {
        std::size_t want = wanted();
        const std::size_t target = want != 0 ? want : packet::kHeaderSize;
        const std::size_t take = std::min(target - pending_.size(), size - used);
        pending_.insert(pending_.end(), data + used, data + used + take);
        used += take;
        if (want == 0) want = wanted();
        if (want != 0 && pending_.size() == want) {
            std::vector<unsigned char> whole;
            whole.swap(pending_);
            if (!onPacket(std::move(whole))) return false;
        }
    }
    return true;
}

}  // namespace qel
