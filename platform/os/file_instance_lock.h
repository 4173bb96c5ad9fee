// The instance lock of the operating system: an exclusive, advisory lock on
// a lock file in the folder it guards. Taking the lock is one atomic step
// (flock), so two starts racing each other cannot both win, and the lock
// dies with the process, so a crash never leaves a stale lock behind.
#pragma once

#include <string>

#include "engine/system/instance_lock.h"

namespace qel {

class FileInstanceLock final : public InstanceLock {
public:
    FileInstanceLock() = default;
    ~FileInstanceLock() override { release(); }
    FileInstanceLock(const FileInstanceLock&) = delete;
    FileInstanceLock& operator=(const FileInstanceLock&) = delete;

    // A directory given is made when missing and holds "<name>.lock"; an
    // empty one means $XDG_RUNTIME_DIR, else /tmp, with the user's id in the
    // file's name.
    bool acquire(const std::string& name, const std::string& directory = {}) override;
    void release() override;
    // The folder's absolute path.
    std::string place() const override;
    bool isHeld() const override { return fd_ >= 0; }
    bool isHeldElsewhere() const override { return heldElsewhere_; }
    const std::string& path() const { return path_; }

    // The file path for a name: characters other than letters, digits, '.',
    // '-' and '_' become '_' (names are program titles, maybe Shift-JIS);
    // in the shared folder the user id keeps users of one machine apart.
    static std::string pathFor(const std::string& name, const std::string& directory);

private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
    std::string path_;
    std::string folder_;
};

}  // namespace qel
