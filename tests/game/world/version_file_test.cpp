#include "game/world/version_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/scratch_folder.h"

namespace {

TEST(VersionFile, VersionLeadsTheArchiveAndIsKeptForLaterReaders) {
    qel::test::ScratchFolder scratch;
    const std::string path = scratch.file("v.dat");
    {
        VersionFile out(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY);
        out.setVersion(105);
        std::uint32_t payload = 0xDEADBEEF;
        ASSERT_TRUE(out.serializeVersion());
        ASSERT_TRUE(out.serialize(payload));
        ASSERT_TRUE(out.close());
    }
    {
        VersionFile in(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY);
        EXPECT_EQ(in.getVersion(), 0u);
        ASSERT_TRUE(in.serializeVersion());
        EXPECT_EQ(in.getVersion(), 105u);
        std::uint32_t payload = 0;
        ASSERT_TRUE(in.serialize(payload));
        EXPECT_EQ(payload, 0xDEADBEEFu);
    }
    {
        // Plain bytes: the version is the first four, little-endian.
        VersionFile out(path, qel::File::MODE_WRITE);
        out.setVersion(0x01020304);
        ASSERT_TRUE(out.serializeVersion());
        ASSERT_TRUE(out.close());
        qel::File raw(path, qel::File::MODE_READ);
        unsigned char bytes[4] = {};
        ASSERT_TRUE(raw.read(bytes, 4));
        EXPECT_EQ(bytes[0], 4);
        EXPECT_EQ(bytes[3], 1);
    }
    {
        // Too short for a version: false, the field unchanged.
        VersionFile out(path, qel::File::MODE_WRITE);
        out.write("ab", 2);
        ASSERT_TRUE(out.close());
        VersionFile in(path, qel::File::MODE_READ);
        in.setVersion(77);
        EXPECT_FALSE(in.serializeVersion());
        EXPECT_EQ(in.getVersion(), 77u);
    }
    VersionFile made;
    EXPECT_STREQ(made.classInfo().name, "VersionFile");
    EXPECT_TRUE(made.isKindOf(qel::File::staticClassInfo()));
}

}  // namespace
