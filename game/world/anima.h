// A collectible spirit tied to the item definition of the same id: one row
// of the anima table. Its number, tag, rarity, level, drop weight and
// whether the player may select it come from the row; its name,
// explanation, chip and colour are always the item definition's, copied by
// setItem() at the load and again after a language overlay.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/data/csv_reader.h"
#include "game/world/value_types.h"

class Anima : public qel::ScriptObject {
public:
    // Empty texts, chip (0, 0), every number 0.
    Anima();
    ~Anima() override;

    QEL_CLASS(Anima, qel::ScriptObject, qel::Pool::Resources);

    // Sets the id, copies the item's texts, then reads the row's cells after
    // the id. False when no item has the id (before any further cell is
    // read) or the data ran out inside the row.
    bool parse(std::int32_t id, CsvReader& reader);
    // Copies the main name, explanation, chip and name colour of the item
    // definition with this anima's id; false (nothing changed) when there
    // is none.
    bool setItem();

    std::int32_t id() const { return id_; }
    const std::string& name() const { return name_; }
    std::int32_t no() const { return no_; }
    const std::string& tag() const { return tag_; }
    std::int32_t rarity() const { return rarity_; }
    std::int32_t level() const { return level_; }
    std::int32_t drop() const { return drop_; }
    bool canSelect() const { return canSelect_; }
    const std::string& explain() const { return explain_; }
    const Point& chip() const { return chip_; }
    const Color& color() const { return color_; }

private:
    std::int32_t id_ = 0;
    std::string name_;
    std::int32_t no_ = 0;
    std::string tag_;
    std::int32_t rarity_ = 0;
    std::int32_t level_ = 0;
    std::int32_t drop_ = 0;
    bool canSelect_ = false;
    std::string explain_;
    Point chip_;
    Color color_;
};
