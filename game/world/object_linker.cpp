#include "game/world/object_linker.h"

#include <algorithm>
#include <utility>

#include "game/world/object_base.h"
#include "game/world/object_manager.h"

ObjectLinker& ObjectLinker::instance() {
    static ObjectLinker linker;
    return linker;
}

void ObjectLinker::record(std::uint32_t id, ObjectBase* owner, ObjectBase** place,
                          const qel::ClassInfo* kind) {
    if (!place) return;
    if (id == 0) {
        *place = nullptr;
        return;
    }
    places_.push_back({id, owner, place, kind});
}

void ObjectLinker::recordHeldItem(std::uint32_t id, ObjectBase* holder) {
    if (id != 0 && holder) held_.push_back({id, holder});
}

void ObjectLinker::recordInventoryItem(std::uint32_t id, ObjectBase* chara) {
    if (id != 0 && chara) inventory_.push_back({id, chara});
}

void ObjectLinker::resolve(ObjectManager& manager) {
    // Taken out first: a receiving operation may record or forget.
    const std::vector<Holder> held = std::exchange(held_, {});
    const std::vector<Holder> inventory = std::exchange(inventory_, {});
    const qel::ClassInfo* item = ObjectManager::findClass("ObjectItem");
    auto itemWithId = [&](std::uint32_t id) -> ObjectBase* {
        ObjectBase* found = manager.search(id);
        return item && found && found->isKindOf(*item) ? found : nullptr;
    };
    for (const Holder& h : held) {
        if (ObjectBase* found = itemWithId(h.id)) h.holder->takeLinkedItem(found, false);
    }
    for (const Holder& h : inventory) {
        if (ObjectBase* found = itemWithId(h.id)) h.holder->takeLinkedItem(found, true);
    }
    for (const Place& p : std::exchange(places_, {})) {
        ObjectBase* found = manager.search(p.id);
        *p.place = !p.kind || (found && found->isKindOf(*p.kind)) ? found : nullptr;
    }
    clear();
}

void ObjectLinker::clear() {
    places_.clear();
    held_.clear();
    inventory_.clear();
}

void ObjectLinker::forget(const ObjectBase* object) {
    if (size() == 0) return;
    std::erase_if(places_, [object](const Place& p) { return p.owner == object; });
    std::erase_if(held_, [object](const Holder& h) { return h.holder == object; });
    std::erase_if(inventory_, [object](const Holder& h) { return h.holder == object; });
}
