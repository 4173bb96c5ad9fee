#include "game/data/package_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/file/scramble_bytes.h"
#include "game/data/package_reader.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

class PackageWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::current_path(dir_);  // entries are named by the paths pushed
    }
    void TearDown() override { fs::current_path(fs::temp_directory_path()); }
    static void put(const std::string& name, const std::string& text) {
        std::ofstream(name, std::ios::binary) << text;
    }
    // The package as stored, descrambled.
    static Bytes plainBytes(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        Bytes b(std::istreambuf_iterator<char>(in), {});
        qel::ScrambleBytes(qel::FILE_KEY, b.size(), b.data());
        return b;
    }

    qel::test::ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.path();
};

TEST_F(PackageWriterTest, WritesNamedEntriesBackToBack) {
    put("a.lua", "0123456789");
    put("b.lua", "");
    {
        PackageWriter w("pkg.dat");
        ASSERT_TRUE(w.isGood());
        EXPECT_TRUE(w.push("a.lua"));
        EXPECT_TRUE(w.push("b.lua"));
    }
    // Field by field: name, NUL, u32 size little-endian, the bytes.
    const Bytes expected = {
        'a', '.', 'l', 'u', 'a', 0,   10,  0,   0,   0,   '0', '1', '2', '3', '4',
        '5', '6', '7', '8', '9', 'b', '.', 'l', 'u', 'a', 0,   0,   0,   0,   0,
    };
    EXPECT_EQ(plainBytes("pkg.dat"), expected);

    PackageReader r("pkg.dat");
    ASSERT_EQ(r.getCount(), 2u);
    EXPECT_EQ(r.getEntry(0).name, "a.lua");
    EXPECT_STREQ(r.getEntry(0).text(), "0123456789");
    EXPECT_EQ(r.getEntry(1).name, "b.lua");
    EXPECT_EQ(r.getEntry(1).size, 0u);
}

TEST_F(PackageWriterTest, FailedPushesAddNothing) {
    put("a.lua", "x = 1");
    PackageWriter closed;
    EXPECT_FALSE(closed.isGood());
    EXPECT_FALSE(closed.push("a.lua"));

    PackageWriter w;
    ASSERT_TRUE(w.open("pkg.dat"));
    EXPECT_TRUE(w.isGood());
    EXPECT_FALSE(w.push("missing.lua"));
    EXPECT_FALSE(w.push("."));  // a folder is no script
    EXPECT_TRUE(w.push("a.lua", "scripts/a.lua"));
    EXPECT_TRUE(w.push("a.lua"));  // the same file twice: two entries
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isGood());

    PackageReader r("pkg.dat");
    ASSERT_EQ(r.getCount(), 2u);
    EXPECT_EQ(r.getEntry(0).name, "scripts/a.lua");
    EXPECT_EQ(r.getEntry(1).name, "a.lua");
    EXPECT_STREQ(r.getEntry(1).text(), "x = 1");
}

TEST_F(PackageWriterTest, OldPackageStaysUntilTheNewOneIsClosed) {
    put("a.lua", "new");
    {
        PackageWriter first("pkg.dat");
        first.push("a.lua", "old");
    }
    PackageWriter w("pkg.dat");
    w.push("a.lua");
    EXPECT_EQ(PackageReader("pkg.dat").getEntry(0).name, "old");
    EXPECT_TRUE(w.close());
    EXPECT_EQ(PackageReader("pkg.dat").getEntry(0).name, "a.lua");
}

TEST(PackageWriter, ClassRecordMakesAClosedWriter) {
    qel::Core* obj = PackageWriter::staticClassInfo().create();
    ASSERT_NE(obj, nullptr);
    EXPECT_STREQ(obj->classInfo().name, "PackageWriter");
    auto* w = qel::classCast<PackageWriter>(obj);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isGood());
    delete obj;
}

}  // namespace
