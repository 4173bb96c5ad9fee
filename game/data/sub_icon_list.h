// The small icons drawn over a character's map picture, each a chip of the
// chip sheet with a sort key and a colour. The decorator chain fills it;
// scripts may make, fill and read one. Its sort is stable, so icons of equal
// key keep the order they were added in (the blink shows them in turn).
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "engine/math/color.h"
#include "engine/math/point.h"
#include "game/data/keyed_list.h"

// An entry (the scripts' SubIconList.Data).
class SubIconData : public qel::ScriptObject {
public:
    SubIconData() = default;
    SubIconData(std::int32_t key_, const qel::Point& chip_, const qel::Color& color_)
        : key(key_), chip(chip_), color(color_) {}

    static const qel::ClassInfo& staticClassInfo() {
        return qel::classRecord<SubIconData, qel::ScriptObject, true>("Data");
    }
    const qel::ClassInfo& classInfo() const override { return staticClassInfo(); }
    QEL_POOLED(qel::Pool::General);

    qel::Color getColor() const { return color; }

    std::int32_t key = 0;
    qel::Point chip;
    qel::Color color = qel::Color::WHITE;
};

class SubIconList : public qel::ScriptObject, public KeyedList<SubIconData, true> {
public:
    using Data = SubIconData;

    SubIconList() = default;
    ~SubIconList() override;
    QEL_CLASS(SubIconList, qel::ScriptObject, qel::Pool::General);

    // False when the pool had no room for the entry.
    bool add(std::int32_t priority, const qel::Point& chip, const qel::Color& color) {
        return append(new Data(priority, chip, color));
    }
};
