// The player's allies: the monsters that joined the party, by object id,
// each with the control cost it takes up. A friend is present while an
// object of its id is on the current floor, absent otherwise.
//
// What it keeps true: ids are kept once, in ascending order, and every
// index-based question counts in that order; an index outside the list
// answers none (0 or null), never a stray read. A failed read of the saved
// list leaves the list as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

#include "engine/core/core.h"
#include "engine/core/script_object.h"

namespace qel {
class File;
}

class ObjectNpc;

class FriendData : public qel::ScriptObject {
public:
    FriendData() = default;

    QEL_CLASS(FriendData, qel::ScriptObject, qel::Pool::World);

    void clear() { friends_.clear(); }
    // False when the monster is already a friend (its first cost stays) or
    // is null; otherwise keeps its id with its definition's control cost.
    bool addFriend(const ObjectNpc* npc);
    bool removeFriend(std::int32_t id) { return friends_.erase(id) != 0; }
    std::int32_t getTotalControl() const;
    std::int32_t getControl(std::int32_t id) const;
    std::int32_t getFriendNum() const { return static_cast<std::int32_t>(friends_.size()); }
    // The id of the index-th friend; 0 outside the list.
    std::int32_t getFriendId(std::int64_t index) const;
    // The monster of the index-th friend while present; null otherwise.
    ObjectNpc* getFriend(std::int64_t index) const;
    std::int32_t getFriendNumS() const;
    ObjectNpc* getFriendS(std::int64_t n) const;
    std::int32_t getFriendNumA() const;
    std::int32_t getFriendIdA(std::int64_t n) const;
    // Every monster of the floor that acts as a friend without being one
    // is handed to the script function SetEnemyNpc (with false).
    void updateFriend() const;

    const std::map<std::int32_t, std::int32_t>& entries() const { return friends_; }

    // u32 count, then u32 id and u32 cost per friend in id order; reads in
    // the read modes (a repeated id keeps the last cost), writes otherwise.
    bool serialize(qel::File& file);

private:
    std::map<std::int32_t, std::int32_t> friends_;
};
