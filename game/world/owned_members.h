// Members that a root object owns and builds in a fixed order, declared one
// line each:
//
//     OwnedMembers owned_;                               // first member
//     Dungeon* dungeon_ = owned_.add(dungeon_, new Dungeon());
//     World* world_ = owned_.add(world_, new World());
//
// What it keeps true:
//   - A member whose allocation failed (a pooled new answers null) stops
//     the build with std::bad_alloc; the members built before it are then
//     destroyed by the OwnedMembers destructor, which runs because it was
//     built first.
//   - Release, early or at destruction, destroys the members in the reverse
//     of their build order and clears the owner's pointer to each before
//     the object goes, so nothing reachable from the owner dangles.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

#include "engine/core/core.h"

class OwnedMembers {
public:
    static constexpr std::size_t kCapacity = 16;

    OwnedMembers() { entries_.reserve(kCapacity); }
    ~OwnedMembers() { release(); }
    OwnedMembers(const OwnedMembers&) = delete;
    OwnedMembers& operator=(const OwnedMembers&) = delete;

    // Records `made` as owned through `slot` and returns it.
    template <class T>
    T* add(T*& slot, T* made) {
        if (!made || entries_.size() == kCapacity) {
            delete made;
            throw std::bad_alloc();
        }
        entries_.push_back({made, &slot, [](void* s) { *static_cast<T**>(s) = nullptr; }});
        return made;
    }

    void release() {
        while (!entries_.empty()) {
            const Entry entry = entries_.back();
            entries_.pop_back();
            entry.clear(entry.slot);
            delete entry.object;
        }
    }

    std::size_t size() const { return entries_.size(); }

private:
    struct Entry {
        qel::Core* object;
        void* slot;
        void (*clear)(void* slot);
    };
    std::vector<Entry> entries_;
};
