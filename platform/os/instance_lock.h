// Keeps a second copy of the program from running: an exclusive, advisory
// lock on a lock file. Taking the lock is one atomic step (flock), so two
// starts racing each other cannot both win, and the lock dies with the
// process, so a crash never leaves a stale lock behind.
#pragma once

#include <string>

namespace qel {

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock() { release(); }
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock named `name` in `directory` (empty: $XDG_RUNTIME_DIR,
    // else /tmp). False when another holder has it or the file cannot be
    // opened; `isHeldElsewhere` tells the two apart.
    bool acquire(const std::string& name, const std::string& directory = {});
    void release();
    bool isHeld() const { return fd_ >= 0; }
    bool isHeldElsewhere() const { return heldElsewhere_; }
    const std::string& path() const { return path_; }

    // The file path for a name: characters other than letters, digits, '.',
    // '-' and '_' become '_' (names are program titles, maybe Shift-JIS);
    // the user id keeps users of one machine apart.
    static std::string pathFor(const std::string& name, const std::string& directory);

private:
    int fd_ = -1;
    bool heldElsewhere_ = false;
    std::string path_;
};

}  // namespace qel
