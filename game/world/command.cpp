#include "game/world/command.h"

#include <algorithm>

#include "game/data/action.h"
#include "game/data/action_list.h"
#include "game/world/object_chara.h"
#include "game/world/object_item.h"

Command::Command(std::int32_t type, ObjectChara* actor) : type_(type), actor_(actor) {}

ObjectChara* Command::getActor() const {
    return actor_.get();
}

void Command::setActor(ObjectChara* actor) {
    actor_.reset(actor);
}

bool Command::addItem(ObjectItem* item) {
    if (!item) return false;
    items_.emplace_back(item);
    return true;
}

void Command::setDir(std::int64_t x, std::int64_t y) {
    dir_ = qel::Point(static_cast<std::int32_t>(std::clamp<std::int64_t>(x, -1, 1)),
                      static_cast<std::int32_t>(std::clamp<std::int64_t>(y, -1, 1)));
}

void Command::setAction(const Action* action) {
    action_ = action;
    if (action) actPoint_ = action->ap();
}

void Command::setAction(const char* tag) {
    const Action* action = tag ? ActionList::instance().get(tag) : nullptr;
    if (!action) {
        action_ = nullptr;
        return;
    }
    setAction(action);
}

void Command::addActPoint(std::int32_t points) {
    actPoint_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(actPoint_) +
                                          static_cast<std::uint32_t>(points));
}

ObjectItem* Command::getItem(std::int64_t index) const {
    if (index < 0 || index >= static_cast<std::int64_t>(items_.size())) return nullptr;
    return items_[static_cast<std::size_t>(index)].get();
}
