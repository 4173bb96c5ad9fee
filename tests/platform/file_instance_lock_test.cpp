#include "platform/os/file_instance_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/scratch_folder.h"

namespace qel {
namespace {

struct InstanceLockTest : ::testing::Test {
    test::ScratchFolder scratch;
    const std::filesystem::path& dir = scratch.path();
};

TEST_F(InstanceLockTest, OnlyOneHolderAtATimeAndReleaseLetsTheNextIn) {
    FileInstanceLock first;
    FileInstanceLock second;
    ASSERT_TRUE(first.acquire("Vornhaldeen", dir.string()));
    EXPECT_TRUE(first.isHeld());
    EXPECT_FALSE(second.acquire("Vornhaldeen", dir.string()));
    EXPECT_TRUE(second.isHeldElsewhere());
    EXPECT_FALSE(second.isHeld());
    // Another name is another lock.
    FileInstanceLock other;
    EXPECT_TRUE(other.acquire("Other", dir.string()));

    first.release();
    EXPECT_TRUE(second.acquire("Vornhaldeen", dir.string()));
    EXPECT_FALSE(second.isHeldElsewhere());
}

TEST_F(InstanceLockTest, TheLockEndsWithItsHolder) {
    {
        FileInstanceLock scoped;
        ASSERT_TRUE(scoped.acquire("Vornhaldeen", dir.string()));
    }
    FileInstanceLock next;
    EXPECT_TRUE(next.acquire("Vornhaldeen", dir.string()));
}

TEST_F(InstanceLockTest, TheGuardedFolderIsMadeAndNamedAndAnUnusableOneIsNoSecondInstance) {
    FileInstanceLock lock;
    ASSERT_TRUE(lock.acquire("Vornhaldeen", (dir / "save").string()));
    EXPECT_TRUE(std::filesystem::exists(dir / "save/Vornhaldeen.lock"));
    EXPECT_EQ(lock.place(), std::filesystem::canonical(dir / "save").string());
    lock.release();
    EXPECT_FALSE(lock.acquire("Vornhaldeen", (dir / "missing/save").string()));
    EXPECT_FALSE(lock.isHeldElsewhere());
    std::ofstream(dir / "file") << "";
    EXPECT_FALSE(lock.acquire("Vornhaldeen", (dir / "file").string()));
    EXPECT_FALSE(lock.isHeldElsewhere());
}

TEST_F(InstanceLockTest, ALinkOrAnotherUsersFileInItsPlaceIsRefused) {
    const std::string path = FileInstanceLock::pathFor("Vornhaldeen", dir.string());
    const std::filesystem::path victim = dir / "victim";
    std::ofstream(victim) << "keep";
    std::filesystem::create_symlink(victim, path);
    FileInstanceLock lock;
    EXPECT_FALSE(lock.acquire("Vornhaldeen", dir.string()));
    EXPECT_TRUE(lock.isHeldElsewhere());
    EXPECT_FALSE(lock.isHeld());
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(std::filesystem::file_size(victim), 4u);

    std::filesystem::remove(path);
    std::ofstream(path) << "";
    if (geteuid() == 0) {
        // Only the superuser can give a file away; as anyone else this part
        // cannot be shown.
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
        EXPECT_FALSE(lock.acquire("Vornhaldeen", dir.string()));
        EXPECT_TRUE(lock.isHeldElsewhere());
    } else {
        EXPECT_TRUE(lock.acquire("Vornhaldeen", dir.string()));
    }
}

TEST(InstanceLockPath, NamesAreMadeSafeAndUsersKeptApartInTheSharedFolder) {
    EXPECT_EQ(FileInstanceLock::pathFor("Vornhaldeen", "/x"), "/x/Vornhaldeen.lock");
    EXPECT_EQ(FileInstanceLock::pathFor("a/b c\x82\xa0", "/x"), "/x/a_b_c__.lock");
    EXPECT_EQ(FileInstanceLock::pathFor("", "/x"), "/x/_.lock");
    const std::string uid = std::to_string(getuid());
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string shared = runtime && *runtime ? runtime : "/tmp";
    EXPECT_EQ(FileInstanceLock::pathFor("Vornhaldeen", ""),
              shared + "/Vornhaldeen-" + uid + ".lock");
}

}  // namespace
}  // namespace qel
