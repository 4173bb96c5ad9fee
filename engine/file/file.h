// The engine's binary file: one object opens one file in one of five modes.
//
// What it keeps true:
//   - A file that a write mode replaces (write, scrambled write) is never
//     touched before close: the bytes are collected in memory, written on
//     close to a temporary file in the same folder, flushed to the disc and
//     renamed over the old file. Until then the old file stays intact, and
//     when anything fails it stays intact for good; close reports it.
//   - Append mode adds everything written at close, or nothing: a failed
//     append is cut back to the old length.
//   - A File destroyed while an exception unwinds (its writer stopped
//     half-way) discards instead of committing; otherwise it closes.
//   - The read modes hold the whole (descrambled) content in a heap buffer;
//     a read past the end copies what is left, zeroes the rest of the
//     destination and sets the failed state, which the caller tests.
//   - Names given by scripts and data may use '/' or '\\' as separators, and
//     a name that does not exist as written is matched ignoring the case
//     of single-byte 'A'..'Z' (never a two-byte character's trail byte),
//     as on the file system the data was written for.
//
// One thread uses a File at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/core/core.h"

namespace qel {

// The one key that scrambles every data file and save file.
inline constexpr std::uint32_t FILE_KEY = 0x5E71A2C4u;

class File : public Core {
public:
    enum Mode : std::int32_t {
        MODE_CLOSED = 0,
        MODE_READ = 1,
        MODE_WRITE = 2,
        MODE_APPEND = 3,
        MODE_READ_SCRAMBLED = 4,
        MODE_WRITE_SCRAMBLED = 5,
    };

    File();
    File(const std::string& path, int mode, std::uint32_t key = 0);
    ~File() override;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    QEL_CLASS(File, Core, Pool::System);

    // Closes any open file first. False (and closed) when the file cannot
    // be opened in the mode or the mode is unknown. The key is used by the
    // scrambled modes only.
    bool open(const std::string& path, int mode, std::uint32_t key = 0);
    // Commits what the write modes collected. False when it did not reach
    // the disc (the old file is then unchanged). Closing a closed file is
    // true.
    bool close();
    // Closes without committing: whatever a write mode collected is dropped
    // and the file on the disc stays as it was.
    void discard();

    bool isOpen() const { return mode_ != MODE_CLOSED; }
    int getMode() const { return mode_; }
    bool isWriteMode() const;
    bool isReadMode() const { return mode_ == MODE_READ || mode_ == MODE_READ_SCRAMBLED; }
    // The file name without its folder, and the absolute folder ending with
    // '/'; both empty while closed.
    const std::string& getName() const { return name_; }
    const std::string& getDirectory() const { return directory_; }
    std::string getPath() const { return directory_ + name_; }
    // Length of the content in the read modes, 0 otherwise.
    std::size_t getSize() const { return isReadMode() ? in_.size() : 0; }

    // Stream state, as the callers test it after their reads.
    bool good() const { return isOpen() && !eof_ && !fail_; }
    explicit operator bool() const { return good(); }
    bool eof() const { return eof_; }
    bool fail() const { return fail_; }
    void clearError() { eof_ = fail_ = false; }

    // Position in the current stream (the content in the read modes, the
    // collected bytes in the write modes; append mode writes at the end
    // all the same). Seeking clears the end state.
    void seekBegin();
    void seekEnd();
    std::size_t tell() const;

    bool read(void* dst, std::size_t size);
    bool write(const void* src, std::size_t size);
    // Reads bytes up to `delimiter` (consumed, not stored) or the end, like
    // std::getline: the end sets eof, and nothing read at all also fails.
    bool readUntil(char delimiter, std::string& out);
    // Opens `path` in a read mode and takes its whole content into `out`
    // (on the heap, whatever its size); false when it cannot be read.
    static bool readWhole(const std::string& path, std::vector<unsigned char>& out,
                          int mode = MODE_READ, std::uint32_t key = 0);

    // Two-way transfers: read in the read modes, write otherwise.
    bool serializeBytes(void* data, std::size_t size);
    template <class T>
    bool serialize(T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        return serializeBytes(&value, sizeof(T));
    }
    // Text with its terminating NUL. Reading into a buffer of `capacity`
    // bytes cuts a longer text at a whole Shift-JIS character and skips the
    // rest of it; a text missing its NUL at the end fails.
    bool serializeCString(char* buffer, std::size_t capacity);
    bool serializeString(std::string& text);
    bool writeString(std::string_view text);

    // Appends directory + entry for every entry of the folder, "." and ".."
    // and subfolders included, unsorted, leaving out the hidden temporary
    // files of replaces under way or cut off by a crash (which the next
    // successful replace of the same file removes). A directory not ending
    // in a separator gets '/' between. False when the folder cannot be read.
    static bool listFiles(const std::string& directory, std::vector<std::string>& list);

    // Files and folders by name, with the name rules of open. exists is
    // true for anything at the path; remove deletes a file; rename replaces
    // `to` in one step that reaches the disc; makeFolder is true when a
    // folder is there afterwards; removeFolder deletes an empty folder (true
    // when none is left).
    static bool exists(const std::string& path);
    static bool remove(const std::string& path);
    static bool rename(const std::string& from, const std::string& to);
    static bool makeFolder(const std::string& path);
    static bool removeFolder(const std::string& path);
    // Deletes the hidden temporaries that replaces left in the folder, of
    // every process: for an owner that knows no File of its folder is open.
    static void removeTemporaries(const std::string& directory);

private:
    void reset();
    bool commitReplace();
    bool commitAppend();

    std::vector<unsigned char> in_;
    std::vector<unsigned char> out_;
    std::size_t pos_ = 0;
    std::string name_;
    std::string directory_;
    std::string tempPath_;
    std::string targetPath_;
    int fd_ = -1;
    std::int64_t appendBase_ = 0;
    std::int32_t mode_ = MODE_CLOSED;
    // Exceptions in flight when the file was opened: more at destruction
    // means the destructor runs because of one.
    int uncaughtAtOpen_ = 0;
    std::uint32_t key_ = 0;
    bool eof_ = false;
    bool fail_ = false;
};

}  // namespace qel
