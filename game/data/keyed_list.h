// A list of entries with an int32 sort key, owned one by one: the shape that
// the effect-name and sub-icon lists share.
//
// What it keeps true: each entry is its own pooled object, so an entry a
// script holds stays at its address while the list is sorted; clearing or
// destroying the list frees the entries, and the scripts forget each entry
// as it goes. A full pool drops the entry being added (add gives
// false) and leaves the list as it was.
#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/memory_allocator.h"

template <class Entry, bool kStable>
class KeyedList {
public:
    KeyedList() = default;
    ~KeyedList() { clear(); }
    KeyedList(const KeyedList&) = delete;
    KeyedList& operator=(const KeyedList&) = delete;

    void clear() {
        // Taken out first: an entry's destructor may reach scripts.
        auto old = std::move(entries_);
        entries_.clear();
        for (Entry* e : old) delete e;
    }
    std::size_t size() const { return entries_.size(); }
    // Null at or past size().
    const Entry* get(std::size_t index) const {
        return index < entries_.size() ? entries_[index] : nullptr;
    }
    Entry* get(std::size_t index) { return index < entries_.size() ? entries_[index] : nullptr; }
    // Ascending keys; a stable list keeps entries of equal keys in the order added.
    void sort() {
        const auto byKey = [](const Entry* a, const Entry* b) { return a->key < b->key; };
        if constexpr (kStable) {
            std::stable_sort(entries_.begin(), entries_.end(), byKey);
        } else {
            std::sort(entries_.begin(), entries_.end(), byKey);
        }
    }

protected:
    bool append(Entry* made) {
        if (!made) return false;
        try {
            entries_.push_back(made);
        } catch (const std::bad_alloc&) {
            delete made;
            return false;
        }
        return true;
    }

private:
    std::vector<Entry*, qel::PoolAllocator<Entry*, qel::Pool::General>> entries_;
};
