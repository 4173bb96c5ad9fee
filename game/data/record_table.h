// One data table of the game loaded from a CSV file: its records, owned and
// found by their key, and the load every such table shares (actions, spells,
// and the skill, item, monster, anima and character-creation tables).
//
// A table is RecordTable<Record, Traits>; the list class derives from it
// (and from qel::Core, for its class record). Traits is a struct that says
// everything particular to the table:
//
//     struct ActionTable {
//         using Key = std::string;      // what records are found by: a text
//                                       // tag or an integer id
//         using Keys = NameTagCells;    // the row's key cells (see below)
//         static constexpr const char* kFile = kActionTableFile;
//         // Written with the path when the file cannot be opened.
//         static constexpr const char* kNotFoundMessage = "...: %s";
//         // False: a missing file loads as an empty table and is no failure.
//         static constexpr bool kMissingFileIsError = true;
//         static const Key& keyOf(const Action& record);
//         // Reads the rest of the row into `record`; on failure writes the
//         // table's bad-row message (with `line`) and returns false.
//         static bool parse(Action& record, const Keys& keys, CsvReader& reader,
//                           LoadMessage message, int line);
//         // Writes the message for a row whose key `held` already has.
//         static void writeDuplicate(LoadMessage message, const Keys& keys,
//                                    const Action& held, int line);
//     };
//
// Traits may also define `static bool keep(const Record&)`: a table with
// it skips, without failing, the rows it refuses and the rows that repeat a
// key (the first row of a key stays).
//
// A key-cells type reads the cells that start a row (`read`) and names the
// row in messages (`label`); NameTagCells is the common one, and traits of a
// table keyed by tag with those cells derive from TaggedTable<Record>, which
// supplies Key, Keys and keyOf.
//
// What it keeps true: keys are unique; each record held is deleted exactly
// once, on clear() or with the table; a load that fails keeps the records
// of the rows before the failing one, and never the failing row's.
#pragma once

#include <concepts>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "game/data/csv_reader.h"

// The key cells of most tables: the row's name, then its tag.
struct NameTagCells {
    std::string name;
    std::string tag;

    void read(CsvReader& reader) {
        name = reader.readText();
        tag = reader.readText();
    }
    const std::string& label() const { return name; }
};

// The part of the traits every table found by tag, with name and tag as its
// key cells, shares.
template <class Record>
struct TaggedTable {
    using Key = std::string;
    using Keys = NameTagCells;
    static const std::string& keyOf(const Record& record) { return record.tag(); }
};

template <class Record, class Traits>
class RecordTable {
public:
    using Key = typename Traits::Key;
    using Keys = typename Traits::Keys;
    using Map = std::map<Key, Record*, std::less<>>;
    static constexpr bool kTextKeys = std::same_as<Key, std::string>;

    RecordTable() = default;
    ~RecordTable() { clear(); }
    RecordTable(const RecordTable&) = delete;
    RecordTable& operator=(const RecordTable&) = delete;

    // The record with this tag; null for an unknown, empty or null tag.
    Record* get(std::string_view tag) const requires kTextKeys {
        return tag.empty() ? nullptr : find(tag);
    }
    Record* get(const char* tag) const requires kTextKeys {
        return tag ? get(std::string_view(tag)) : nullptr;
    }
    // The record with this id; null for an unknown one.
    Record* get(Key id) const requires(!kTextKeys) { return find(id); }

    // Takes `record` under its key. False, and nothing changed (the caller
    // keeps it), when the key is present or `record` is null.
    bool insert(Record* record) {
        if (!record || !records_.try_emplace(Traits::keyOf(*record), record).second) return false;
        order_.push_back(record);
        return true;
    }
    // Deletes every record.
    void clear() {
        static_assert(sizeof(Record) > 0, "records are deleted where their class is complete");
        for (auto& [key, record] : records_) delete record;
        records_.clear();
        order_.clear();
    }

    std::size_t size() const { return records_.size(); }
    // Key order (byte-wise for tags).
    const Map& records() const { return records_; }
    // The records in the order they were inserted (file order for a load).
    const std::vector<Record*>& inOrder() const { return order_; }

    // Replaces the table with the file at `path` (the game's file by
    // default). False with the reason in `message` when the file is missing
    // (unless the table allows it), a row is bad or a key repeats.
    bool load(LoadMessage message, const std::string& path = Traits::kFile) {
        Keys keys;
        CsvTableLoad table;
        table.path = path;
        table.notFoundFormat = Traits::kNotFoundMessage;
        table.resultWhenMissing = !Traits::kMissingFileIsError;
        table.clear = [this] { clear(); };
        table.readKeys = [&keys](CsvReader& reader) { keys.read(reader); };
        table.loadRow = [&](CsvReader& reader, int line) {
            return loadRow(keys, reader, message, line);
        };
        return loadCsvTable(table, message);
    }

protected:
    // The record held under exactly this key, the empty tag included: what a
    // loader names when a row repeats a key.
    template <class K>
    Record* find(const K& key) const {
        const auto it = records_.find(key);
        return it == records_.end() ? nullptr : it->second;
    }

private:
    static constexpr bool kSkipsRows = requires(const Record& r) { Traits::keep(r); };

    bool loadRow(const Keys& keys, CsvReader& reader, LoadMessage message, int line) {
        Record* record = new Record();
        if (!record) {
            writeLoadMessage(message, "メモリが足りません。 line%d : %s", line,
                             keys.label().c_str());
            return false;
        }
        if (!Traits::parse(*record, keys, reader, message, line)) {
            delete record;
            return false;
        }
        if constexpr (kSkipsRows) {
            if (!Traits::keep(*record) || find(Traits::keyOf(*record))) {
                delete record;
                return true;
            }
        } else if (const Record* held = find(Traits::keyOf(*record))) {
            Traits::writeDuplicate(message, keys, *held, line);
            delete record;
            return false;
        }
        insert(record);
        return true;
    }

    Map records_;
    std::vector<Record*> order_;
};
