// Eight fixed memory pools, each a two-level segregated-fit allocator over
// one arena taken from the system on first use.
//
// Arena format. A block is a 16-byte header followed by its payload; blocks
// tile the arena with no gaps, and payloads are multiples of 16 bytes, so
// every payload is 16-byte aligned. The header holds
//   - the payload size (bits 0..30) and an in-use flag (bit 31),
//   - the total size of the physically previous block (0 for the first), the
//     boundary tag that lets a freed block find its left neighbour,
//   - while in use, the owning pool; while free, the next block of its free
//     list. The owning pool therefore sits 8 bytes before a user pointer.
// A free block keeps the previous block of its free list in the first 8
// bytes of its payload.
//
// Invariants kept by every operation (checkConsistency verifies them):
//   - the blocks cover the arena exactly and each boundary tag is right;
//   - no two free blocks are neighbours (freeing merges them);
//   - a free block of payload P sits in list index(P + 16) - 1, so every block
//     of list L is at least as large as any request that maps to L (payloads
//     and requests are multiples of 16) and the good-fit search never needs
//     to look at a block's size; a hole of exactly a request's size sits in
//     that list or the one below, whose head an allocation checks first;
//   - bit f of the first-level bitmap is set exactly when one of the 16 lists
//     of class f is non-empty, and bit s of second-level word f exactly when
//     list f * 16 + s is.
//
// Each pool has one lock. It is taken while the process runs more than one
// thread and skipped while it runs one, as the C library's own locks are;
// nothing run under it can start a thread.
//
// Under AddressSanitizer the pools tell the sanitizer what may be touched:
// the arena starts poisoned, an allocation unpoisons exactly the bytes asked
// for, and a free poisons its payload again, so headers, free blocks and the
// rounding after a payload are reported when the program reads or writes
// them. A freed block of the process's pools then waits, poisoned, in a
// quarantine (a first-in first-out list, up to a quarter of the arena)
// before it is really freed, so a stale pointer to a deleted object is
// caught instead of reading whatever took its place; an allocation that
// finds no free block empties the quarantine and tries again. A quarantined
// block stays marked in use with no owning pool: neither used nor free in
// the statistics, and freeing it again is reported as a use of poisoned
// memory.
//
// Built with QEL_POOL_MALLOC (the fuzzing build), a pool serves each request
// from the heap instead, as a header and exactly the bytes asked for, so
// AddressSanitizer sees every pooled object's bounds and lifetime, and the
// leak checker sees pooled objects nobody frees. The arena size then stays
// a budget: a pool refuses requests beyond it as before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "engine/core/address_sanitizer.h"
#include "engine/core/critical_section.h"
#include "engine/core/pool.h"

namespace qel {

// The arena sizes were budgeted for 32-bit pointers; every arena is scaled
// by this one factor so the same contents fit with 64-bit pointers and
// 16-byte block headers.
inline constexpr std::size_t kArenaScale = 4;
// Unscaled arena sizes in bytes (0.1 MiB is 104,857, truncated). The world
// pool holds a floor crowded to its last cell (about a kilobyte a monster
// with its nodes and status) with room to spare for the monsters a script
// makes and deletes while it runs, whose memory waits for its end.
inline constexpr std::size_t kBaseArenaSizes[kPoolCount] = {
    104857, 2097152, 104857, 2097152, 10485760, 524288, 104857, 2097152,
};
constexpr std::size_t arenaSizeOf(Pool pool) {
    return (kBaseArenaSizes[poolIndex(pool)] * kArenaScale) & ~std::size_t{15};
}

class MemoryAllocatorBase {
public:
    static constexpr std::size_t kHeaderSize = 16;
    static constexpr std::size_t kMinPayload = 16;
    static constexpr int kFirstLevels = 32;
    static constexpr int kSecondLevels = 16;
    static constexpr int kListCount = kFirstLevels * kSecondLevels;

    // quarantineBytes: how much freed memory waits before it is really
    // freed (0: none; the process's pools keep a quarantine only under
    // AddressSanitizer).
    explicit MemoryAllocatorBase(std::size_t arenaSize, std::size_t quarantineBytes = 0);
    virtual ~MemoryAllocatorBase();
    MemoryAllocatorBase(const MemoryAllocatorBase&) = delete;
    MemoryAllocatorBase& operator=(const MemoryAllocatorBase&) = delete;

    virtual int getId() const = 0;

    // Null when no free block is large enough (reported once per pool).
    void* allocate(std::size_t size);
    // Both ignore, with a message, a pointer that is not a block of this pool
    // in use (reallocate then returns null).
    void free(void* p);
    // Shrinks and grows in place where it can; when it must move and cannot
    // allocate, returns null and leaves the old block alone. Shrinking never
    // fails.
    void* reallocate(std::size_t size, void* p);

    std::size_t arenaSize() const { return arenaSize_; }
    // True when p lies in the arena on a 16-byte step, where a payload may start.
    bool owns(const void* p) const;
    // Usable size of an allocated block.
    static std::size_t payloadSize(const void* p);
    // The pool a block was allocated from (the word before the user pointer).
    static MemoryAllocatorBase* ownerOf(const void* p);

