// The save slots in display order, the most recently made or renamed
// first, each an id (the number of its folder) and a name. Kept in the
// global record file.
//
// What it keeps true: ids are unique and at least 1 for the slots this
// list makes; an index outside the list answers none. A new slot's folder
// is emptied (through the remover the save code installs) before it is
// handed out, and a removed slot's folder goes with it. A failed read
// leaves the list as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/core.h"

namespace qel {
class File;
}

class SaveFileList : public qel::Core {
public:
    // Deletes every file of a slot's folder and the folder; true on success.
    using SlotRemover = bool (*)(std::int32_t id);
    static void setSlotRemover(SlotRemover remover);

    struct Entry {
        std::int32_t id;
        std::string name;
    };

    SaveFileList() = default;

    QEL_CLASS(SaveFileList, qel::Core, qel::Pool::SmallRecords);

    std::int32_t getDataNum() const { return static_cast<std::int32_t>(entries_.size()); }
    // Null outside 0..count-1.
    const Entry* getEntry(std::int64_t index) const;
    const char* getName(std::int64_t index) const;
    bool hasId(std::int32_t id) const;

    // The smallest free id from 1, put first with `name`; its folder is
    // emptied. Returns the id.
    std::int32_t newData(std::string_view name);
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
