// A growable array of {key, method} entries, sorted by key before a frame
// is executed.
//
// Kept true: capacity starts at 4 and grows by the smaller of itself and 100
// (4, 8, 16, 32, 64, 128, 228, 328, ...); the entries and the sort's scratch
// array, both in the render-command pool, always have the same capacity,
// so sorting never allocates. After sort(), keys ascend and entries with
// equal keys stand in the reverse of their queuing order (the later one
// runs first). clear() keeps the capacity for the next frame.
#pragma once

#include <cstdint>
#include <span>

#include "engine/core/core.h"

namespace qel {

class RenderMethod;

class RenderQueue : public Core {
public:
    QEL_CLASS(RenderQueue, Core, Pool::General);

    struct Entry {
        std::uint32_t key = 0;
        RenderMethod* method = nullptr;  // not owned
    };

    static constexpr std::uint32_t kInitialCapacity = 4;
    static constexpr std::uint32_t kMaxGrowth = 100;

    RenderQueue() = default;
    ~RenderQueue() override;
    RenderQueue(const RenderQueue&) = delete;
    RenderQueue& operator=(const RenderQueue&) = delete;

    // Appends; false (the command dropped, reported once) when the queue is
    // full and cannot grow.
    bool push(std::uint32_t key, RenderMethod* method);
    void sort();
    void clear() { count_ = 0; }
    // Empties the queue and gives its arrays back (the renderer's term).
    void release();

    std::span<const Entry> entries() const { return {entries_, count_}; }
    std::uint32_t count() const { return count_; }
    std::uint32_t capacity() const { return capacity_; }

private:
    bool grow();

    Entry* entries_ = nullptr;
    Entry* scratch_ = nullptr;
    std::uint32_t count_ = 0;
    std::uint32_t capacity_ = 0;
};

}  // namespace qel
