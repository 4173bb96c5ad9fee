// Every item kind of the game (the item table), the unidentified names, and
// the four weighted group tables from which random items are drawn: the
// creation of item objects.
//
// A group table maps a group id to the group's weight (set by the scripts)
// and its members, each kind of the group with its own weight in that table.
// A draw picks a group by weight, then a member by weight, and creates a
// random item of that kind.
//
// What it keeps true:
//   - Kind ids are positive and unique; the name key lookup keeps the first
//     kind of a key; the file order, both lookups and the group tables hold
//     the same kinds, and clearing empties them all together.
//   - A group of weight 0 or less is never drawn, nor a member of weight 0
//     or less; no sum wraps (64-bit, weights capped at the 32-bit range).
//   - A draw that finds nothing, or names a table outside 0..3 or an
//     unknown group, creates nothing and changes nothing.
//   - Reading the name section changes no kind unless the whole section
//     reads.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/data/data_files.h"
#include "game/data/item_base.h"
#include "game/data/item_name_list.h"
#include "game/data/record_table.h"

class ObjectItem;
class VersionFile;

// The item id that starts a row; the row's main name is kept for messages.
struct ItemIdCell {
    std::int32_t id = -1;
    std::string text;
    mutable std::string mainName;

    void read(CsvReader& reader) {
        text = reader.readText();
        id = CsvReader::toInt(text, -1);
        mainName.clear();
    }
    const std::string& label() const { return mainName; }
};

struct ItemTable {
    using Key = std::int32_t;
    using Keys = ItemIdCell;
    static constexpr const char* kFile = kItemTableFile;
    static constexpr const char* kNotFoundMessage = "アイテムリストファイルが見つかりません : %s";
    static constexpr bool kMissingFileIsError = true;

    static Key keyOf(const ItemBase& base) { return base.id(); }
    // Eat and quaff scale by the satiety settings in force at the load.
    static bool parse(ItemBase& base, const Keys& keys, CsvReader& reader, LoadMessage message,
                      int line);
    static void writeDuplicate(LoadMessage message, const Keys& keys, const ItemBase& held,
                               int line);
};

class ItemFactory : public qel::ScriptObject, private RecordTable<ItemBase, ItemTable> {
public:
    using Table = RecordTable<ItemBase, ItemTable>;
    static constexpr int kTableCount = ItemBase::TABLE_COUNT;

    struct Member {
        ItemBase* base;
        std::int64_t weight;
    };
    struct Group {
        std::int64_t per = 0;
        std::int64_t sum = 0;
        std::vector<Member> members;
    };
    using GroupTable = std::map<std::int32_t, Group>;

    ItemFactory();
    ~ItemFactory() override;

    // The game's factory, empty until loaded.
    static ItemFactory& instance();

    QEL_CLASS(ItemFactory, qel::ScriptObject, qel::Pool::Resources);

    // Replaces every kind with the item table at `path`. False with the
    // reason in `message` when the file is missing or a row is bad; the
    // kinds of the rows before a bad one stay.
    bool loadFile(LoadMessage message, const std::string& path = kItemTableFile);
    // Replaces the unidentified names; false when the table is missing.
    bool loadNames(const std::string& path = kItemNameTableFile) { return names_.loadFile(path); }
    void clear();
    // Takes the kind (owned from now on) into the lookups and the group
    // tables; false, and the caller keeps it, for null or an id present.
    bool add(ItemBase* base);

    ItemBase* getBaseId(std::int32_t id) const { return get(id); }
    ItemBase* getBase(std::string_view nameId) const;
    // The kind at position i of the file order; null outside.
    ItemBase* getBaseIndex(std::int64_t i) const;
    using Table::size;
    const std::vector<ItemBase*>& kinds() const { return inOrder(); }

    // A random item of the kind with this id (name key), with `name` as its
    // own name; null when there is none.
    ObjectItem* createId(std::int32_t id, std::string_view name = {});
    ObjectItem* createName(std::string_view nameId, std::string_view name = {});
    // A random item drawn from table 0..3 (from one group of it); null for
    // another table, an unknown group or when nothing can be drawn.
    ObjectItem* createGroup(std::int64_t table);
    ObjectItem* createGroupId(std::int64_t table, std::int32_t group);
    ObjectItem* createPick() { return createGroup(ItemBase::TABLE_PICK); }
    ObjectItem* createShop() { return createGroup(ItemBase::TABLE_SHOP); }
    ObjectItem* createChange() { return createGroup(ItemBase::TABLE_CHANGE); }
    ObjectItem* createPick(std::int32_t group) {
        return createGroupId(ItemBase::TABLE_PICK, group);
    }
    ObjectItem* createShop(std::int32_t group) {
        return createGroupId(ItemBase::TABLE_SHOP, group);
    }
    ObjectItem* createChange(std::int32_t group) {
        return createGroupId(ItemBase::TABLE_CHANGE, group);
    }
    // Sets the weight of an existing group; nothing for another table or an
    // absent group.
    void setGroupPer(std::int64_t table, std::int32_t group, std::int32_t per);
    void setPickGroupPer(std::int32_t group, std::int32_t per) {
        setGroupPer(ItemBase::TABLE_PICK, group, per);
    }
    void setShopGroupPer(std::int32_t group, std::int32_t per) {
        setGroupPer(ItemBase::TABLE_SHOP, group, per);
    }
    void setChangeGroupPer(std::int32_t group, std::int32_t per) {
        setGroupPer(ItemBase::TABLE_CHANGE, group, per);
    }
    const GroupTable* groupTable(std::int64_t table) const;

    // A new item copied from `item`, standing where it stands, in no list.
    // Every create answers null when the world's pool has no room for the
    // item and its own list node.
    ObjectItem* createClone(const ObjectItem& item) const;
    // A new item of `base` with every draw; createNormal leaves out the
    // enhancement, curse and blessing draws.
    static ObjectItem* createRandom(ItemBase& base, std::string_view name = {});
    static ObjectItem* createNormal(ItemBase& base, std::string_view name = {});

    // A language's item texts: each row (id, main name, second main name,
    // counting word, explanation) replaces the kind's; "-" as the second
    // name copies the new main name. The name key stays.
    bool loadLocale(const std::string& path);

    // The start of a new game: every kind's name drawn again.
    void resetName();
    // The item-name section of the player save. Reading fails (false, and
    // no kind changes) on a cut or bad section.
    bool serialize(VersionFile& file, std::string* error = nullptr);
    // Every kind whose name carries a false-name number takes that entry's
    // current texts.
    void refreshFalseNames();

    ItemNameList& getNameList() { return names_; }

private:
    void index(ItemBase* base);
    ObjectItem* drawFrom(const Group& group);
    static ObjectItem* create(ItemBase& base, std::string_view name, bool random);

    std::map<std::string, ItemBase*, std::less<>> byNameId_;
    std::array<GroupTable, kTableCount> tables_;
    ItemNameList names_;
};
