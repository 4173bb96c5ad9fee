// Every Action of the game, by tag. Loaded first of the tables at boot,
// because spells and skills name actions by tag and keep pointers to them:
// clearing or reloading the list after those tables leaves their pointers
// dangling, so it is loaded once.
//
// What it keeps true: tags are unique; the list owns its records and deletes
// them on clear() and at exit.
#pragma once

#include <string>

#include "engine/core/core.h"
#include "game/data/action.h"
#include "game/data/data_files.h"
#include "game/data/record_table.h"

// The action table: key cells name and tag; a missing file is an error.
struct ActionTable : TaggedTable<Action> {
    static constexpr const char* kFile = kActionTableFile;
    static constexpr const char* kNotFoundMessage = "アクションリストファイルが見つかりません : %s";
    static constexpr bool kMissingFileIsError = true;

    static bool parse(Action& action, const Keys& keys, CsvReader& reader, LoadMessage message,
                      int line);
    static void writeDuplicate(LoadMessage message, const Keys& keys, const Action& held, int line);
};

class ActionList : public qel::Core, public RecordTable<Action, ActionTable> {
public:
    ActionList();
    ~ActionList() override;

    // The game's list, empty until loaded.
    static ActionList& instance();

    QEL_CLASS(ActionList, qel::Core, qel::Pool::Resources);

    // load(), get(), insert(), clear() and size() are those of RecordTable.
    // Gives the records named in the language table at `path` its texts;
    // unknown tags and a missing table change nothing. Always true.
    bool loadLocale(const std::string& path);
    const Map& actions() const { return records(); }
};
