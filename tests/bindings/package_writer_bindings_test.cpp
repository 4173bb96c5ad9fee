// C.PackageWriter as scripts use it: a package written from a script reads
// back with the exact bytes of its entries; every way of naming no file or
// writing nowhere fails softly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/file/file.h"
#include "engine/file/scramble_bytes.h"
#include "game/data/package_reader.h"
#include "tests/bindings/bound_lua.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

class PackageWriterBindings : public BoundLua {
protected:
    void SetUp() override {
        BoundLua::SetUp();
        fs::current_path(scratch_.path());  // entries are named by the paths pushed
        std::ofstream("a.lua", std::ios::binary) << "0123456789";
        std::ofstream("b.lua", std::ios::binary);
    }
    void TearDown() override {
        fs::current_path(fs::temp_directory_path());
        BoundLua::TearDown();
    }

    qel::test::ScratchFolder scratch_;
};

TEST_F(PackageWriterBindings, AScriptBuildsAPackageTheReaderReadsBack) {
    EXPECT_EQ(run("local w = C.PackageWriter('pkg.dat') local good = w['.b32'](w) "
                  "local a, b = w:push('a.lua'), w:push('b.lua') w:close() "
                  "return good, a, b, w['.b32'](w)"),
              "true, true, true, false");
    std::ifstream in("pkg.dat", std::ios::binary);
    std::vector<unsigned char> bytes(std::istreambuf_iterator<char>(in), {});
    qel::ScrambleBytes(qel::FILE_KEY, bytes.size(), bytes.data());
    const std::vector<unsigned char> expected = {
        'a', '.', 'l', 'u', 'a', 0,   10,  0,   0,   0,   '0', '1', '2', '3', '4',
        '5', '6', '7', '8', '9', 'b', '.', 'l', 'u', 'a', 0,   0,   0,   0,   0,
    };
    EXPECT_EQ(bytes, expected);
    PackageReader reader("pkg.dat");
    ASSERT_EQ(reader.getCount(), 2u);
    EXPECT_EQ(reader.getEntry(0).name, "a.lua");
    EXPECT_STREQ(reader.getEntry(0).text(), "0123456789");
    EXPECT_EQ(reader.getEntry(1).name, "b.lua");
}

const lua_runner::LuaCase kSoftFailures[] = {
    {"a writer without a path is not good", "local w = C.PackageWriter() return w['.b32'](w)",
     "false"},
    {"a nil path opens nothing", "local w = C.PackageWriter(nil) return w['.b32'](w), w:open(nil)",
     "false, false"},
    {"push on a closed writer", "local w = C.PackageWriter() return w:push('a.lua')", "false"},
    {"push of a missing file or of nil",
     "local w = C.PackageWriter:new('p.dat') local r = {w:push('none.lua'), w:push(nil), "
     "w:push('a.lua')} w:delete() return r[1], r[2], r[3]",
     "false, false, true"},
    {"open after a failure", "local w = C.PackageWriter() return w:open('q.dat'), w['.b32'](w)",
     "true, true"},
    {"a nil self", "return C.PackageWriter['.b32'](nil)",
     "error: invalid 'self' in function 'operatorb32'"},
    {"a wrong argument", "return C.PackageWriter():push({})",
     "error: error in function 'push'.\n     argument #2 is 'table'; 'string' expected.\n"},
};

TEST_F(PackageWriterBindings, NamingNoFileFailsSoftly) {
    runAll(kSoftFailures);
    EXPECT_EQ(PackageReader("p.dat").getCount(), 1u);  // written when deleted
}

}  // namespace
