// Test fixtures for the table loaders: a private folder per test, and plain
// CSV text stored there scrambled with the game's file key, exactly as the
// packer stores a shipped table, so each test shows the table it loads.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/file/file.h"
#include "tests/support/scratch_folder.h"

// Stores `text` scrambled at `path`, as the packer stores a table.
inline void writeScrambledTable(const std::string& path, const std::string& text) {
    qel::File file(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
    EXPECT_TRUE(file.write(text.data(), text.size()));
    EXPECT_TRUE(file.close());
}

class CsvFixture : public ::testing::Test {
protected:
    // Stores `text` scrambled as `name` in the test's folder; returns its path.
    std::string table(const std::string& text, const std::string& name = "table.dat") const {
        const std::string path = (dir_ / name).string();
        writeScrambledTable(path, text);
        return path;
    }
    std::string missing() const { return (dir_ / "missing.dat").string(); }

    qel::test::ScratchFolder scratch_;
    const std::filesystem::path& dir_ = scratch_.path();
};
