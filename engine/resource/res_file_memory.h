// A whole file held in memory, zero-terminated (the sound decoder reads Ogg
// data from it; text readers may treat it as a string).
//
// Kept true: once loaded, the block is size + 1 bytes and its last byte is
// 0. The block is heap memory, whatever the file's size.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/resource/res_base.h"

namespace qel {

class ResFileMemory : public ResBase {
public:
    QEL_CLASS(ResFileMemory, ResBase, Pool::Resources);

    // Null while nothing is loaded.
    const unsigned char* getData() const { return block_.empty() ? nullptr : block_.data(); }
    // Bytes of the file, without the terminator.
    std::uint32_t getSize() const { return size_; }

    // Takes the file's bytes and appends the terminator; false (and nothing
    // held) when memory runs out.
    bool adopt(std::vector<unsigned char>&& bytes);
    void clear();

private:
    std::vector<unsigned char> block_;
    std::uint32_t size_ = 0;
};

}  // namespace qel
