// The false names of unidentified item kinds, one list per name type, read
// from the unidentified-name table, and the game's working copy from which
// each new game hands them out without repetition.
//
// What it keeps true: numbers are positive and unique (rows with a number of
// 0 or less, or one already read, are skipped); the master lists own their
// entries in file order; the working lists only point into them and are
// emptied whenever the master lists change.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/core/core.h"
#include "engine/math/color.h"
#include "game/data/data_files.h"
#include "game/data/record_table.h"

class ItemName;

struct ItemNameEntry : qel::Core {
    std::int32_t number = 0;
    std::string nameType;
    qel::Color color;
    std::string name;
    std::string secondName;

    QEL_CLASS(ItemNameEntry, qel::Core, qel::Pool::Resources);
};

// The number that starts a row of the unidentified-name table.
struct NumberCell {
    std::int32_t number = 0;
    std::string text;

    void read(CsvReader& reader) {
        text = reader.readText();
        number = CsvReader::toInt(text, -1);
    }
    const std::string& label() const { return text; }
};

// The table reports nothing: a missing file is a failure without text, and
// rows are never refused (bad numbers and repeats are skipped).
struct ItemNameTable {
    using Key = std::int32_t;
    using Keys = NumberCell;
    static constexpr const char* kFile = kItemNameTableFile;
    static constexpr const char* kNotFoundMessage = nullptr;
    static constexpr bool kMissingFileIsError = true;

    static const Key& keyOf(const ItemNameEntry& entry) { return entry.number; }
    static bool keep(const ItemNameEntry& entry) { return entry.number > 0; }
    static bool parse(ItemNameEntry& entry, const Keys& keys, CsvReader& reader, LoadMessage,
                      int line);
    static void writeDuplicate(LoadMessage, const Keys&, const ItemNameEntry&, int) {}
};

class ItemNameList : public qel::Core, private RecordTable<ItemNameEntry, ItemNameTable> {
public:
    using Table = RecordTable<ItemNameEntry, ItemNameTable>;
    using Lists = std::map<std::string, std::vector<ItemNameEntry*>, std::less<>>;

    ItemNameList();
    ~ItemNameList() override;

    QEL_CLASS(ItemNameList, qel::Core, qel::Pool::Resources);

    // Replaces the lists with the table at `path`; false when it cannot be
    // opened.
    bool loadFile(const std::string& path = kItemNameTableFile);
    void clear();
    // Adds an entry (owned from now on); false, and the caller keeps it, for
    // a number of 0 or less or one already held.
    bool add(ItemNameEntry* entry);

    // The working lists become shuffled copies of the master lists.
    void shuffleAll();
    // Hands out the first name left of `nameType`; false, with number 0, the
    // names "???" and the default colour, when none is left.
    bool draw(const std::string& nameType, std::int32_t& number, std::string& name,
              std::string& secondName, qel::Color& color);

    // The entry with this number, or null.
    const ItemNameEntry* find(std::int32_t number) const { return get(number); }
    // Calls `apply` with every entry, in file order.
    void forEachEntry(const std::function<void(const ItemNameEntry&)>& apply) const;

    const Lists& master() const { return master_; }
    // A language's names: each row (number, name type, name, second name)
    // replaces the texts of the entry of that number in that type's list.
    // An unknown type gets an empty list and changes nothing.
    bool loadLocale(const std::string& path);
    const Lists& working() const { return working_; }
    using Table::size;

    // The shuffle of one list, k from 1 up: a[k] swaps with a[draw % (k + 1)].
    static void shuffle(std::vector<ItemNameEntry*>& list);

private:
    void rebuildMaster();

    Lists master_;
    Lists working_;
};
