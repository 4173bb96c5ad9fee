// Relinks the object references of a save once every object is read: the
// readers record saved ids with the place or the holder that wants the
// object, and resolve() hands each one over.
//
// What it keeps true:
//   - An id is resolved as ObjectManager::search finds it; an unknown id
//     gives null (a place) or nothing (a holder).
//   - No record outlives the object it names as owner or holder: an object's
//     destructor drops them (forget), so resolve never writes into or calls a
//     freed object.
//   - resolve and clear leave all three lists empty.
// Game thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/core.h"

class ObjectBase;
class ObjectManager;

class ObjectLinker {
public:
    static ObjectLinker& instance();

    // `place`, inside `owner`, receives the object with `id` (or null) at
    // resolve; with `kind`, only an object of that class (else null), so a
    // file naming the wrong object never puts it where another class is
    // expected. An id of 0 stores null at once and records nothing.
    void record(std::uint32_t id, ObjectBase* owner, ObjectBase** place,
                const qel::ClassInfo* kind = nullptr);
    // The item with `id` goes to the holder's receiving operation.
    void recordHeldItem(std::uint32_t id, ObjectBase* holder);
    // The item with `id` goes into the character's inventory.
    void recordInventoryItem(std::uint32_t id, ObjectBase* chara);

    void resolve(ObjectManager& manager);
    void clear();
    // Drops every record that names `object` as owner or holder.
    void forget(const ObjectBase* object);

    std::size_t size() const { return places_.size() + held_.size() + inventory_.size(); }

private:
    struct Place {
        std::uint32_t id;
        ObjectBase* owner;
        ObjectBase** place;
        const qel::ClassInfo* kind;
    };
    struct Holder {
        std::uint32_t id;
        ObjectBase* holder;
    };
    std::vector<Place> places_;
    std::vector<Holder> held_;
    std::vector<Holder> inventory_;
};
