#include "game/data/package_writer.h"

#include <limits>
#include <vector>

PackageWriter::PackageWriter() = default;

PackageWriter::PackageWriter(const std::string& path) {
    open(path);
}

PackageWriter::~PackageWriter() {
    close();
}

bool PackageWriter::open(const std::string& path) {
    return file_.open(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
}

bool PackageWriter::close() {
    return file_.close();
}

bool PackageWriter::push(const std::string& path) {
    return push(path, path);
}

bool PackageWriter::push(const std::string& path, const std::string& entryName) {
    if (!isGood()) return false;
    std::vector<unsigned char> bytes;
    if (!qel::File::readWhole(path, bytes)) return false;
    const std::size_t size = bytes.size();
    if (size > std::numeric_limits<std::uint32_t>::max()) return false;

    const std::uint32_t n = static_cast<std::uint32_t>(size);
    const unsigned char sizeBytes[4] = {
        static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
        static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
    return file_.writeString(entryName) && file_.write(sizeBytes, sizeof sizeBytes) &&
           file_.write(bytes.data(), bytes.size());
}
