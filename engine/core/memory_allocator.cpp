#include "engine/core/memory_allocator.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <ext/atomicity.h>
#include <mutex>
#include <utility>

#include "engine/core/log.h"

namespace qel {

struct MemoryAllocatorBase::Header {
    static constexpr std::uint32_t kInUse = 0x80000000u;

    std::uint32_t sizeAndFlag;  // payload bytes | in-use bit
    std::uint32_t prevTotal;    // total size of the block to the left, 0 for the first
    union {
        MemoryAllocatorBase* pool;  // in use
        Header* nextFree;           // free
    };

    // Headers and free blocks are poisoned under AddressSanitizer: only the
    // pool's own code, marked QEL_NO_SANITIZE_ADDRESS, reads and writes them.
    QEL_NO_SANITIZE_ADDRESS std::size_t payload() const { return sizeAndFlag & ~kInUse; }
    QEL_NO_SANITIZE_ADDRESS std::size_t total() const { return payload() + kHeaderSize; }
    QEL_NO_SANITIZE_ADDRESS bool inUse() const { return (sizeAndFlag & kInUse) != 0; }
    QEL_NO_SANITIZE_ADDRESS void setFree(std::size_t p) {
        sizeAndFlag = static_cast<std::uint32_t>(p);
    }
    QEL_NO_SANITIZE_ADDRESS void setUsed(std::size_t p) {
        sizeAndFlag = static_cast<std::uint32_t>(p) | kInUse;
    }
    std::byte* data() { return reinterpret_cast<std::byte*>(this) + kHeaderSize; }
    // While free, the previous block of its list lives in the payload; while
    // quarantined, the next block of the quarantine.
    Header*& prevFree() { return *reinterpret_cast<Header**>(data()); }
    Header*& nextQuarantined() { return *reinterpret_cast<Header**>(data()); }
    // Quarantined: still marked in use, so no neighbour merges with it, but
    // owned by no pool.
    QEL_NO_SANITIZE_ADDRESS bool retired() const { return inUse() && pool == nullptr; }
};
static_assert(sizeof(void*) <= 8 && MemoryAllocatorBase::kHeaderSize == 16);

namespace {

constexpr std::size_t kMaxRequest = 0x7FFFFFF0u;  // fits the 31-bit size field

#if defined(QEL_POOL_MALLOC)
constexpr bool kServeFromHeap = true;
#else
constexpr bool kServeFromHeap = false;
#endif

std::size_t roundRequest(std::size_t size) {
    if (size < MemoryAllocatorBase::kMinPayload) return MemoryAllocatorBase::kMinPayload;
    return (size + 15) & ~std::size_t{15};
}

int highestBit(std::uint32_t v) {
    return 31 - std::countl_zero(v);
}
int lowestBit(std::uint32_t v) {
    return std::countr_zero(v);
}

// listIndex for sizes of at least 16, where one formula covers both levels.
int listOfRounded(std::size_t size) {
    const std::uint32_t s32 = static_cast<std::uint32_t>(size);
    const int f = highestBit(s32);
    return (f - 1) * MemoryAllocatorBase::kSecondLevels + static_cast<int>(s32 >> (f - 4));
}

// The pool's lock, taken only while the process runs more than one thread,
// as the C library's own locks do: with one thread nothing can race, and
// the first thread is started before any other can call in. The locked
// paths run no outside code (messages are written after unlocking), so no
// thread can start while the lock is skipped.
class PoolGuard {
public:
    explicit PoolGuard(CriticalSection& lock)
        : lock_(__gnu_cxx::__is_single_threaded() ? nullptr : &lock) {
        if (lock_) lock_->enter();
    }
    ~PoolGuard() { release(); }
    PoolGuard(const PoolGuard&) = delete;
    PoolGuard& operator=(const PoolGuard&) = delete;

