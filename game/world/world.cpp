#include "game/world/world.h"

#include <utility>

#include "engine/core/object_operation.h"
#include "engine/file/file.h"
#include "game/world/game_data.h"
#include "game/world/object_chara.h"
#include "game/world/object_item.h"

namespace {

World::GenocideHook g_genocideHook = nullptr;
World::AnimaLookup g_animaLookup = nullptr;

// Reads a count and that many ids, or writes the set's; reading fills `out`
// only when every id arrived.
bool transferIds(qel::File& file, std::set<std::uint32_t>& ids, bool (*keep)(std::uint32_t)) {
    if (file.isWriteMode()) {
        std::uint32_t count = static_cast<std::uint32_t>(ids.size());
        bool ok = file.serialize(count);
        for (std::uint32_t id : ids) ok &= file.serialize(id);
        return ok;
    }
    std::uint32_t count = 0;
    if (!file.serialize(count)) return false;
    std::set<std::uint32_t> read;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = 0;
        if (!file.serialize(id)) return false;
        if (!keep || keep(id)) read.insert(id);
    }
    ids.swap(read);
    return true;
}

}  // namespace

World::World() {
    init();
}

void World::init() {
    turn_ = 1;
    score_ = 0;
    cause_ = "原因不明で";
    result_ = "死亡";
    genocide_.clear();
}

bool World::addGenocide(std::uint32_t id) {
    if (!genocide_.insert(id).second) return false;
    execGenocide(id);
    return true;
}

void World::execGenocide() const {
    if (g_genocideHook && !genocide_.empty()) g_genocideHook(genocide_);
}

void World::execGenocide(std::uint32_t id) const {
    if (g_genocideHook) g_genocideHook(std::set<std::uint32_t>{id});
}

World::GenocideHook World::setGenocideHook(GenocideHook hook) {
    return std::exchange(g_genocideHook, hook);
}

bool World::serialize(qel::File& file) {
    std::uint32_t turn = static_cast<std::uint32_t>(turn_);
    std::uint32_t score = static_cast<std::uint32_t>(score_);
    std::string cause = cause_;
    std::string result = result_;
    std::set<std::uint32_t> genocide = genocide_;
    FriendData friends;
    if (file.isWriteMode()) friends = friends_;
    if (!file.serialize(turn) || !file.serialize(score) || !file.serializeString(cause) ||
        !file.serializeString(result) || !transferIds(file, genocide, nullptr) ||
        !friends.serialize(file)) {
        return false;
    }
    if (file.isReadMode()) {
        turn_ = static_cast<std::int32_t>(turn);
        score_ = static_cast<std::int32_t>(score);
        cause_ = cause;
        result_ = result;
        genocide_.swap(genocide);
        friends_ = friends;
    }
    return true;
}

bool World::serializeAnima(qel::File& file) {
    AnimaLookup known = g_animaLookup;
    if (!known) known = [](std::uint32_t) { return false; };
    return transferIds(file, anima_, known);
}

void World::setAnimaLookup(AnimaLookup lookup) {
    g_animaLookup = lookup;
}

bool World::checkMove(ObjectChara& chara, std::int64_t x, std::int64_t y, bool ignoreChara) {
    // The scripts the character's questions call may delete it (or the
    // tile's neighbours): nothing goes before the check ends.
    const qel::ObjectOperation operation;
    const Tile* tile = GameData::instance().getDungeon()->getTile(x, y);
    if (!tile) return false;
    if (tile->isWall() && chara.getStatus(Status::THROUGH) == 0) return false;
    if (!tile->isMove() && chara.getStatus(Status::FLOAT) == 0) return false;
    if (tile->isWater() && !chara.canWalkOnWater()) return false;
    if (chara.isGoing()) return false;  // deleted by a script meanwhile
    LinkList<ObjectBase>* cell = GameData::instance().getObjectManager()->getLinkPosRoot(x, y);
    for (ObjectBase* object : *cell) {
        // The mover never stands in its own way.
        if (object == &chara) continue;
        if (!object->canOtherWalk()) {
            const ObjectBase::LINK kind = object->getTypeOfLink();
            const bool isChara = kind == ObjectBase::LINK_PLAYER || kind == ObjectBase::LINK_NPC;
            if (ignoreChara && isChara) continue;
            if (chara.getType() == ObjectBase::TYPE_PLAYER &&
                object->getType() == ObjectBase::TYPE_FRIEND) {
                continue;
            }
            return false;
        }
        if (chara.getType() == ObjectBase::TYPE_ENEMY &&
            object->getType() == ObjectBase::TYPE_ITEM) {
            const auto* item = dynamic_cast<const ObjectItem*>(object);
            const ItemBase* base = item ? item->getBase() : nullptr;
            if (base && base->nameId() == "ScrollSanctuary") return false;
        }
    }
    return true;
}
