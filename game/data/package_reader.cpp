#include "game/data/package_reader.h"

#include <utility>

#include "engine/file/file.h"

PackageReader::PackageReader() = default;

PackageReader::PackageReader(const std::string& path, std::string* error) {
    load(path, error);
}

PackageReader::~PackageReader() {
    clear();
}

void PackageReader::clear() {
    entries_.clear();
}

bool PackageReader::load(const std::string& path, std::string* error) {
    clear();
    const auto fail = [error](std::string reason) {
        if (error) *error = std::move(reason);
        return false;
    };
    qel::File file;
    if (!file.open(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY)) {
        return fail("cannot open the script package " + path);
    }
    // Each failure names the entry it found damaged: its number from 1 and,
    // once read, its name.
    while (file.tell() < file.getSize()) {
        Entry entry;
        const std::string number = std::to_string(entries_.size() + 1);
        if (!file.serializeString(entry.name)) {
            return fail("the script package " + path + " ends inside the name of entry " + number);
        }
        const std::string named = "entry " + number + " (" + entry.name + ")";
        unsigned char sizeBytes[4];
        if (!file.read(sizeBytes, sizeof sizeBytes)) {
            return fail("the script package " + path + " ends before the size of " + named);
        }
        entry.size = static_cast<std::uint32_t>(sizeBytes[0]) |
                     static_cast<std::uint32_t>(sizeBytes[1]) << 8 |
                     static_cast<std::uint32_t>(sizeBytes[2]) << 16 |
                     static_cast<std::uint32_t>(sizeBytes[3]) << 24;
        // Checked before allocating, so a damaged size cannot ask for gigabytes.
        if (entry.size > file.getSize() - file.tell()) {
            return fail("the script package " + path + " is cut short in " + named);
        }
        entry.data.resize(std::size_t{entry.size} + 1);
        file.read(entry.data.data(), entry.size);
        entry.data[entry.size] = '\0';
        entries_.push_back(std::move(entry));
    }
    return true;
}
