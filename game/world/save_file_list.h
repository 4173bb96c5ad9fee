// The save slots in display order, the most recently made or renamed
// first, each an id (the number of its folder) and a name. Kept in the
// global record file.
//
// What it keeps true: ids are unique and at least 1 for the slots this
// list makes; an index outside the list answers none. A new slot never
// takes the folder of a committed save, named or not (the global record may
// be lost or older than the slot): its folder holds at most leftovers of a
// save that never counted, and is emptied before the slot is handed out. A
// removed slot's folder goes with it. The save code installs how folders
// are probed and emptied. A failed read leaves the list as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"

namespace qel {
class File;
}

class SaveFileList : public qel::ScriptObject {
public:
    // What the list asks of the slot folders: `remove` deletes every file
    // of a slot's folder and the folder (true on success); `holdsSave`
    // tells whether the folder holds a committed save. Unset, nothing is
    // removed and no folder holds a save.
    struct SlotFolders {
        bool (*remove)(std::int32_t id) = nullptr;
        bool (*holdsSave)(std::int32_t id) = nullptr;
    };
    static void setSlotFolders(SlotFolders folders);

    struct Entry {
        std::int32_t id;
        std::string name;
    };

    SaveFileList() = default;

    QEL_CLASS(SaveFileList, qel::ScriptObject, qel::Pool::SmallRecords);

    std::int32_t getDataNum() const { return static_cast<std::int32_t>(entries_.size()); }
    // Null outside 0..count-1.
    const Entry* getEntry(std::int64_t index) const;
    const char* getName(std::int64_t index) const;
    bool hasId(std::int32_t id) const;

    // The smallest id from 1 that no slot has and whose folder holds no
    // committed save, put first with `name`; its folder is emptied.
    // Returns the id.
    std::int32_t newData(std::string_view name);
    // Names a slot found on the disc that the list does not name: it is put
    // first. False (nothing changes) for an id below 1 or one named already.
    bool adoptData(std::int32_t id, std::string_view name);
    // Renames the slot and moves it first; false when there is none.
    bool updateData(std::int32_t id, std::string_view name);
    // Removes the slot and its files; false when there is none.
    bool removeData(std::int32_t id);
    void clear() { entries_.clear(); }

    // u32 count, then u32 id and the NUL-terminated name per slot in list
    // order; reads in the read modes, writes otherwise.
    bool serialize(qel::File& file);

private:
    std::vector<Entry> entries_;
};
