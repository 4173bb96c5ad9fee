#include "platform/os/file_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/os/cp932.h"

namespace qel {

std::string FileInstanceLock::pathFor(const std::string& name, const std::string& directory) {
    std::string dir = directory;
    const bool shared = dir.empty();
    if (shared) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        dir = runtime && *runtime ? runtime : "/tmp";
    }
    std::string safe;
    for (unsigned char c : name) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '.' || c == '-' || c == '_';
        safe += plain ? static_cast<char>(c) : '_';
    }
    if (safe.empty()) safe = "_";
    return dir + "/" + safe + (shared ? "-" + std::to_string(getuid()) : std::string()) + ".lock";
}

bool FileInstanceLock::acquire(const std::string& name, const std::string& directory) {
    release();
    heldElsewhere_ = false;
    path_ = pathFor(name, directory);
    folder_ = path_.substr(0, path_.rfind('/'));
    // A folder given is the one guarded (made when missing, as the program
    // would make it for its first save); a missing parent is no folder of
    // ours to make.
    if (!directory.empty() && mkdir(folder_.c_str(), 0777) != 0 && errno != EEXIST) return false;
    // The folder may be a shared temporary one: a link planted there, or a
    // file someone else made, must not be opened or locked. Either is
    // refused as if another copy held the lock, so the program does not run
    // unguarded.
    int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        heldElsewhere_ = errno == ELOOP;
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        heldElsewhere_ = true;
        close(fd);
        return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        heldElsewhere_ = errno == EWOULDBLOCK;
        close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

std::string FileInstanceLock::place() const {
    if (folder_.empty()) return {};
    char* resolved = realpath(folder_.c_str(), nullptr);
    const std::string full = resolved ? resolved : folder_;
    std::free(resolved);
    // The box shows Shift-JIS; the path is the file system's UTF-8.
    return Cp932::fromUtf8(full);
}

void FileInstanceLock::release() {
    if (fd_ < 0) return;
    // The file stays: unlinking it would let a third start lock a new file
    // while a second one still waits on the old one.
    flock(fd_, LOCK_UN);
    close(fd_);
    fd_ = -1;
}

}  // namespace qel
