#include "engine/render/render_queue.h"

#include <algorithm>
#include <atomic>

#include "engine/core/memory_allocator.h"
#include "engine/core/report.h"

namespace qel {
namespace {

std::atomic<bool> g_reportedFull{false};

// Merges two sorted runs; on equal keys the right run's entry goes first,
// which keeps equal keys in reverse queuing order at every level.
void merge(const RenderQueue::Entry* left, std::size_t nl, const RenderQueue::Entry* right,
           std::size_t nr, RenderQueue::Entry* out) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < nl && j < nr) *out++ = left[i].key < right[j].key ? left[i++] : right[j++];
    out = std::copy(left + i, left + nl, out);
    std::copy(right + j, right + nr, out);
}

}  // namespace

RenderQueue::~RenderQueue() {
    poolFree(entries_);
    poolFree(scratch_);
}

void RenderQueue::release() {
    poolFree(entries_);
    poolFree(scratch_);
    entries_ = nullptr;
    scratch_ = nullptr;
    count_ = 0;
    capacity_ = 0;
}

bool RenderQueue::grow() {
    const std::uint32_t wanted =
        capacity_ == 0 ? kInitialCapacity : capacity_ + std::min(capacity_, kMaxGrowth);
    const std::size_t bytes = sizeof(Entry) * wanted;
    // Both arrays or neither: the scratch array always matches.
    void* scratch = poolAllocate(Pool::RenderCommands, bytes);
    if (!scratch) return false;
    void* entries =
        entries_ ? poolReallocate(entries_, bytes) : poolAllocate(Pool::RenderCommands, bytes);
    if (!entries) {
        poolFree(scratch);
        return false;
    }
    poolFree(scratch_);
    scratch_ = static_cast<Entry*>(scratch);
    entries_ = static_cast<Entry*>(entries);
    capacity_ = wanted;
    return true;
}

bool RenderQueue::push(std::uint32_t key, RenderMethod* method) {
    if (count_ == capacity_ && !grow()) {
        reportOnce(g_reportedFull, "render queue: no room to grow; a command was dropped");
        return false;
    }
    entries_[count_++] = Entry{key, method};
    return true;
}

void RenderQueue::sort() {
    // Short runs sorted by insertion, a later entry going before equal
    // keys; then a bottom-up merge of runs of 16, 32, ... between the two
    // arrays, preferring the right run on equal keys. Both steps keep equal
    // keys in reverse queuing order, so the whole does.
    const std::size_t n = count_;
    constexpr std::size_t kRun = 16;
    for (std::size_t lo = 0; lo < n; lo += kRun) {
        const std::size_t hi = std::min(lo + kRun, n);
        for (std::size_t i = lo + 1; i < hi; ++i) {
            const Entry e = entries_[i];
            std::size_t j = i;
            for (; j > lo && entries_[j - 1].key >= e.key; --j) entries_[j] = entries_[j - 1];
            entries_[j] = e;
        }
    }
    Entry* from = entries_;
    Entry* to = scratch_;
    for (std::size_t width = kRun; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n);
            const std::size_t hi = std::min(lo + 2 * width, n);
            merge(from + lo, mid - lo, from + mid, hi - mid, to + lo);
        }
        std::swap(from, to);
    }
    if (from != entries_) std::copy(from, from + n, entries_);
}

}  // namespace qel
