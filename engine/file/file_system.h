// The operating system's files, in the few steps the engine's File is built
// from. The program's entry installs the platform's implementation; File
// keeps the rules above these steps (names, modes, replacing writes, the
// scrambler), so every implementation gets them alike.
//
// Paths are absolute with '/' separators. A handle is an open file of the
// implementation's own numbering, valid until closed, replaced or appended.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qel {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Something (a file, folder or link) is at the path, not following a
    // final link.
    virtual bool exists(const std::string& path) = 0;
    // The whole content of a regular file; false (and `out` empty) for
    // anything else.
    virtual bool readWhole(const std::string& path, std::vector<unsigned char>& out) = 0;
    // Appends the names in the folder, "." and ".." included, unsorted;
    // false when it cannot be read to its end.
    virtual bool listFolder(const std::string& folder, std::vector<std::string>& names) = 0;

    // Only plain files that may be written (or a path where nothing is yet)
    // can be replaced or appended to. A file without any write permission
    // counts as read-only even to the superuser.
    virtual bool replaceable(const std::string& path) = 0;
    // The file a replacing write must rename onto: the path itself, or the
    // file a symbolic link there points at; empty when the link cannot be
    // followed.
    virtual std::string replaceTarget(const std::string& path) = 0;

    // Creates a new, empty file where nothing is yet: a handle, or -1 with
    // `taken` telling whether the name was in use (try another) or the
    // folder refused it.
    virtual int createNew(const std::string& path, bool& taken) = 0;
    // Writes `data` into the new file of `handle`, gives it the permissions
    // of whatever is at `target`, flushes it to the disc and renames it over
    // `target` (the old file, if any, stays intact until then). The handle
    // is closed whatever the outcome; false when the rename did not happen.
    virtual bool replace(int handle, const std::string& path, const std::string& target,
                         std::span<const unsigned char> data) = 0;

    // Opens (creating) a file for appending: a handle and its length, or -1.
    virtual int openAppend(const std::string& path, std::int64_t& length) = 0;
    // Adds `data` at the end, or nothing: a failed write is cut back to
    // `length`. Closes the handle; false when it failed.
    virtual bool append(int handle, std::int64_t length, std::span<const unsigned char> data) = 0;

    virtual void close(int handle) = 0;
    // Deletes a file (not a folder); false when nothing was deleted.
    virtual bool remove(const std::string& path) = 0;
    // Renames a file over `to` in one step and makes the rename reach the
    // disc; false when it did not happen.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    // A folder is at `path` afterwards (made when missing); false when not.
    virtual bool makeFolder(const std::string& path) = 0;
    // Deletes an empty folder; false when it is still there.
    virtual bool removeFolder(const std::string& path) = 0;
    // Tells this process's temporary files from another's in a shared folder.
    virtual std::string processTag() = 0;

    // The installed file system. Using files before the program's entry
    // installed one is a programming error: the process stops, saying so.
    static FileSystem& current();
    static void install(FileSystem* fileSystem);
};

}  // namespace qel
