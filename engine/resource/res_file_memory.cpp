#include "engine/resource/res_file_memory.h"

#include <new>

namespace qel {

bool ResFileMemory::adopt(std::vector<unsigned char>&& bytes) {
    clear();
    try {
        bytes.push_back(0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    size_ = static_cast<std::uint32_t>(bytes.size() - 1);
    block_ = std::move(bytes);
    return true;
}

void ResFileMemory::clear() {
    std::vector<unsigned char>().swap(block_);
    size_ = 0;
}

}  // namespace qel
