// Every Spell (school of magic) of the game, by tag. Loaded after the action
// table, whose tags its rows name, and before the skill table, whose levels
// name spells. A missing spell table is no failure: the game then has no
// spells.
//
// What it keeps true: tags are unique; the list owns its records and deletes
// them on clear() and at exit.
#pragma once

#include <cstddef>
#include <string>

#include "engine/core/core.h"
#include "game/data/csv_reader.h"
#include "game/data/tagged_records.h"

class Spell;

class SpellList : public qel::Core, public TaggedRecords<Spell> {
public:
    static constexpr const char* kDefaultPath = "data/data08.dat";

    SpellList();
    ~SpellList() override;

    // The game's list, empty until loaded.
    static SpellList& instance();

    QEL_CLASS(SpellList, qel::Core, qel::Pool::Resources);

    // Replaces the list with the table at `path` (key cells name and tag).
    // A missing table writes its message and is still true; a bad row or a
    // repeated tag is false with the reason in `message`, and the rows
    // before it stay loaded.
    bool load(LoadMessage message, const std::string& path = kDefaultPath);

    // get(), insert(), clear() and size() are those of TaggedRecords.
    const Map& spells() const { return records(); }
};