    // List index of a size, as used for requests.
    static int listIndex(std::size_t size);

    struct Stats {
        std::size_t usedBlocks = 0, usedBytes = 0;
        std::size_t freeBlocks = 0, freeBytes = 0, largestFree = 0;
        // Freed, waiting in the quarantine (payload bytes).
        std::size_t quarantinedBlocks = 0, quarantinedBytes = 0;
    };
    // Walks the arena: for tests and diagnostics, not for hot paths.
    Stats stats() const;
    bool checkConsistency() const;
    // Really frees every block waiting in the quarantine.
    void releaseQuarantine();
    // How much freed memory may wait in the quarantine; a smaller limit
    // frees the oldest blocks at once (0 turns the quarantine off).
    std::size_t quarantineLimit() const { return quarantineLimit_; }
    void setQuarantineLimit(std::size_t bytes);

private:
    struct Header;

    static Header* headerOf(const void* p);
    static int freeListOf(std::size_t payload);
    // True when p is a block of this pool in use.
    bool holds(const void* p) const;
    Header* nextPhysical(Header* h) const;
    Header* prevPhysical(Header* h) const;
    void pushFree(Header* h, int index);
    void insertFree(Header* h);
    void unlinkFree(Header* h, int index);
    void unlinkFree(Header* h);
    void splitTail(Header* h, std::size_t keep);
    void freeBlock(Header* h);
    // A block the program freed: poisoned, then quarantined or freed.
    void retire(Header* h);
    bool releaseOldest();
    void releaseQuarantineHeld();
    // True when p is a block of this pool waiting in the quarantine.
    bool holdsRetired(const void* p) const;
    Header* findFree(std::size_t size, int& list);
    void take(Header* h, int list, std::size_t want);
    // The work of allocate and reallocate under the lock; messages are
    // written by the callers after unlocking.
    void* allocateHeld(std::size_t size);
    void* reallocateHeld(std::size_t size, void* p, bool& exhausted);
    // True the first time: a pool reports its exhaustion once.
    bool noteExhaustion();
    void logExhaustion(std::size_t size) const;
    void logForeign() const;

    Header* heads_[kListCount] = {};
    std::uint32_t firstLevel_ = 0;
    std::uint32_t secondLevel_[kFirstLevels] = {};
    std::byte* arena_ = nullptr;
    std::size_t arenaSize_ = 0;
    mutable CriticalSection lock_;
    bool exhaustionReported_ = false;

    // The quarantine, oldest first, linked through the first word of each
    // block's payload.
    Header* quarantineHead_ = nullptr;
    Header* quarantineTail_ = nullptr;
    std::size_t quarantineLimit_ = 0;
    std::size_t quarantineBytes_ = 0;
    std::size_t quarantineCount_ = 0;

    // The heap-served variant (QEL_POOL_MALLOC).
    void* heapAllocate(std::size_t size);
    void heapFree(Header* h);
    std::size_t heapBlocks_ = 0;
    std::size_t heapBytes_ = 0;
};

template <Pool P>
class MemoryAllocator final : public MemoryAllocatorBase {
    static_assert(poolIndex(P) >= 0 && poolIndex(P) < kPoolCount);

public:
    // Built on first use and kept for the life of the process: objects freed
    // from static destructors of any order still find their pool.
    static MemoryAllocator& instance() {
        static MemoryAllocator* pool = new (storage()) MemoryAllocator();
        return *pool;
    }
    int getId() const override { return poolIndex(P); }

private:
    MemoryAllocator()
        : MemoryAllocatorBase(arenaSizeOf(P), kAddressSanitizer ? arenaSizeOf(P) / 4 : 0) {}
    static void* storage() {
        alignas(MemoryAllocator) static std::byte bytes[sizeof(MemoryAllocator)];
        return bytes;
    }
};

// The pool, created on first use; null for a value outside the eight.
MemoryAllocatorBase* poolById(Pool pool);

template <Pool P>
void* allocFromPool(std::size_t size) noexcept {
    return MemoryAllocator<P>::instance().allocate(size);
}
void* poolReallocate(void* p, std::size_t size) noexcept;

// A standard allocator over pool P for containers held by pooled objects.
// Throws std::bad_alloc on exhaustion like any standard allocator.
template <class T, Pool P>
struct PoolAllocator {
    using value_type = T;
    template <class U>
    struct rebind {
        using other = PoolAllocator<U, P>;
    };
    PoolAllocator() = default;
    template <class U>
    PoolAllocator(const PoolAllocator<U, P>&) {}
    T* allocate(std::size_t n) {
        if (n > std::size_t(-1) / sizeof(T)) throw std::bad_alloc();
        void* p = allocFromPool<P>(n * sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) noexcept { poolFree(p); }
    template <class U>
    bool operator==(const PoolAllocator<U, P>&) const {
        return true;
    }
};

}  // namespace qel
