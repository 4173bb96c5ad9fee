// One class a new character can take: a row of the class table. Its names,
// picture and colour, the class it is based on, the status figures it adds
// and the skills it enables.
//
// What it keeps true: as for races, a class is read whole or reported bad,
// its status block starts fresh and only the table's cells change it, and
// a deleted class leaves no script value pointing at it or at its parts.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/world/status.h"
#include "game/world/value_types.h"

class CsvReader;
class ObjectPlayer;

class ClassBase : public qel::ScriptObject {
public:
    ClassBase() = default;
    ClassBase(const ClassBase&) = delete;
    ClassBase& operator=(const ClassBase&) = delete;

    QEL_CLASS(ClassBase, qel::ScriptObject, qel::Pool::Resources);

    // Reads the cells after the id cell. False when the data ran out in the
    // row (the row is bad).
    bool parse(CsvReader& reader, std::int32_t rowId);

    // Makes the player of this class: its name and id, its colour, its
    // figures added (except the two ratio figures) and its skills enabled.
    // False for no player.
    bool upgrade(ObjectPlayer* player) const;

    std::int32_t id() const { return id_; }
    const std::string& name() const { return name_; }
    const std::string& nameMini() const { return nameMini_; }
    bool isStart() const { return start_; }
    std::int32_t baseId() const { return baseId_; }
    const Point& chip() const { return chip_; }
    const Color& color() const { return color_; }
    const Status& status() const { return status_; }
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
    std::int32_t baseId_ = -1;
    Point chip_{0, 0};
    Color color_;
    Status status_;
    std::vector<std::string> skills_;
    std::string expression_;
};
