// Builds a script package: a scrambled file of named entries, each
//   name bytes, NUL | size: u32 little-endian | size bytes, unchanged
// one after another with nothing before, between or after them. Nothing
// reaches the disc before the writer is closed (or destroyed); the old
// package, if any, stays intact until then and whenever writing fails.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "engine/file/file.h"

class PackageWriter : public qel::ScriptObject {
public:
    // No file open until open().
    PackageWriter();
    // Opens `path` at once; test the writer to see whether that worked.
    explicit PackageWriter(const std::string& path);
    // Closes the file, which writes the package.
    ~PackageWriter() override;

    QEL_CLASS(PackageWriter, qel::ScriptObject, qel::Pool::Resources);

    // Starts a new package at `path`, scrambled with the file key; a package
    // already open is written out first.
    bool open(const std::string& path);
    // Scrambles and writes the package; false when it did not reach the disc.
    bool close();
    // Drops the package being built; the file on the disc stays as it was.
    void discard() { file_.discard(); }

    // Appends the whole plain file at `path` as one entry named `path`.
    // False, with nothing added, when the file cannot be read or no package
    // is open.
    bool push(const std::string& path);
    // The same with an entry name of the caller's choosing (the packer
    // names entries relative to their source folder).
    bool push(const std::string& path, const std::string& entryName);

    // True while the package file is open and no write has failed.
    bool isGood() const { return file_.isWriteMode() && file_.good(); }
    explicit operator bool() const { return isGood(); }

private:
    qel::File file_;
};
