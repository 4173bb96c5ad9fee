// Every Spell (school of magic) of the game, by tag. Loaded after the action
// table, whose tags its rows name, and before the skill table, whose levels
// name spells. A missing spell table is no failure: the game then has no
// spells.
//
// What it keeps true: tags are unique; the list owns its records and deletes
// them on clear() and at exit.
#pragma once

#include <string>

#include "engine/core/core.h"
#include "game/data/data_files.h"
#include "game/data/record_table.h"
#include "game/data/spell.h"

// The spell table: key cells name and tag; a missing file writes its message
// and still loads (as an empty table).
struct SpellTable : TaggedTable<Spell> {
    static constexpr const char* kFile = kSpellTableFile;
    static constexpr const char* kNotFoundMessage = "魔法系統リストファイルが見つかりません : %s";
    static constexpr bool kMissingFileIsError = false;

    static bool parse(Spell& spell, const Keys& keys, CsvReader& reader, LoadMessage message,
                      int line);
    static void writeDuplicate(LoadMessage message, const Keys& keys, const Spell& held, int line);
};

class SpellList : public qel::Core, public RecordTable<Spell, SpellTable> {
public:
    SpellList();
    ~SpellList() override;

    // The game's list, empty until loaded.
    static SpellList& instance();

    QEL_CLASS(SpellList, qel::Core, qel::Pool::Resources);

    // load(), get(), insert(), clear() and size() are those of RecordTable.
    // Gives the records named in the language table at `path` its texts;
    // unknown tags and a missing table change nothing. Always true.
    bool loadLocale(const std::string& path);
    const Map& spells() const { return records(); }
};
