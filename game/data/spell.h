// A school of magic: a named, tagged list of the actions that belong to it,
// one row of the spell table. The actions are borrowed from ActionList.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/data/csv_reader.h"

class Action;

class Spell : public qel::ScriptObject {
public:
    Spell();
    ~Spell() override;

    QEL_CLASS(Spell, qel::ScriptObject, qel::Pool::Resources);

    // Stores the key cells and reads action tags up to the first cell that
    // is empty or begins with '-' (the end of the data counts as empty),
    // looking each up in ActionList. An unknown tag writes its message
    // (tag and spell name) and gives false.
    bool parse(LoadMessage message, CsvReader& reader, const std::string& name,
               const std::string& tag);

    const std::string& name() const { return name_; }
    const std::string& tag() const { return tag_; }
    std::size_t size() const { return actions_.size(); }
    // The index-th action in row order; null outside the list.
    const Action* action(std::size_t index) const;

    // The text a language overlay replaces.
    void setName(const std::string& name) { name_ = name; }

private:
    std::string name_;
    std::string tag_;
    std::vector<const Action*> actions_;
};
