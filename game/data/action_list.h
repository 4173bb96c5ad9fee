// Every Action of the game, by tag. Loaded first of the tables at boot,
// because spells and skills name actions by tag and keep pointers to them:
// clearing or reloading the list after those tables leaves their pointers
// dangling, so it is loaded once.
//
// What it keeps true: tags are unique; the list owns its records and deletes
// them on clear() and at exit.
#pragma once

#include <cstddef>
#include <string>

#include "engine/core/core.h"
#include "game/data/csv_reader.h"
#include "game/data/tagged_records.h"

class Action;

class ActionList : public qel::Core, public TaggedRecords<Action> {
public:
    static constexpr const char* kDefaultPath = "data/data06.dat";

    ActionList();
    ~ActionList() override;

    // The game's list, empty until loaded.
    static ActionList& instance();

    QEL_CLASS(ActionList, qel::Core, qel::Pool::Resources);

    // Replaces the list with the table at `path` (key cells name and tag).
    // False with the reason in `message` when the table is missing, a row is
    // bad or a tag repeats; the rows before a failing row stay loaded.
    bool load(LoadMessage message, const std::string& path = kDefaultPath);

    // get(), insert(), clear() and size() are those of TaggedRecords.
    const Map& actions() const { return records(); }
};
