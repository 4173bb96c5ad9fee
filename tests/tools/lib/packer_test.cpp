#include "tools/lib/packer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/file/file.h"
#include "engine/file/scramble_bytes.h"
#include "game/data/package_reader.h"
#include "tests/support/scratch_folder.h"

namespace qel::tools {
namespace {

namespace fs = std::filesystem;

class PackerTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void put(const std::string& name, const std::string& text) const {
        fs::create_directories(fs::path(path(name)).parent_path());
        std::ofstream(path(name), std::ios::binary) << text;
    }
    std::string get(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    int run(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return runPacker(args, out_, err_);
    }

    qel::test::ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.path();
    std::ostringstream out_, err_;
};

TEST_F(PackerTest, CsvTableRoundTrips) {
    const std::string csv = "id,名前,hp,\n1,スライム,5,\n2,ゴブリン,12,\n";
    put("mons.csv", csv);
    fs::create_directory(dir_ / "data");
    ASSERT_EQ(run({"scramble", "file", path("mons.csv"), path("data/data05.dat")}), 0)
        << err_.str();

    // Stored exactly as the engine's scrambled write would store it.
    std::string expected = csv;
    ScrambleBytes(FILE_KEY, expected.size(), expected.data());
    EXPECT_EQ(get("data/data05.dat"), expected);

    // The game reads it back through its own scrambled read.
    File table(path("data/data05.dat"), File::MODE_READ_SCRAMBLED, FILE_KEY);
    std::string line;
    table.readUntil('\n', line);
    EXPECT_EQ(line, "id,名前,hp,");

    ASSERT_EQ(run({"unscramble", "0x5E71A2C4", path("data/data05.dat"), path("back.csv")}), 0);
    EXPECT_EQ(get("back.csv"), csv);
}

TEST_F(PackerTest, TwoEntryScriptPackage) {
    put("src/main.lua", "function Main() return 1 end\n");
    put("src/lib/util.lua", "");
    ASSERT_EQ(run({"package", path("data09.dat"), "main.lua=" + path("src/main.lua"),
                   "lib/util.lua=" + path("src/lib/util.lua")}),
              0)
        << err_.str();

    PackageReader reader;
    ASSERT_TRUE(reader.load(path("data09.dat")));
    ASSERT_EQ(reader.getCount(), 2u);
    EXPECT_EQ(reader.getEntry(0).name, "main.lua");
    EXPECT_STREQ(reader.getEntry(0).text(), "function Main() return 1 end\n");
    EXPECT_EQ(reader.getEntry(1).name, "lib/util.lua");
    EXPECT_EQ(reader.getEntry(1).size, 0u);

    ASSERT_EQ(run({"list", path("data09.dat")}), 0);
    EXPECT_EQ(out_.str(), "29 main.lua\n0 lib/util.lua\n");
}

TEST_F(PackerTest, FailuresKeepTheOldOutput) {
    put("a.lua", "a");
    put("old.dat", "old contents");
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"no command", {}, 2, "usage:"},
        {"unknown command", {"pack"}, 2, "usage:"},
        {"scramble without output", {"scramble", "1", path("a.lua")}, 2, "usage:"},
        {"bad key", {"scramble", "0xZZ", path("a.lua"), path("old.dat")}, 2, "bad key 0xZZ"},
        {"key too large", {"scramble", "4294967296", path("a.lua"), path("old.dat")}, 2, "bad key"},
        {"missing input", {"scramble", "7", path("none.csv"), path("old.dat")}, 1, "none.csv"},
        {"missing package entry",
         {"package", path("old.dat"), path("a.lua"), "b.lua=" + path("none.lua")},
         1,
         "cannot read"},
        {"list a missing package", {"list", path("none.dat")}, 1, "none.dat"},
        {"output folder missing",
         {"scramble", "7", path("a.lua"), path("no/dir/x.dat")},
         1,
         "cannot write"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), c.status) << c.name;
        EXPECT_NE(err_.str().find(c.message), std::string::npos) << c.name << ": " << err_.str();
        EXPECT_EQ(get("old.dat"), "old contents") << c.name;
    }
}

TEST(Packer, KeysAndSources) {
    struct KeyCase {
        const char* text;
        bool ok;
        std::uint32_t key;
    };
    const KeyCase keys[] = {
        {"file", true, FILE_KEY}, {"0", true, 0},      {"4294967295", true, 0xFFFFFFFFu},
        {"0x10", true, 16},       {"0XfF", true, 255}, {"", false, 0},
        {"0x", false, 0},         {"-1", false, 0},    {"12a", false, 0},
    };
    for (const KeyCase& c : keys) {
        std::uint32_t key = 0;
        EXPECT_EQ(parseKey(c.text, key), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(key, c.key) << c.text;
        }
    }
    const PackageSource plain = parseSource("scripts/a.lua");
    EXPECT_EQ(plain.name, "scripts/a.lua");
    EXPECT_EQ(plain.path, "scripts/a.lua");
    const PackageSource named = parseSource("a.lua=/src/scripts/a.lua");
    EXPECT_EQ(named.name, "a.lua");
    EXPECT_EQ(named.path, "/src/scripts/a.lua");
}

}  // namespace
}  // namespace qel::tools
