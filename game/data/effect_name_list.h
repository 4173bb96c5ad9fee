// The names of the effects now on a character, each with a sort key and a
// colour, as the status display shows them. A character's decorator chain
// and the full-time effects fill it; scripts may make, fill and read one.
// Its sort does not keep the order of equal keys.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "engine/math/color.h"
#include "game/data/keyed_list.h"

// An entry (the scripts' EffectNameList.Data).
class EffectNameData : public qel::ScriptObject {
public:
    EffectNameData() = default;
    EffectNameData(std::int32_t key_, std::string name_, const qel::Color& color_)
        : key(key_), name(std::move(name_)), color(color_) {}

    static const qel::ClassInfo& staticClassInfo() {
        return qel::classRecord<EffectNameData, qel::ScriptObject, true>("Data");
    }
    const qel::ClassInfo& classInfo() const override { return staticClassInfo(); }
    QEL_POOLED(qel::Pool::General);

    std::int32_t key = 0;
    std::string name;
    qel::Color color = qel::Color::WHITE;
};

class EffectNameList : public qel::ScriptObject, public KeyedList<EffectNameData, false> {
public:
    using Data = EffectNameData;

    EffectNameList() = default;
    ~EffectNameList() override;
    QEL_CLASS(EffectNameList, qel::ScriptObject, qel::Pool::General);

    // False when the pool had no room for the entry.
    bool add(std::int32_t priority, const std::string& name, const qel::Color& color) {
        return append(new Data(priority, name, color));
    }
};
