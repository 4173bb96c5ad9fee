// Reads a whole script package (see package_writer.h for the layout) into
// memory. Entries keep their stored order, which is the order the boot runs
// them in; each entry's bytes are followed by a NUL so a script can be
// handed on as text.
//
// A package whose last entry is cut short keeps every entry before it and
// reports the damage: load() is false and says which entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/core.h"
#include "game/data/data_files.h"

class PackageReader : public qel::Core {
public:
    // The game's script package.
    static constexpr const char* kDefaultPath = kScriptPackageFile;

    struct Entry {
        std::string name;
        std::vector<char> data;  // size + 1 bytes, the last one NUL
        std::uint32_t size = 0;

        const char* text() const { return data.data(); }
    };

    // Empty; load() reads a package.
    PackageReader();
    // Loads `path` at once, as load() does.
    explicit PackageReader(const std::string& path, std::string* error = nullptr);
    ~PackageReader() override;

    QEL_CLASS(PackageReader, qel::Core, qel::Pool::Resources);

    // Replaces the entries with those of the package at `path`. False, with
    // the reason in `error` when one is given, when the file cannot be
    // opened or its last entry is cut short.
    bool load(const std::string& path = kDefaultPath, std::string* error = nullptr);
    void clear();

    std::size_t getCount() const { return entries_.size(); }
    const Entry& getEntry(std::size_t index) const { return entries_.at(index); }
    const std::vector<Entry>& getEntries() const { return entries_; }

private:
    std::vector<Entry> entries_;
};
