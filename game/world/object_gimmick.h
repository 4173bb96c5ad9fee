// An animated fixture of the field (a floor, table or wall piece) with a
// tag and eight work values for the scripts.
#pragma once

#include "game/world/object_anim.h"
#include "game/world/object_work.h"

class ObjectGimmick : public ObjectAnim {
public:
    ObjectGimmick() = default;
    ObjectGimmick(std::string_view name, std::string_view tag, const Point& chip,
                  const Color& color, const INFO& info, const Point& pos);

    QEL_CLASS(ObjectGimmick, ObjectAnim, qel::Pool::World);

    bool serialize(VersionFile& file) override;

    const char* getTag() const { return work_.getTag(); }
    void setTag(std::string_view tag) { work_.setTag(tag); }
    std::int32_t getWork(std::int64_t i) const { return work_.getWork(i); }
    void setWork(std::int64_t i, std::int32_t value) { work_.setWork(i, value); }

private:
    ObjectWork work_;
};
