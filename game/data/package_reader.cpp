#include "game/data/package_reader.h"

#include "engine/file/file.h"

PackageReader::PackageReader() = default;

PackageReader::PackageReader(const std::string& path) {
    load(path);
}

PackageReader::~PackageReader() {
    clear();
}

void PackageReader::clear() {
    entries_.clear();
}

bool PackageReader::load(const std::string& path) {
    clear();
    error_.clear();
    qel::File file;
    if (!file.open(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY)) {
        error_ = "cannot open the script package " + path;
        return false;
    }
    while (file.tell() < file.getSize()) {
        Entry entry;
        if (!file.serializeString(entry.name)) {
            error_ = "the script package " + path + " ends inside an entry name";
            return false;
        }
        unsigned char sizeBytes[4];
        if (!file.read(sizeBytes, sizeof sizeBytes)) {
            error_ = "the script package " + path + " ends before the size of " + entry.name;
            return false;
        }
        entry.size = static_cast<std::uint32_t>(sizeBytes[0]) |
                     static_cast<std::uint32_t>(sizeBytes[1]) << 8 |
                     static_cast<std::uint32_t>(sizeBytes[2]) << 16 |
                     static_cast<std::uint32_t>(sizeBytes[3]) << 24;
        // Checked before allocating, so a damaged size cannot ask for gigabytes.
        if (entry.size > file.getSize() - file.tell()) {
            error_ = "the script package " + path + " is cut short in " + entry.name;
            return false;
        }
        entry.data.resize(std::size_t{entry.size} + 1);
        file.read(entry.data.data(), entry.size);
        entry.data[entry.size] = '\0';
        entries_.push_back(std::move(entry));
    }
    return true;
}
