#include "game/shell/ui/followed_object.h"

#include "game/shell/settings.h"
#include "game/world/game_data.h"
#include "game/world/object_anim.h"

FollowedObject::FollowedObject() : objects_(GameData::instance().getObjectManager()) {
    if (objects_) objects_->addListener(this);
}

FollowedObject::~FollowedObject() {
    if (objects_) objects_->removeListener(this);
}

void FollowedObject::objectDeleted(ObjectBase* object) {
    // By address: the object may be inside its destructor.
    if (static_cast<const void*>(object) == static_cast<const void*>(object_)) object_ = nullptr;
}

void FollowedObject::managerDestroyed(ObjectManager* manager) {
    if (manager != objects_) return;
    objects_ = nullptr;
    object_ = nullptr;
}

Vector2 FollowedObject::place(Point& cell) const {
    Vector2 at;
    if (object_) cell = object_->getPos();
    if (const auto* anim = qel::classCast<ObjectAnim>(object_)) {
        at = anim->getAnimPos();
    } else {
        at = Vector2(static_cast<float>(static_cast<std::int64_t>(cell.x) * CHIP_WIDTH),
                     static_cast<float>(static_cast<std::int64_t>(cell.y) * CHIP_HEIGHT));
    }
    return at + ObjectAnim::getViewOffset();
}
