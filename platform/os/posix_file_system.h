// The engine's files on POSIX: descriptors are the handles, replacing
// writes are flushed with fsync (the file, then its folder) before they
// count, and no descriptor leaks into child processes.
#pragma once

#include "engine/file/file_system.h"

namespace qel {

class PosixFileSystem final : public FileSystem {
public:
    // The one instance, for the program's entry to install.
    static PosixFileSystem& instance();

    bool exists(const std::string& path) override;
    bool readWhole(const std::string& path, std::vector<unsigned char>& out) override;
    bool listFolder(const std::string& folder, std::vector<std::string>& names) override;
    bool replaceable(const std::string& path) override;
    std::string replaceTarget(const std::string& path) override;
    int createNew(const std::string& path, bool& taken) override;
    bool replace(int handle, const std::string& path, const std::string& target,
                 std::span<const unsigned char> data) override;
    int openAppend(const std::string& path, std::int64_t& length) override;
    bool append(int handle, std::int64_t length, std::span<const unsigned char> data) override;
    void close(int handle) override;
    bool remove(const std::string& path) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool makeFolder(const std::string& path) override;
    bool removeFolder(const std::string& path) override;
    std::string processTag() override;
};

}  // namespace qel
