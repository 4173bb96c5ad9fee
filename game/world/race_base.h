// One race a new character can be: a row of the race table. Its names,
// picture, colour and race word, the status figures it adds, the kinds of
// equipment it allows and the skills it enables.
//
// What it keeps true: a race is read whole or reported bad; the status
// block starts fresh (0, the two ratio figures 100) and only the table's
// cells change it; the equipment cells set bits 0..10 of the equip flag
// and nothing else. A deleted race leaves no script value pointing at it
// or at its parts.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/data/equip_flag.h"
#include "game/world/status.h"
#include "game/world/value_types.h"

class CsvReader;
class ObjectPlayer;

class RaceBase : public qel::ScriptObject {
public:
    // The equipment cells of a row, right hand first.
    static constexpr int kEquipCells = 11;

    RaceBase() = default;
    RaceBase(const RaceBase&) = delete;
    RaceBase& operator=(const RaceBase&) = delete;

    QEL_CLASS(RaceBase, qel::ScriptObject, qel::Pool::Resources);

    // Reads the cells after the id cell. False when the data ran out in the
    // row (the row is bad).
    bool parse(CsvReader& reader, std::int32_t rowId);

    // Makes the player of this race: its name and id, its picture, its
    // figures added (except the two ratio figures), its skills enabled, and
    // the player's equip flag narrowed to what this race allows. False for
    // no player.
    bool upgrade(ObjectPlayer* player) const;

    std::int32_t id() const { return id_; }
    const std::string& name() const { return name_; }
    const std::string& nameMini() const { return nameMini_; }
    bool isStart() const { return start_; }
    bool isAlter() const { return alter_; }
    const Point& chip() const { return chip_; }
    const Color& color() const { return color_; }
    std::int32_t raceValue() const { return raceValue_; }
    const Status& status() const { return status_; }
    const EquipFlag& equipFlag() const { return equipFlag_; }
    std::int32_t skillCount() const { return static_cast<std::int32_t>(skills_.size()); }
    // Null outside 0..skillCount()-1.
    const char* skill(std::int64_t index) const;
    const std::vector<std::string>& skills() const { return skills_; }
    const std::string& expression() const { return expression_; }
    // A language's texts in place of the table's (Localize).
    void setTexts(std::string name, std::string nameMini, std::string expression) {
        name_ = std::move(name);
        nameMini_ = std::move(nameMini);
        expression_ = std::move(expression);
    }

private:
    std::int32_t id_ = -1;
    std::string name_;
    std::string nameMini_;
    bool start_ = false;
    bool alter_ = false;
    Point chip_{0, 0};
    Color color_;
    std::int32_t raceValue_ = 0;
    Status status_;
    EquipFlag equipFlag_;
    std::vector<std::string> skills_;
    std::string expression_;
};
