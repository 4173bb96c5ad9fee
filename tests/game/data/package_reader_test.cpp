#include "game/data/package_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/file/file.h"
#include "engine/file/scramble_bytes.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

// Builds package bytes by hand: entry(name, declared size, body).
struct PackageBytes {
    Bytes bytes;
    PackageBytes& entry(const std::string& name, std::uint32_t size, const std::string& body) {
        bytes.insert(bytes.end(), name.begin(), name.end());
        bytes.push_back(0);
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(size >> (8 * i)));
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }
    PackageBytes& raw(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
};

class PackageReaderTest : public ::testing::Test {
protected:
    std::string store(const PackageBytes& p) const {
        Bytes b = p.bytes;
        qel::ScrambleBytes(qel::FILE_KEY, b.size(), b.data());
        const std::string path = (dir_ / "pkg.dat").string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return path;
    }

    qel::test::ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.path();
};

std::vector<std::string> names(const PackageReader& r) {
    std::vector<std::string> out;
    for (const auto& e : r.getEntries()) out.push_back(e.name);
    return out;
}

TEST_F(PackageReaderTest, LoadsEntriesInStoredOrder) {
    PackageReader r;
    std::string error;
    EXPECT_TRUE(r.load(store(PackageBytes()
                                 .entry("main.lua", 9, "print(1)\n")
                                 .entry("empty.lua", 0, "")
                                 .entry("main.lua", 3, "a=2")
                                 .entry("", 1, "x")),
                       &error));
    EXPECT_EQ(names(r), (std::vector<std::string>{"main.lua", "empty.lua", "main.lua", ""}));
    EXPECT_EQ(r.getEntry(0).size, 9u);
    EXPECT_STREQ(r.getEntry(0).text(), "print(1)\n");
    EXPECT_EQ(r.getEntry(1).data, (std::vector<char>{'\0'}));  // only the NUL
    EXPECT_STREQ(r.getEntry(2).text(), "a=2");
    EXPECT_TRUE(error.empty());
}

TEST_F(PackageReaderTest, EmptyPackageIsAnEmptyList) {
    PackageReader r;
    EXPECT_TRUE(r.load(store(PackageBytes())));
    EXPECT_EQ(r.getCount(), 0u);
}

// Damaged packages after a good entry: what loads and what is reported.
TEST_F(PackageReaderTest, DamagedPackagesKeepEarlierEntriesAndNameTheDamage) {
    struct Case {
        const char* name;
        PackageBytes tail;
        bool loads;
        std::vector<std::string> entries;
        const char* reason;  // after "the script package <path> "
    };
    const Case cases[] = {
        {"size 0xFFFFFFFF",
         PackageBytes().entry("b.lua", 0xFFFFFFFFu, "x"),
         false,
         {"a.lua"},
         "is cut short in entry 2 (b.lua)"},
        {"body one byte short",
         PackageBytes().entry("b.lua", 10, "123456789"),
         false,
         {"a.lua"},
         "is cut short in entry 2 (b.lua)"},
        {"size cut short",
         PackageBytes().raw("b.lua").raw(std::string(1, '\0')).raw("\x05"),
         false,
         {"a.lua"},
         "ends before the size of entry 2 (b.lua)"},
        {"final name without its NUL",
         PackageBytes().raw("b.l"),
         false,
         {"a.lua"},
         "ends inside the name of entry 2"},
        {"zero-size entry", PackageBytes().entry("b.lua", 0, ""), true, {"a.lua", "b.lua"}, ""},
    };
    for (const Case& c : cases) {
        PackageBytes p;
        p.entry("a.lua", 2, "ok");
        p.bytes.insert(p.bytes.end(), c.tail.bytes.begin(), c.tail.bytes.end());
        const std::string path = store(p);
        PackageReader r;
        std::string error;
        EXPECT_EQ(r.load(path, &error), c.loads) << c.name;
        EXPECT_EQ(names(r), c.entries) << c.name;
        EXPECT_EQ(error, c.loads ? "" : "the script package " + path + " " + c.reason) << c.name;
        EXPECT_STREQ(r.getEntry(0).text(), "ok") << c.name;
    }
}

TEST_F(PackageReaderTest, MissingPackageFailsAndLoadReplacesEntries) {
    PackageReader r(store(PackageBytes().entry("a.lua", 1, "a")));
    EXPECT_EQ(r.getCount(), 1u);
    std::string error;
    EXPECT_FALSE(r.load((dir_ / "none.dat").string(), &error));
    EXPECT_EQ(r.getCount(), 0u);
    EXPECT_NE(error.find("none.dat"), std::string::npos);
    // A plain (unscrambled) file is no package: its bytes decode as noise.
    const std::string plain = (dir_ / "plain.dat").string();
    std::ofstream(plain, std::ios::binary) << "a.lua" << std::string("\0\x01\0\0\0a", 6);
    EXPECT_FALSE(r.load(plain));
}

}  // namespace
