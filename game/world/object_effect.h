// A short-lived animated picture that may stand in for another object (its
// sync object, kept hidden while the effect plays). When its steps run out
// it shows the sync object again, hides itself and queues its own removal.
//
// What it keeps true: the sync object is held by id and looked up when the
// effect ends, so an effect outliving it touches nothing; steps are not
// saved, so a loaded effect ends at its first update.
#pragma once

#include <cstdint>

#include "game/world/object_anim.h"

class ObjectEffect : public ObjectAnim {
public:
    ObjectEffect() = default;
    ObjectEffect(std::string_view name, const Point& chip, const Color& color, const Point& pos);

    QEL_CLASS(ObjectEffect, ObjectAnim, qel::Pool::World);

    bool isInWater() const override { return false; }
    bool updateAnim() override;
    bool serialize(VersionFile& file) override;
    void afterRead() override;

    // Hides the object and remembers it; null remembers none.
    void setSyncObject(ObjectBase* object);
    std::uint32_t getSyncId() const { return syncId_; }

private:
    std::uint32_t syncId_ = 0;
};
