#include "engine/file/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>

#include "engine/file/scramble_bytes.h"
#include "engine/file/string_util.h"

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

// Reads a whole regular file into `out`; false for anything else.
bool readWholeFile(const std::string& path, std::vector<unsigned char>& out) {
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

// Only plain files that may be written (or a path that does not exist yet)
// can be replaced. A file without any write permission bit counts as
// read-only even to the superuser, so a save marked read-only stays as it is.
bool replaceable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode) && (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// Names in scripts and data were written for a file system that ignores
// case. Each component of an absolute path that does not exist as written
// is looked up ignoring the case of 'A'..'Z' (the smallest such name wins,
// so the choice does not depend on the folder's order); a component with no
// match is kept as written, so a file about to be created keeps its name.
std::string resolveCase(const std::string& full) {
    struct stat st {};
    if (::lstat(full.c_str(), &st) == 0) return full;
    std::string resolved;
    std::size_t pos = 1;
    bool searching = true;
    while (pos <= full.size()) {
        std::size_t next = full.find('/', pos);
        if (next == std::string::npos) next = full.size();
        std::string part = full.substr(pos, next - pos);
        const std::string candidate = resolved + "/" + part;
        if (searching && ::lstat(candidate.c_str(), &st) != 0) {
            const std::string key = foldName(part);
            std::string best;
            if (DIR* dir = ::opendir(resolved.empty() ? "/" : resolved.c_str())) {
                while (const dirent* e = ::readdir(dir)) {
                    const std::string name = e->d_name;
                    if (foldName(name) == key && (best.empty() || name < best)) best = name;
                }
                ::closedir(dir);
            }
            if (best.empty()) {
                searching = false;  // nothing below a missing folder exists
            } else {
                part = best;
            }
        }
        resolved += "/" + part;
        pos = next + 1;
    }
    return resolved;
}

// The file a replacing write must rename onto: the path itself, or the
// file a symbolic link there points at (renaming onto the link would swap
// the link for a plain file). Empty when the link cannot be followed.
std::string replaceTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return {};
    std::string target = resolved;
    std::free(resolved);
    return target;
}

void syncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::atomic<unsigned> tempCounter{0};

}  // namespace

File::File() = default;

File::File(const std::string& path, int mode, std::uint32_t key) {
    open(path, mode, key);
}

File::~File() {
    close();
}

const ClassInfo& File::staticClassInfo() {
    static const ClassInfo info = ClassInfo::make<File, Core>("File");
    return info;
}

bool File::isWriteMode() const {
    return mode_ == MODE_WRITE || mode_ == MODE_APPEND || mode_ == MODE_WRITE_SCRAMBLED;
}

void File::reset() {
    if (fd_ >= 0) ::close(fd_);
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
    fd_ = -1;
    tempPath_.clear();
    targetPath_.clear();
    in_ = {};
    out_ = {};
    pos_ = 0;
    name_.clear();
    directory_.clear();
    appendBase_ = 0;
    mode_ = MODE_CLOSED;
    key_ = 0;
    eof_ = fail_ = false;
}

bool File::open(const std::string& path, int mode, std::uint32_t key) {
    if (isOpen()) close();
    if (mode < MODE_READ || mode > MODE_WRITE_SCRAMBLED || path.empty()) return false;

    std::error_code ec;
    const std::filesystem::path absolute =
        std::filesystem::absolute(toSlashPath(path), ec).lexically_normal();
    if (ec) return false;
    const std::string full = resolveCase(absolute.string());
    const std::size_t slash = full.rfind('/');
    if (slash == std::string::npos || slash + 1 == full.size()) return false;
    directory_ = full.substr(0, slash + 1);
    name_ = full.substr(slash + 1);
    mode_ = mode;
    key_ = key;

    bool ok = false;
    switch (mode) {
        case MODE_READ:
        case MODE_READ_SCRAMBLED:
            ok = readWholeFile(full, in_);
            if (ok && mode == MODE_READ_SCRAMBLED) ScrambleBytes(key, in_.size(), in_.data());
            break;
        case MODE_WRITE:
        case MODE_WRITE_SCRAMBLED: {
            targetPath_ = replaceTarget(full);
            if (targetPath_.empty() || !replaceable(targetPath_)) break;
            // A unique name beside the target, so the rename stays inside
            // one file system and never meets another writer's file.
            const std::size_t cut = targetPath_.rfind('/') + 1;
            const std::string folder = targetPath_.substr(0, cut);
            const std::string base = targetPath_.substr(cut);
            for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
                tempPath_ = folder + "." + base + "." + std::to_string(::getpid()) + "." +
                            std::to_string(tempCounter++) + ".tmp";
                fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                if (fd_ < 0 && errno != EEXIST) break;
            }
            if (fd_ < 0) tempPath_.clear();
            ok = fd_ >= 0;
            break;
        }
        case MODE_APPEND: {
            if (!replaceable(full)) break;
            fd_ = ::open(full.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
            struct stat st {};
            ok = fd_ >= 0 && ::fstat(fd_, &st) == 0;
            if (ok) appendBase_ = st.st_size;
            break;
        }
        default:
            break;
    }
    if (!ok) reset();
    return ok;
}

