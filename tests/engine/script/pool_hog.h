// Takes every free block of a memory pool for the life of the object, so a
// test can watch code meet an exhausted pool, and gives them back after.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/core/core.h"

namespace qel::test {

class PoolHog {
public:
    explicit PoolHog(Pool pool) {
        for (std::size_t size = std::size_t{1} << 26; size >= 16; size /= 2) {
            while (void* p = poolAllocate(pool, size)) blocks_.push_back(p);
        }
    }
    ~PoolHog() {
        for (void* p : blocks_) poolFree(p);
    }
    PoolHog(const PoolHog&) = delete;
    PoolHog& operator=(const PoolHog&) = delete;

private:
    std::vector<void*> blocks_;
};

}  // namespace qel::test
