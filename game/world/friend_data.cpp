#include "game/world/friend_data.h"

#include <vector>

#include "engine/file/file.h"
#include "game/world/game_data.h"
#include "game/world/npc_base.h"
#include "game/world/object_npc.h"
#include "game/world/script_call.h"
#include "game/world/script_callbacks.h"

namespace {

ObjectBase* findObject(std::int32_t id) {
    ObjectManager* manager = GameData::instance().getObjectManager();
    return manager ? manager->search(static_cast<std::uint32_t>(id)) : nullptr;
}

// Ids in list order, split by whether their object is on the floor.
std::vector<std::int32_t> friendsWhere(const std::map<std::int32_t, std::int32_t>& friends,
                                       bool present) {
    std::vector<std::int32_t> ids;
    for (const auto& [id, cost] : friends) {
        if ((findObject(id) != nullptr) == present) ids.push_back(id);
    }
    return ids;
}

}  // namespace

bool FriendData::addFriend(const ObjectNpc* npc) {
    if (!npc) return false;
    const NpcBase* base = npc->getBase();
    return friends_.emplace(static_cast<std::int32_t>(npc->getId()), base ? base->control : 0)
        .second;
}

std::int32_t FriendData::getTotalControl() const {
    std::int64_t total = 0;
    for (const auto& [id, cost] : friends_) total += cost;
    return static_cast<std::int32_t>(total);
}

std::int32_t FriendData::getControl(std::int32_t id) const {
    const auto it = friends_.find(id);
    return it == friends_.end() ? 0 : it->second;
}

std::int32_t FriendData::getFriendId(std::int64_t index) const {
    if (index < 0 || index >= getFriendNum()) return 0;
    auto it = friends_.begin();
    std::advance(it, index);
    return it->first;
}

ObjectNpc* FriendData::getFriend(std::int64_t index) const {
    if (index < 0 || index >= getFriendNum()) return nullptr;
    return dynamic_cast<ObjectNpc*>(findObject(getFriendId(index)));
}

std::int32_t FriendData::getFriendNumS() const {
    return static_cast<std::int32_t>(friendsWhere(friends_, true).size());
}

ObjectNpc* FriendData::getFriendS(std::int64_t n) const {
    if (n < 0) return nullptr;
    for (const std::int32_t id : friendsWhere(friends_, true)) {
        if (auto* npc = dynamic_cast<ObjectNpc*>(findObject(id)); npc && n-- == 0) return npc;
    }
    return nullptr;
}

std::int32_t FriendData::getFriendNumA() const {
    return static_cast<std::int32_t>(friendsWhere(friends_, false).size());
}

std::int32_t FriendData::getFriendIdA(std::int64_t n) const {
    const std::vector<std::int32_t> absent = friendsWhere(friends_, false);
    return n >= 0 && n < static_cast<std::int64_t>(absent.size()) ? absent[n] : 0;
}

void FriendData::updateFriend() const {
    ObjectManager* manager = GameData::instance().getObjectManager();
    if (!manager) return;
    // The script may change the lists it is handed; walk a snapshot by id.
    std::vector<std::uint32_t> strays;
    for (ObjectBase* object : *manager->getLinkTypeRoot(ObjectBase::LINK_NPC)) {
        const auto* npc = dynamic_cast<const ObjectNpc*>(object);
        if (npc && npc->getType() == ObjectBase::TYPE_FRIEND &&
            friends_.count(static_cast<std::int32_t>(npc->getId())) == 0) {
            strays.push_back(npc->getId());
        }
    }
    for (const std::uint32_t id : strays) {
        auto* npc = dynamic_cast<ObjectNpc*>(manager->search(id));
        if (!npc) continue;
        ScriptCall(script_callback::SetEnemyNpc).object(npc, "ObjectNpc").boolean(false).run();
    }
}

bool FriendData::serialize(qel::File& file) {
    if (file.isWriteMode()) {
        std::uint32_t count = static_cast<std::uint32_t>(friends_.size());
        bool ok = file.serialize(count);
        for (const auto& [id, cost] : friends_) {
            std::uint32_t pair[2] = {static_cast<std::uint32_t>(id),
                                     static_cast<std::uint32_t>(cost)};
            ok = ok && file.serialize(pair);
        }
        return ok;
    }
    std::uint32_t count = 0;
    if (!file.serialize(count)) return false;
    std::map<std::int32_t, std::int32_t> read;
    // Each entry is 8 bytes: a count the data cannot hold stops at the first
    // missing entry, never after a long loop.
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t pair[2] = {0, 0};
        if (!file.serialize(pair)) return false;
        read[static_cast<std::int32_t>(pair[0])] = static_cast<std::int32_t>(pair[1]);
    }
    friends_.swap(read);
    return true;
}
