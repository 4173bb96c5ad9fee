#include "engine/file/file.h"

#include <atomic>
#include <cstring>
#include <exception>
#include <filesystem>
#include <utility>

#include "engine/file/file_system.h"
#include "engine/file/scramble_bytes.h"
#include "engine/file/string_util.h"

namespace qel {

namespace {

// Names in scripts and data were written for a file system that ignores
// case. Each component of an absolute path that does not exist as written
// is looked up ignoring the case of 'A'..'Z' (the smallest such name wins,
// so the choice does not depend on the folder's order); a component with no
// match is kept as written, so a file about to be created keeps its name.
std::string resolveCase(FileSystem& fs, const std::string& full) {
    if (fs.exists(full)) return full;
    std::string resolved;
    std::size_t pos = 1;
    bool searching = true;
    while (pos <= full.size()) {
        std::size_t next = full.find('/', pos);
        if (next == std::string::npos) next = full.size();
        std::string part = full.substr(pos, next - pos);
        const std::string candidate = resolved + "/" + part;
        if (searching && !fs.exists(candidate)) {
            const std::string key = foldName(part);
            std::string best;
            std::vector<std::string> names;
            fs.listFolder(resolved.empty() ? "/" : resolved, names);
            for (const std::string& name : names) {
                if (foldName(name) == key && (best.empty() || name < best)) best = name;
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

std::atomic<unsigned> tempCounter{0};

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// The temporary name a replacing write of `base` uses:
// ".<base>.<process>.<n>.tmp".
std::string tempName(const std::string& base, const std::string& process, unsigned n) {
    return "." + base + "." + process + "." + std::to_string(n) + ".tmp";
}

// Whether `name` is such a temporary name; `base` gets the replaced file's
// name and `process` the writer's tag.
bool parseTempName(std::string_view name, std::string_view& base, std::string_view& process) {
    constexpr std::string_view kSuffix = ".tmp";
    if (name.size() < 1 + kSuffix.size() || name.front() != '.' || !name.ends_with(kSuffix))
        return false;
    std::string_view rest = name.substr(1, name.size() - 1 - kSuffix.size());
    const std::size_t counterDot = rest.rfind('.');
    if (counterDot == std::string_view::npos || !allDigits(rest.substr(counterDot + 1)))
        return false;
    rest = rest.substr(0, counterDot);
    const std::size_t processDot = rest.rfind('.');
    if (processDot == std::string_view::npos || processDot == 0 ||
        !allDigits(rest.substr(processDot + 1)))
        return false;
    process = rest.substr(processDot + 1);
    base = rest.substr(0, processDot);
    return true;
}

bool isTempName(std::string_view name) {
    std::string_view base, process;
    return parseTempName(name, base, process);
}

// A replace that was cut off (the program crashed or lost power between
// creating its temporary and renaming it) leaves the temporary behind. Once
// the same file has been replaced again, those of other processes go; this
// process's own may belong to a File still open.
void removeLeftovers(const std::string& folder, const std::string& replaced) {
    FileSystem& fs = FileSystem::current();
    std::vector<std::string> names;
    fs.listFolder(folder, names);
    const std::string self = fs.processTag();
    for (const std::string& name : names) {
        std::string_view base, process;
        if (parseTempName(name, base, process) && base == replaced && process != self)
            fs.remove(folder + name);
    }
}

}  // namespace

File::File() = default;

File::File(const std::string& path, int mode, std::uint32_t key) {
    open(path, mode, key);
}

File::~File() {
    // Unwinding means the writer stopped half-way: what it collected is a
    // fragment and must not replace the old file.
    if (std::uncaught_exceptions() > uncaughtAtOpen_) {
        discard();
    } else {
        close();
    }
}

bool File::isWriteMode() const {
    return mode_ == MODE_WRITE || mode_ == MODE_APPEND || mode_ == MODE_WRITE_SCRAMBLED;
}

void File::reset() {
    if (fd_ >= 0) FileSystem::current().close(fd_);
    if (!tempPath_.empty()) FileSystem::current().remove(tempPath_);
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
    FileSystem& fs = FileSystem::current();
    const std::string full = resolveCase(fs, absolute.string());
    const std::size_t slash = full.rfind('/');
    if (slash == std::string::npos || slash + 1 == full.size()) return false;
    directory_ = full.substr(0, slash + 1);
    name_ = full.substr(slash + 1);
    uncaughtAtOpen_ = std::uncaught_exceptions();
    mode_ = mode;
    key_ = key;

    bool ok = false;
    switch (mode) {
        case MODE_READ:
        case MODE_READ_SCRAMBLED:
            ok = fs.readWhole(full, in_);
            if (ok && mode == MODE_READ_SCRAMBLED) ScrambleBytes(key, in_.size(), in_.data());
            break;
        case MODE_WRITE:
        case MODE_WRITE_SCRAMBLED: {
            targetPath_ = fs.replaceTarget(full);
            if (targetPath_.empty() || !fs.replaceable(targetPath_)) break;
            // A unique name beside the target, so the rename stays inside
            // one file system and never meets another writer's file.
            const std::size_t cut = targetPath_.rfind('/') + 1;
            const std::string folder = targetPath_.substr(0, cut);
            const std::string base = targetPath_.substr(cut);
            for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
                tempPath_ = folder + tempName(base, fs.processTag(), tempCounter++);
                bool taken = false;
                fd_ = fs.createNew(tempPath_, taken);
                if (fd_ < 0 && !taken) break;
            }
            if (fd_ < 0) tempPath_.clear();
            ok = fd_ >= 0;
            break;
        }
        case MODE_APPEND: {
            if (!fs.replaceable(full)) break;
            fd_ = fs.openAppend(full, appendBase_);
            ok = fd_ >= 0;
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
    const int fd = std::exchange(fd_, -1);
    if (!FileSystem::current().replace(fd, tempPath_, targetPath_, out_)) return false;
    tempPath_.clear();
    const std::size_t cut = targetPath_.rfind('/') + 1;
    removeLeftovers(targetPath_.substr(0, cut), targetPath_.substr(cut));
    return true;
}

bool File::commitAppend() {
    if (fail_) return false;
    return FileSystem::current().append(std::exchange(fd_, -1), appendBase_, out_);
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

namespace {

// The absolute, case-resolved name of `path`; empty when it has none.
std::string nativeName(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    const std::filesystem::path absolute =
        std::filesystem::absolute(toSlashPath(path), ec).lexically_normal();
    if (ec) return {};
    std::string full = resolveCase(FileSystem::current(), absolute.string());
    while (full.size() > 1 && full.back() == '/') full.pop_back();
    return full;
}

}  // namespace

bool File::exists(const std::string& path) {
    const std::string full = nativeName(path);
    return !full.empty() && FileSystem::current().exists(full);
}

bool File::remove(const std::string& path) {
    const std::string full = nativeName(path);
    return !full.empty() && FileSystem::current().remove(full);
}

bool File::rename(const std::string& from, const std::string& to) {
    const std::string source = nativeName(from);
    const std::string target = nativeName(to);
    return !source.empty() && !target.empty() && FileSystem::current().rename(source, target);
}

bool File::makeFolder(const std::string& path) {
    const std::string full = nativeName(path);
    return !full.empty() && FileSystem::current().makeFolder(full);
}

bool File::removeFolder(const std::string& path) {
    const std::string full = nativeName(path);
    return !full.empty() && FileSystem::current().removeFolder(full);
}

void File::removeTemporaries(const std::string& directory) {
    const std::string full = nativeName(directory);
    if (full.empty()) return;
    FileSystem& fs = FileSystem::current();
    std::vector<std::string> names;
    fs.listFolder(full, names);
    for (const std::string& name : names) {
        if (isTempName(name)) fs.remove(full + "/" + name);
    }
}

bool File::listFiles(const std::string& directory, std::vector<std::string>& list) {
    std::string prefix = directory;
    if (!prefix.empty() && prefix.back() != '/' && prefix.back() != '\\') prefix += '/';
    const std::string native = prefix.empty() ? std::string(".") : toSlashPath(prefix);
    std::vector<std::string> names;
    const bool ok = FileSystem::current().listFolder(native, names);
    for (const std::string& name : names) {
        if (!isTempName(name)) list.push_back(prefix + name);  // a replace under way or cut off
    }
    return ok;
}

}  // namespace qel
