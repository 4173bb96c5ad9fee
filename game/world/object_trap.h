// A trap: a still object with a tag and eight work values for the scripts.
// It starts hidden; a script shows it when it is found.
#pragma once

#include "game/world/object_base.h"
#include "game/world/object_work.h"

class ObjectTrap : public ObjectBase {
public:
    ObjectTrap() = default;
    ObjectTrap(std::string_view name, std::string_view tag, const Point& chip, const Color& color,
               const Point& pos);

    QEL_CLASS(ObjectTrap, ObjectBase, qel::Pool::World);

    bool serialize(VersionFile& file) override;

    const char* getTag() const { return work_.getTag(); }
    void setTag(std::string_view tag) { work_.setTag(tag); }
    std::int32_t getWork(std::int64_t i) const { return work_.getWork(i); }
    void setWork(std::int64_t i, std::int32_t value) { work_.setWork(i, value); }

private:
    ObjectWork work_;
};