    void release() {
        if (lock_) lock_->leave();
        lock_ = nullptr;
    }

private:
    CriticalSection* lock_;
};

// Reads a byte the ordinary way: AddressSanitizer reports it when the
// program may not touch it (a block it freed), with the caller's stack.
[[gnu::noinline]] void touch(const void* p) {
    (void)*static_cast<const volatile std::byte*>(p);
}

// Leaves exactly the first `size` bytes of a block of `payload` bytes open.
void exposeExactly(void* p, std::size_t payload, std::size_t size) {
    poisonBytes(p, payload);
    unpoisonBytes(p, size);
}

}  // namespace

QEL_NO_SANITIZE_ADDRESS MemoryAllocatorBase::MemoryAllocatorBase(std::size_t arenaSize,
                                                                 std::size_t quarantineBytes)
    : quarantineLimit_(quarantineBytes) {
    arenaSize = arenaSize & ~std::size_t{15};
    if (arenaSize < kHeaderSize + kMinPayload || arenaSize - kHeaderSize > kMaxRequest) return;
    if (kServeFromHeap) {
        arenaSize_ = arenaSize;  // the budget only
        return;
    }
    arena_ = static_cast<std::byte*>(std::aligned_alloc(16, arenaSize));
    if (!arena_) return;  // the pool stays empty: every allocation returns null
    arenaSize_ = arenaSize;
    poisonBytes(arena_, arenaSize);
    Header* h = reinterpret_cast<Header*>(arena_);
    h->prevTotal = 0;
    h->setFree(arenaSize - kHeaderSize);
    insertFree(h);
}

MemoryAllocatorBase::~MemoryAllocatorBase() {
    if (arena_) unpoisonBytes(arena_, arenaSize_);
    std::free(arena_);
}

// A free block goes to the list just below the one of the next larger
// request a rounded size can make (P + 16): every request that maps to that
// list or below fits it, and a request of exactly P finds it.
int MemoryAllocatorBase::freeListOf(std::size_t payload) {
    return listOfRounded(payload + 16) - 1;
}

namespace {

// The smallest free payload of list L or above: a block shrunk or grown
// within its list is seen with one comparison instead of a list index.
constexpr auto kListFloor = [] {
    std::array<std::uint64_t, MemoryAllocatorBase::kListCount + 1> floor{};
    for (int list = 0; list <= MemoryAllocatorBase::kListCount; ++list) {
        // The smallest request size of list + 1 (sizes of 16 and more).
        const int f = (list + 1) / MemoryAllocatorBase::kSecondLevels;
        const int s = (list + 1) % MemoryAllocatorBase::kSecondLevels;
        const std::uint64_t size =
            f < 4 ? 0 : (std::uint64_t{1} << f) + (std::uint64_t(s) << (f - 4));
        const std::uint64_t payload = size > 32 ? ((size - 16 + 15) & ~std::uint64_t{15}) : 16;
        floor[list] = payload;
    }
    return floor;
}();

}  // namespace

int MemoryAllocatorBase::listIndex(std::size_t size) {
    const std::uint32_t s32 = static_cast<std::uint32_t>(size);
    if (s32 >= 16) return listOfRounded(s32);
    int f = s32 ? highestBit(s32) : 0;
    if (f < 3) f = 3;
    int s = (f <= 4) ? static_cast<int>(s32 % 16) : static_cast<int>((s32 - (1u << f)) >> (f - 4));
    return f * kSecondLevels + s;
}

bool MemoryAllocatorBase::owns(const void* p) const {
    const std::byte* b = static_cast<const std::byte*>(p);
    if (kServeFromHeap) return b != nullptr && reinterpret_cast<std::uintptr_t>(b) % 16 == 0;
    return arena_ && b >= arena_ + kHeaderSize && b < arena_ + arenaSize_ && (b - arena_) % 16 == 0;
}

MemoryAllocatorBase::Header* MemoryAllocatorBase::headerOf(const void* p) {
    return reinterpret_cast<Header*>(const_cast<std::byte*>(static_cast<const std::byte*>(p)) -
                                     kHeaderSize);
}

QEL_NO_SANITIZE_ADDRESS std::size_t MemoryAllocatorBase::payloadSize(const void* p) {
    return headerOf(p)->payload();
}

QEL_NO_SANITIZE_ADDRESS MemoryAllocatorBase* MemoryAllocatorBase::ownerOf(const void* p) {
    const Header* h = headerOf(p);
    // A heap-served block's header is ordinary heap memory: a block the
    // program already freed is reported when its header is read.
    if (kServeFromHeap) touch(h);
    if (h->retired()) touch(p);  // freed and quarantined: reported
    return h->inUse() ? h->pool : nullptr;
}

QEL_NO_SANITIZE_ADDRESS MemoryAllocatorBase::Header* MemoryAllocatorBase::nextPhysical(
    Header* h) const {
    std::byte* next = reinterpret_cast<std::byte*>(h) + h->total();
    return next < arena_ + arenaSize_ ? reinterpret_cast<Header*>(next) : nullptr;
}

QEL_NO_SANITIZE_ADDRESS MemoryAllocatorBase::Header* MemoryAllocatorBase::prevPhysical(
    Header* h) const {
    if (h->prevTotal == 0) return nullptr;
    return reinterpret_cast<Header*>(reinterpret_cast<std::byte*>(h) - h->prevTotal);
}

QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::pushFree(Header* h, int index) {
    Header* head = heads_[index];
    h->nextFree = head;
    h->prevFree() = nullptr;
    heads_[index] = h;
    if (head) {
        head->prevFree() = h;
    } else {
        firstLevel_ |= 1u << (index / kSecondLevels);
        secondLevel_[index / kSecondLevels] |= 1u << (index % kSecondLevels);
    }
}

QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::insertFree(Header* h) {
    h->setFree(h->payload());
    pushFree(h, freeListOf(h->payload()));
}

QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::unlinkFree(Header* h, int index) {
    Header* next = h->nextFree;
    Header* prev = h->prevFree();
    if (next) next->prevFree() = prev;
    if (prev) {
        prev->nextFree = next;
    } else {
        heads_[index] = next;
        if (!next) {
            const int f = index / kSecondLevels;
            secondLevel_[f] &= ~(1u << (index % kSecondLevels));
            if (!secondLevel_[f]) firstLevel_ &= ~(1u << f);
        }
    }
}

QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::unlinkFree(Header* h) {
    unlinkFree(h, freeListOf(h->payload()));
}

QEL_NO_SANITIZE_ADDRESS MemoryAllocatorBase::Header* MemoryAllocatorBase::findFree(std::size_t size,
                                                                                   int& list) {
    const int index = listOfRounded(size);
    // Where a list spans more than 16 bytes, a hole of exactly `size` sits one
    // list below the good-fit search: its head is worth one look, so freed
    // blocks of a common size are used again instead of cutting new ones.
    // Lists below 512 bytes span at most 16, and the look never applies.
    if (size >= 512) {
        if (const int own = freeListOf(size); own < index) {
            if (Header* h = heads_[own]; h && h->payload() >= size) {
                list = own;
                return h;
            }
        }
    }
    int f = index / kSecondLevels;
    std::uint32_t bits = secondLevel_[f] & (~0u << (index % kSecondLevels));
    if (!bits) {
        const std::uint32_t above = (f + 1 < kFirstLevels) ? firstLevel_ & (~0u << (f + 1)) : 0;
        if (!above) [[unlikely]]
            return nullptr;
        f = lowestBit(above);
        bits = secondLevel_[f];
    }
    list = f * kSecondLevels + lowestBit(bits);
    return heads_[list];
}

// Hands out h, the head of `list`, cut down to `want` payload bytes when the
// rest can hold a block. The rest has a block in use after it (or the arena
// end) and goes to its own list; when that is h's list it simply takes h's
// place at the head, which is where unlinking h and listing it would put it.
// Kept out of line: allocation churn measured faster so than inlined.
[[gnu::noinline]] QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::take(Header* h, int list,
                                                                         std::size_t want) {
    const std::size_t payload = h->payload();
    Header* next = h->nextFree;
    if (want + kHeaderSize < payload) [[likely]] {
        const std::size_t rest = payload - want - kHeaderSize;
        Header* tail = reinterpret_cast<Header*>(h->data() + want);
        tail->prevTotal = static_cast<std::uint32_t>(want + kHeaderSize);
        tail->setFree(rest);
        if (Header* after = nextPhysical(tail))
            after->prevTotal = static_cast<std::uint32_t>(rest + kHeaderSize);
        if (rest >= kListFloor[list]) [[likely]] {
            tail->nextFree = next;
            tail->prevFree() = nullptr;
            if (next) next->prevFree() = tail;
            heads_[list] = tail;
        } else {
            unlinkFree(h, list);
            pushFree(tail, freeListOf(rest));
        }
        h->setUsed(want);
    } else {
        unlinkFree(h, list);
        h->setUsed(payload);
    }
    h->pool = this;
}

// Cuts block h (in use) down to `keep` payload bytes when the rest can hold
// a block; the rest becomes a free block of its own, freed so that it merges
// with a free block after it.
QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::splitTail(Header* h, std::size_t keep) {
    const std::size_t payload = h->payload();
    if (keep + kHeaderSize >= payload) return;
    Header* tail = reinterpret_cast<Header*>(h->data() + keep);
    tail->prevTotal = static_cast<std::uint32_t>(keep + kHeaderSize);
    h->setUsed(keep);
    tail->setUsed(payload - keep - kHeaderSize);
    tail->pool = this;
    if (Header* next = nextPhysical(tail))
        next->prevTotal = static_cast<std::uint32_t>(tail->total());
    freeBlock(tail);
}

// Frees h, merging it with free neighbours. A left neighbour that heads its
// list and stays in that list after growing keeps its place; unlinking it
// and listing it again would put it in the same place.
QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::freeBlock(Header* h) {
    std::size_t payload = h->payload();
    std::byte* end = h->data() + payload;
    std::byte* const arenaEnd = arena_ + arenaSize_;
    if (end < arenaEnd) {
        Header* next = reinterpret_cast<Header*>(end);
        if (!next->inUse()) {
            unlinkFree(next);
            payload += next->total();
            end += next->total();
        }
    }
    Header* prev = prevPhysical(h);
    if (prev && !prev->inUse()) {
        const std::size_t merged = prev->payload() + kHeaderSize + payload;
        const int from = freeListOf(prev->payload());
        // The old header stays behind in the merged payload: mark it free so
        // a second free of the same pointer is recognised and ignored.
        h->setFree(payload);
        if (merged >= kListFloor[from + 1] || prev->prevFree() != nullptr) {
            unlinkFree(prev, from);
            prev->setFree(merged);
            pushFree(prev, freeListOf(merged));
        } else {
            prev->setFree(merged);
        }
        payload = merged;
    } else {
        h->setFree(payload);
        pushFree(h, freeListOf(payload));
    }
    if (end < arenaEnd)
        reinterpret_cast<Header*>(end)->prevTotal =
            static_cast<std::uint32_t>(payload + kHeaderSize);
}

bool MemoryAllocatorBase::noteExhaustion() {
    return !std::exchange(exhaustionReported_, true);
}

void MemoryAllocatorBase::logExhaustion(std::size_t size) const {
    logMessage("memory pool %d exhausted: a request of %zu bytes failed", getId(), size);
}

void MemoryAllocatorBase::logForeign() const {
    logMessage("memory pool %d: a block it does not hold ignored", getId());
}

QEL_NO_SANITIZE_ADDRESS void* MemoryAllocatorBase::allocateHeld(std::size_t size) {
    if (size > kMaxRequest) [[unlikely]]
        return nullptr;
    if (kServeFromHeap) return heapAllocate(size);
    const std::size_t want = roundRequest(size);
    int list = 0;
    Header* h = findFree(want, list);
    if (!h && quarantineCount_ > 0) [[unlikely]] {
        releaseQuarantineHeld();
        h = findFree(want, list);
    }
    if (!h) [[unlikely]]
        return nullptr;
    take(h, list, want);
    unpoisonBytes(h->data(), size);
    return h->data();
}

void* MemoryAllocatorBase::allocate(std::size_t size) {
    {
        PoolGuard guard(lock_);
        if (void* p = allocateHeld(size)) [[likely]]
            return p;
        if (!noteExhaustion()) return nullptr;
    }
    logExhaustion(size);
    return nullptr;
}

QEL_NO_SANITIZE_ADDRESS bool MemoryAllocatorBase::holds(const void* p) const {
    const Header* h = headerOf(p);
    return owns(p) && h->inUse() && h->pool == this;
}

QEL_NO_SANITIZE_ADDRESS bool MemoryAllocatorBase::holdsRetired(const void* p) const {
    return !kServeFromHeap && owns(p) && headerOf(p)->retired();
}

QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::retire(Header* h) {
    poisonBytes(h->data(), h->payload());
    if (quarantineLimit_ == 0) {
        freeBlock(h);
        return;
    }
    h->pool = nullptr;
    h->nextQuarantined() = nullptr;
    if (quarantineTail_) {
        quarantineTail_->nextQuarantined() = h;
    } else {
        quarantineHead_ = h;
    }
    quarantineTail_ = h;
    quarantineBytes_ += h->total();
    ++quarantineCount_;
    while (quarantineBytes_ > quarantineLimit_) releaseOldest();
}

QEL_NO_SANITIZE_ADDRESS bool MemoryAllocatorBase::releaseOldest() {
    Header* h = quarantineHead_;
    if (!h) return false;
    quarantineHead_ = h->nextQuarantined();
    if (!quarantineHead_) quarantineTail_ = nullptr;
    quarantineBytes_ -= h->total();
    --quarantineCount_;
    h->pool = this;
    freeBlock(h);
    return true;
}

void MemoryAllocatorBase::releaseQuarantineHeld() {
    while (releaseOldest()) {
    }
}

void MemoryAllocatorBase::releaseQuarantine() {
    PoolGuard guard(lock_);
    releaseQuarantineHeld();
}

void MemoryAllocatorBase::setQuarantineLimit(std::size_t bytes) {
    PoolGuard guard(lock_);
    quarantineLimit_ = bytes;
    while (quarantineBytes_ > quarantineLimit_) releaseOldest();
}

QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::free(void* p) {
    if (!p) return;
    {
        PoolGuard guard(lock_);
        if (holds(p)) [[likely]] {
            if (kServeFromHeap) {
                heapFree(headerOf(p));
            } else {
                retire(headerOf(p));
            }
            return;
        }
    }
    if (holdsRetired(p)) touch(p);  // freed twice: reported
    logForeign();
}

// Exactly the bytes asked for after the header, and a budget check.
QEL_NO_SANITIZE_ADDRESS void* MemoryAllocatorBase::heapAllocate(std::size_t size) {
    const std::size_t charged = roundRequest(size) + kHeaderSize;
    if (charged > arenaSize_ - heapBytes_) return nullptr;
    void* raw = ::operator new (kHeaderSize + size, std::align_val_t{16}, std::nothrow);
    if (!raw) return nullptr;
    Header* h = static_cast<Header*>(raw);
    h->prevTotal = 0;
    h->setUsed(size);
    h->pool = this;
    ++heapBlocks_;
    heapBytes_ += charged;
    return h->data();
}

QEL_NO_SANITIZE_ADDRESS void MemoryAllocatorBase::heapFree(Header* h) {
    --heapBlocks_;
    heapBytes_ -= roundRequest(h->payload()) + kHeaderSize;
    h->sizeAndFlag = 0;  // no longer in use: a second free is refused
    ::operator delete (h, std::align_val_t{16});
}

// Sets `exhausted` when a request could not be met, even where the block
// stays usable (a shrink that had to move).
QEL_NO_SANITIZE_ADDRESS void* MemoryAllocatorBase::reallocateHeld(std::size_t size, void* p,
                                                                  bool& exhausted) {
    if (size > kMaxRequest) {
        exhausted = true;
        return nullptr;
    }
    Header* h = headerOf(p);
    if (kServeFromHeap) {
        // Always moved, so a stale pointer to the old block is caught.
        void* moved = heapAllocate(size);
        if (!moved) {
            exhausted = true;
            return size <= h->payload() ? p : nullptr;  // a shrink never fails
        }
        std::memcpy(moved, p, std::min(size, h->payload()));
        heapFree(h);
        return moved;
    }
    const std::size_t want = roundRequest(size);
    const std::size_t have = h->payload();
    if (want <= have) {
        splitTail(h, want);
        exposeExactly(p, have, size);
        return p;
    }
    if (Header* next = nextPhysical(h); next && !next->inUse() && have + next->total() >= want) {
        unlinkFree(next);
        h->setUsed(have + next->total());
        if (Header* after = nextPhysical(h))
            after->prevTotal = static_cast<std::uint32_t>(h->total());
        const std::size_t grown = h->payload();
        splitTail(h, want);
        exposeExactly(p, grown, size);
        return p;
    }
    void* moved = allocateHeld(size);
    if (!moved) {
        exhausted = true;
        return nullptr;
    }
    unpoisonBytes(p, have);  // the rounding after what was asked for goes along
    std::memcpy(moved, p, have);
    retire(h);
    return moved;
}

QEL_NO_SANITIZE_ADDRESS void* MemoryAllocatorBase::reallocate(std::size_t size, void* p) {
    if (!p) return allocate(size);
    void* result = nullptr;
    bool exhausted = false;
    {
        PoolGuard guard(lock_);
        if (!holds(p)) {
            guard.release();
            if (holdsRetired(p)) touch(p);  // resized after its free: reported
            logForeign();
            return nullptr;
        }
        result = reallocateHeld(size, p, exhausted);
        if (!exhausted || !noteExhaustion()) return result;
    }
    logExhaustion(size);
    return result;
}

QEL_NO_SANITIZE_ADDRESS MemoryAllocatorBase::Stats MemoryAllocatorBase::stats() const {
    std::lock_guard guard(lock_);
    Stats st;
    if (kServeFromHeap) {
        st.usedBlocks = heapBlocks_;
        st.usedBytes = heapBytes_;
        st.freeBytes = st.largestFree = arenaSize_ - heapBytes_;
        st.freeBlocks = st.freeBytes > 0 ? 1 : 0;
        return st;
    }
    if (!arena_) return st;
    for (Header* h = reinterpret_cast<Header*>(arena_); h; h = nextPhysical(h)) {
        if (h->retired()) {
            ++st.quarantinedBlocks;
            st.quarantinedBytes += h->payload();
        } else if (h->inUse()) {
            ++st.usedBlocks;
            st.usedBytes += h->payload();
        } else {
            ++st.freeBlocks;
            st.freeBytes += h->payload();
            if (h->payload() > st.largestFree) st.largestFree = h->payload();
        }
    }
    return st;
}

QEL_NO_SANITIZE_ADDRESS bool MemoryAllocatorBase::checkConsistency() const {
    std::lock_guard guard(lock_);
    if (kServeFromHeap) return heapBytes_ <= arenaSize_;  // the heap keeps the blocks
    if (!arena_) return firstLevel_ == 0;
    std::size_t covered = 0, freeInArena = 0, retired = 0, retiredBytes = 0;
    std::uint32_t prevTotal = 0;
    bool prevFree = false;
    for (Header* h = reinterpret_cast<Header*>(arena_); h; h = nextPhysical(h)) {
        if (h->prevTotal != prevTotal) return false;
        if (h->payload() % 16 != 0 || h->payload() < kMinPayload) return false;
        if (!h->inUse()) {
            if (prevFree) return false;  // neighbours must have merged
            ++freeInArena;
        } else if (h->retired()) {
            ++retired;
            retiredBytes += h->total();
        } else if (h->pool != this) {
            return false;
        }
        prevFree = !h->inUse();
        prevTotal = static_cast<std::uint32_t>(h->total());
        covered += h->total();
    }
    if (covered != arenaSize_) return false;
    std::size_t listed = 0;
    for (int i = 0; i < kListCount; ++i) {
        const bool bit = (secondLevel_[i / kSecondLevels] >> (i % kSecondLevels)) & 1u;
        if (bit != (heads_[i] != nullptr)) return false;
        Header* prev = nullptr;
        for (Header* h = heads_[i]; h; h = h->nextFree) {
            if (h->inUse() || freeListOf(h->payload()) != i || h->prevFree() != prev) return false;
            prev = h;
            ++listed;
        }
    }
    for (int f = 0; f < kFirstLevels; ++f) {
        if (((firstLevel_ >> f) & 1u) != (secondLevel_[f] != 0)) return false;
    }
    // The quarantine lists every retired block once, oldest first.
    std::size_t queued = 0;
    Header* last = nullptr;
    for (Header* h = quarantineHead_; h && queued <= retired; h = h->nextQuarantined()) {
        if (!h->retired()) return false;
        ++queued;
        last = h;
    }
    if (queued != retired || last != quarantineTail_ || quarantineCount_ != retired ||
        quarantineBytes_ != retiredBytes)
        return false;
    return listed == freeInArena;
}

MemoryAllocatorBase* poolById(Pool pool) {
    switch (pool) {
        case Pool::SmallRecords:
            return &MemoryAllocator<Pool::SmallRecords>::instance();
        case Pool::General:
            return &MemoryAllocator<Pool::General>::instance();
        case Pool::Tasks:
            return &MemoryAllocator<Pool::Tasks>::instance();
        case Pool::Resources:
            return &MemoryAllocator<Pool::Resources>::instance();
        case Pool::Script:
            return &MemoryAllocator<Pool::Script>::instance();
        case Pool::RenderCommands:
            return &MemoryAllocator<Pool::RenderCommands>::instance();
        case Pool::System:
            return &MemoryAllocator<Pool::System>::instance();
        case Pool::World:
            return &MemoryAllocator<Pool::World>::instance();
    }
    return nullptr;
}

void* poolAllocate(Pool pool, std::size_t size) noexcept {
    MemoryAllocatorBase* p = poolById(pool);
    return p ? p->allocate(size) : nullptr;
}

void poolFree(void* p) noexcept {
    if (!p) return;
    if (MemoryAllocatorBase* owner = MemoryAllocatorBase::ownerOf(p)) {
        owner->free(p);
    } else {
        logMessage("poolFree: block is not in use; ignored");
    }
}

void* poolReallocate(void* p, std::size_t size) noexcept {
    if (!p) return nullptr;
    MemoryAllocatorBase* owner = MemoryAllocatorBase::ownerOf(p);
    return owner ? owner->reallocate(size, p) : nullptr;
}

}  // namespace qel
