#include "game/world/save_file_list.h"

#include <algorithm>

#include "engine/file/file.h"

namespace {
SaveFileList::SlotFolders g_folders;

std::string plainName(std::string_view name) {
    return std::string(name.substr(0, name.find('\0')));
}

}  // namespace

void SaveFileList::setSlotFolders(SlotFolders folders) {
    g_folders = folders;
}

const SaveFileList::Entry* SaveFileList::getEntry(std::int64_t index) const {
    if (index < 0 || index >= getDataNum()) return nullptr;
    return &entries_[static_cast<std::size_t>(index)];
}

const char* SaveFileList::getName(std::int64_t index) const {
    const Entry* entry = getEntry(index);
    return entry ? entry->name.c_str() : nullptr;
}

bool SaveFileList::hasId(std::int32_t id) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [id](const Entry& e) { return e.id == id; });
}

std::int32_t SaveFileList::newData(std::string_view name) {
    std::int32_t id = 1;
    while (hasId(id) || (g_folders.holdsSave && g_folders.holdsSave(id))) ++id;
    entries_.insert(entries_.begin(), Entry{id, plainName(name)});
    if (g_folders.remove) g_folders.remove(id);
    return id;
}

bool SaveFileList::adoptData(std::int32_t id, std::string_view name) {
    if (id < 1 || hasId(id)) return false;
    entries_.insert(entries_.begin(), Entry{id, plainName(name)});
    return true;
}

bool SaveFileList::updateData(std::int32_t id, std::string_view name) {
    const auto it =
        std::find_if(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    entries_.insert(entries_.begin(), Entry{id, plainName(name)});
    return true;
}

bool SaveFileList::removeData(std::int32_t id) {
    const auto it =
        std::find_if(entries_.begin(), entries_.end(), [id](const Entry& e) { return e.id == id; });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    if (g_folders.remove) g_folders.remove(id);
    return true;
}

bool SaveFileList::serialize(qel::File& file) {
    if (file.isWriteMode()) {
        std::uint32_t count = static_cast<std::uint32_t>(entries_.size());
        bool ok = file.serialize(count);
        for (Entry& entry : entries_) {
            std::uint32_t id = static_cast<std::uint32_t>(entry.id);
            ok = ok && file.serialize(id) && file.writeString(entry.name);
        }
        return ok;
    }
    std::uint32_t count = 0;
    if (!file.serialize(count)) return false;
    std::vector<Entry> read;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t id = 0;
        std::string name;
        if (!file.serialize(id) || !file.serializeString(name)) return false;
        read.push_back({static_cast<std::int32_t>(id), std::move(name)});
    }
    entries_.swap(read);
    return true;
}
