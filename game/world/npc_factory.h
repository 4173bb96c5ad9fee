// Every monster definition, in file order, found by id and by name key, and
// the definitions of type 1 that random generation draws from.
//
// What it keeps true: ids are unique; a repeated name key finds the first
// definition; the random list holds exactly the held definitions of type 1
// in file order; every definition is deleted once, on clear, on a new load
// or with the factory.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/data/data_files.h"
#include "game/data/record_table.h"
#include "game/world/npc_base.h"

class ObjectNpc;

// The id that starts a row; the row's name is kept for messages.
struct NpcIdCell {
    std::int32_t id = -1;
    mutable std::string name;

    void read(CsvReader& reader) {
        id = CsvReader::toInt(reader.readText(), -1);
        name.clear();
    }
    const std::string& label() const { return name; }
};

struct NpcTable {
    using Key = std::int32_t;
    using Keys = NpcIdCell;
    static constexpr const char* kFile = kMonsterTableFile;
    static constexpr const char* kNotFoundMessage = "NPCリストファイルが見つかりません : %s";
    static constexpr bool kMissingFileIsError = true;

    static Key keyOf(const NpcBase& base) { return base.id; }
    static bool parse(NpcBase& base, const Keys& keys, CsvReader& reader, LoadMessage message,
                      int line);
    static void writeDuplicate(LoadMessage message, const Keys& keys, const NpcBase& held,
                               int line);
};

class NpcFactory : public qel::ScriptObject, private RecordTable<NpcBase, NpcTable> {
public:
    using Table = RecordTable<NpcBase, NpcTable>;

    NpcFactory();
    ~NpcFactory() override;
    // The game's factory, empty until loaded.
    static NpcFactory& instance();

    QEL_CLASS(NpcFactory, qel::ScriptObject, qel::Pool::Resources);

    // Replaces every definition with the table at `path`. False with the
    // reason in `message` when the file is missing, a row is bad or an id
    // repeats; the definitions of the rows before stay.
    bool loadFile(LoadMessage message, const std::string& path = kMonsterTableFile);
    void clear();
    // Takes the definition (owned from now on); false, and the caller keeps
    // it, for null or an id present.
    bool add(NpcBase* base);

    NpcBase* getBaseId(std::int32_t id) const { return get(id); }
    NpcBase* getBase(std::string_view nameId) const;
    // The definition at position i of the file order; null outside.
    NpcBase* getBaseIndex(std::int64_t i) const;
    using Table::size;
    const std::vector<NpcBase*>& definitions() const { return inOrder(); }
    const std::vector<NpcBase*>& randomList() const { return random_; }
    // A new monster of the definition with this id or name key at `point`
    // (NpcBase::create); null when there is none.
    ObjectNpc* create(std::int32_t id, const Point& point = Point(-1, -1)) const;
    ObjectNpc* createName(std::string_view nameId, const Point& point = Point(-1, -1)) const;
    // A new monster of the other's definition at `point`; null without one.
    ObjectNpc* createClone(const ObjectNpc* other, const Point& point = Point(-1, -1)) const;
    // A new monster of a definition drawn from the random list; null when
    // the list is empty.
    ObjectNpc* createRandom(const Point& point = Point(-1, -1)) const;

    // A language's monster names: each row (id, name) replaces the
    // definition's display name; the name key stays.
    bool loadLocale(const std::string& path);

    // The definition random generation draws next (one draw of the shared
    // generator); null, and no draw, when the random list is empty.
    NpcBase* pickRandom() const;

private:
    void index(NpcBase* base);

    std::map<std::string, NpcBase*, std::less<>> byNameId_;
    std::vector<NpcBase*> random_;
};
