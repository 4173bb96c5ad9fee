// Test fixtures for the table loaders: a private folder per test, and plain
// CSV text stored there scrambled with the game's file key, exactly as the
// packer stores a shipped table, so each test shows the table it loads.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/file/file.h"

class CsvFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("qel_csv_" + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" +
                info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // Stores `text` scrambled as `name` in the test's folder; returns its path.
    std::string table(const std::string& text, const std::string& name = "table.dat") const {
        const std::string path = (dir_ / name).string();
        qel::File file(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
        EXPECT_TRUE(file.write(text.data(), text.size()));
        EXPECT_TRUE(file.close());
        return path;
    }
    std::string missing() const { return (dir_ / "missing.dat").string(); }

    std::filesystem::path dir_;
};
