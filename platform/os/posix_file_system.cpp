#include "platform/os/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <new>

namespace qel {
namespace {

bool writeAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void syncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

PosixFileSystem& PosixFileSystem::instance() {
    static PosixFileSystem fs;
    return fs;
}

bool PosixFileSystem::exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool PosixFileSystem::readWhole(const std::string& path, std::vector<unsigned char>& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        try {
            out.clear();
            out.reserve(static_cast<std::size_t>(st.st_size));
            unsigned char chunk[65536];
            for (;;) {
                const ssize_t n = ::read(fd, chunk, sizeof chunk);
                if (n < 0) {
                    if (errno == EINTR) continue;
                    break;
                }
                if (n == 0) {
                    ok = true;
                    break;
                }
                out.insert(out.end(), chunk, chunk + n);
            }
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    ::close(fd);
    if (!ok) out.clear();
    return ok;
}

bool PosixFileSystem::listFolder(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return false;
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            ok = errno == 0;
            break;
        }
        names.push_back(entry->d_name);
    }
    ::closedir(dir);
    return ok;
}

bool PosixFileSystem::replaceable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

std::string PosixFileSystem::replaceTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return {};
    std::string target = resolved;
    std::free(resolved);
    return target;
}

int PosixFileSystem::createNew(const std::string& path, bool& taken) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    taken = fd < 0 && errno == EEXIST;
    return fd;
}

bool PosixFileSystem::replace(int handle, const std::string& path, const std::string& target,
                              std::span<const unsigned char> data) {
    // The new file takes the place of the old one, permissions included.
    struct stat old {};
    bool ok = !(::stat(target.c_str(), &old) == 0 && ::fchmod(handle, old.st_mode & 07777) != 0);
    ok = ok && writeAll(handle, data.data(), data.size()) && ::fsync(handle) == 0;
    ok = ::close(handle) == 0 && ok;
    if (!ok || ::rename(path.c_str(), target.c_str()) != 0) return false;
    syncDirectory(target.substr(0, target.rfind('/') + 1));
    return true;
}

int PosixFileSystem::openAppend(const std::string& path, std::int64_t& length) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0) {
        length = st.st_size;
        return fd;
    }
    if (fd >= 0) ::close(fd);
    return -1;
}

bool PosixFileSystem::append(int handle, std::int64_t length, std::span<const unsigned char> data) {
    bool ok = writeAll(handle, data.data(), data.size());
    // Leave the file as it was rather than with half a record at its end.
    if (!ok) static_cast<void>(::ftruncate(handle, length));
    ::close(handle);
    return ok;
}

void PosixFileSystem::close(int handle) {
    ::close(handle);
}

bool PosixFileSystem::remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

bool PosixFileSystem::rename(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    syncDirectory(to.substr(0, to.rfind('/') + 1));
    return true;
}

bool PosixFileSystem::makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) == 0) {
        syncDirectory(path.substr(0, path.rfind('/') + 1));
        return true;
    }
    struct stat st {};
    return errno == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::removeFolder(const std::string& path) {
    return ::rmdir(path.c_str()) == 0 || errno == ENOENT;
}

std::string PosixFileSystem::processTag() {
    return std::to_string(::getpid());
}

}  // namespace qel
