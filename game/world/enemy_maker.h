// The monster distribution: for each floor key (a dungeon level) a weighted
// list of monster definitions to populate the floor with and another for
// monsters that wander in later, read from a scrambled CSV file the scripts
// name.
//
// What it keeps true:
//   - Ids are kept in ascending order and each id once per list (its first
//     weight); id 0 is never listed.
//   - A pick never chooses an extinct id (the world's genocide set) or an id
//     whose weight is not positive; sums are 64-bit, so no list of 32-bit
//     weights can overflow them.
//   - A failed read changes nothing; the table and its file name change
//     together.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/data/csv_reader.h"
#include "game/world/value_types.h"

class ObjectNpc;

class EnemyMaker : public qel::ScriptObject {
public:
    using List = std::map<std::int32_t, std::int32_t>;  // id to weight
    struct Entry {
        List normal;
        List wander;
    };

    EnemyMaker() = default;
    QEL_CLASS(EnemyMaker, qel::ScriptObject, qel::Pool::Resources);

    // Reads `path` unless it is the file already loaded.
    bool loadFile(const std::string& path);
    // Reads `path`; when that fails, asks "リロード？" with the reason and
    // reads again on Retry. False on Cancel.
    bool reloadFile(const std::string& path);
    // One read of the file; false with the reason in `message`, nothing
    // changed.
    bool readFile(const std::string& path, LoadMessage message);
    void release();

    const std::string& getFileName() const { return fileName_; }
    // Null for a key without an entry.
    const Entry* getEntry(std::int32_t key) const;
    // The id a weighted draw chooses from the key's list, skipping extinct
    // ids and weights below 1; 0 when the key is unknown or nothing is left.
    // One draw of the shared generator when something is left.
    std::int32_t pickNormal(std::int32_t key) const;
    std::int32_t pickWander(std::int32_t key) const;
    static std::int32_t pick(const List& list);
    // A new monster of the drawn id at `point`, given its belongings; null
    // when nothing is drawn or the id has no monster definition.
    ObjectNpc* createNormal(std::int32_t key, const Point& point) const;
    ObjectNpc* createWander(std::int32_t key, const Point& point) const;
    // A listing of the key's entry for inspection: the file name and key,
    // then each list's ids with their weights and definitions.
    std::string getEnemyList(std::int32_t key) const;

private:
    static ObjectNpc* createOf(std::int32_t id, const Point& point);
    std::int32_t pickFrom(std::int32_t key, List Entry::*which) const;

    std::string fileName_;
    std::map<std::int32_t, Entry> distribution_;
};
