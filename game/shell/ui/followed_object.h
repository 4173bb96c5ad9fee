// The map object a marker follows (the cursor, the direction picker), let
// go when the object is deleted, and the marker's drawing place: the
// object's drawing position while it is followed (an animating object's
// picture, not only its cell), otherwise the marker's own cell.
#pragma once

#include "game/world/object_manager.h"
#include "game/world/value_types.h"

class ObjectBase;

class FollowedObject : private ObjectManager::Listener {
public:
    FollowedObject();
    ~FollowedObject();
    FollowedObject(const FollowedObject&) = delete;
    FollowedObject& operator=(const FollowedObject&) = delete;

    ObjectBase* get() const { return object_; }
    void set(ObjectBase* object) { object_ = object; }

    // The top-left pixel of the marker's cell as the map draws it; a
    // followed object first gives its cell to `cell`.
    Vector2 place(Point& cell) const;

private:
    void objectDeleted(ObjectBase* object) override;
    void managerDestroyed(ObjectManager* manager) override;

    ObjectManager* objects_ = nullptr;
    ObjectBase* object_ = nullptr;
};