bool File::commitReplace() {
    if (fail_) return false;
    if (mode_ == MODE_WRITE_SCRAMBLED) ScrambleBytes(key_, out_.size(), out_.data());
    // The new file takes the place of the old one, permissions included.
    struct stat old {};
    if (::stat(targetPath_.c_str(), &old) == 0 && ::fchmod(fd_, old.st_mode & 07777) != 0) {
        return false;
    }
    if (!writeAll(fd_, out_.data(), out_.size()) || ::fsync(fd_) != 0) return false;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    if (::rename(tempPath_.c_str(), targetPath_.c_str()) != 0) return false;
    tempPath_.clear();
    syncDirectory(targetPath_.substr(0, targetPath_.rfind('/') + 1));
    return true;
}

bool File::commitAppend() {
    if (fail_) return false;
    if (writeAll(fd_, out_.data(), out_.size())) return true;
    // Leave the file as it was rather than with half a record at its end.
    const bool restored = ::ftruncate(fd_, appendBase_) == 0;
    static_cast<void>(restored);
    return false;
}

bool File::close() {
    bool ok = true;
    if (mode_ == MODE_WRITE || mode_ == MODE_WRITE_SCRAMBLED) ok = commitReplace();
    if (mode_ == MODE_APPEND) ok = commitAppend();
    reset();
    return ok;
}

void File::discard() {
    reset();
}

void File::seekBegin() {
    pos_ = 0;
    eof_ = false;
}

void File::seekEnd() {
    pos_ = isReadMode() ? in_.size() : out_.size();
    eof_ = false;
}

std::size_t File::tell() const {
    return pos_;
}

bool File::read(void* dst, std::size_t size) {
    auto* d = static_cast<unsigned char*>(dst);
    if (!isReadMode()) {
        std::memset(d, 0, size);
        fail_ = true;
        return false;
    }
    const std::size_t left = in_.size() - pos_;
    const std::size_t n = size < left ? size : left;
    if (n > 0) std::memcpy(d, in_.data() + pos_, n);
    pos_ += n;
    if (n < size) {
        std::memset(d + n, 0, size - n);
        eof_ = fail_ = true;
        return false;
    }
    return true;
}

bool File::write(const void* src, std::size_t size) {
    if (!isWriteMode() || fail_) {
        fail_ = true;
        return false;
    }
    if (size == 0) return true;
    // An appending stream writes at its end wherever it was sought to.
    if (mode_ == MODE_APPEND) pos_ = out_.size();
    try {
        const std::size_t end = pos_ + size;
        if (end > out_.size()) out_.resize(end);
        std::memcpy(out_.data() + pos_, src, size);
        pos_ = end;
    } catch (const std::bad_alloc&) {
        fail_ = true;
        return false;
    }
    return true;
}

bool File::readWhole(const std::string& path, std::vector<unsigned char>& out, int mode,
                     std::uint32_t key) {
    if (mode != MODE_READ && mode != MODE_READ_SCRAMBLED) return false;
    File source;
    if (!source.open(path, mode, key)) return false;
    out.resize(source.getSize());
    return source.read(out.data(), out.size());
}

bool File::readUntil(char delimiter, std::string& out) {
    out.clear();
    if (!isReadMode() || fail_) {
        fail_ = true;
        return false;
    }
    const auto begin = in_.begin() + static_cast<std::ptrdiff_t>(pos_);
    auto it = begin;
    while (it != in_.end() && static_cast<char>(*it) != delimiter) ++it;
    out.assign(begin, it);
    pos_ = static_cast<std::size_t>(it - in_.begin());
    if (it != in_.end()) {
        ++pos_;
        return true;
    }
    eof_ = true;
    if (out.empty()) fail_ = true;
    return !fail_;
}

bool File::serializeBytes(void* data, std::size_t size) {
    return isWriteMode() ? write(data, size) : read(data, size);
}

bool File::writeString(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    const char terminator = '\0';
    return write(text.data(), text.size()) && write(&terminator, 1);
}

bool File::serializeString(std::string& text) {
    if (isWriteMode()) return writeString(text);
    const bool ok = readUntil('\0', text);
    if (ok && eof_) {
        // The text ran to the end without its NUL: the data is cut short.
        fail_ = true;
        text.clear();
        return false;
    }
    return ok;
}

bool File::serializeCString(char* buffer, std::size_t capacity) {
    if (isWriteMode()) return writeString(std::string_view(buffer, ::strnlen(buffer, capacity)));
    std::string text;
    const bool ok = serializeString(text);
    if (capacity == 0) return false;
    const std::size_t n = ok ? sjisPrefixLength(text, capacity - 1) : 0;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return ok;
}

bool File::listFiles(const std::string& directory, std::vector<std::string>& list) {
    std::string prefix = directory;
    if (!prefix.empty() && prefix.back() != '/' && prefix.back() != '\\') prefix += '/';
    const std::string native = prefix.empty() ? std::string(".") : toSlashPath(prefix);
    DIR* dir = ::opendir(native.c_str());
    if (!dir) return false;
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry) {
            ok = errno == 0;
            break;
        }
        list.push_back(prefix + entry->d_name);
    }
    ::closedir(dir);
    return ok;
}

}  // namespace qel
