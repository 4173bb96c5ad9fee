#include "engine/file/file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "engine/file/scramble_bytes.h"
#include "tests/support/scratch_folder.h"

namespace qel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

Bytes bytesOf(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

// Each test works in its own empty folder, removed afterwards.
class FileTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void put(const std::string& name, const Bytes& data) const {
        std::ofstream(path(name), std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()),
                   static_cast<std::streamsize>(data.size()));
    }
    Bytes get(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.path();
};

TEST(ScrambleBytes, MatchesTheRuntimeGeneratorStream) {
    // Key 1 is the runtime's unseeded state; these are its first rand() % 256.
    Bytes zeros(6, 0);
    ScrambleBytes(1, zeros.size(), zeros.data());
    EXPECT_EQ(zeros, (Bytes{41, 35, 190, 132, 225, 108}));

    for (std::uint32_t key : {0u, 1u, FILE_KEY, 0xFFFFFFFFu}) {
        for (std::size_t length : {0u, 1u, 4097u}) {
            Bytes data(length);
            for (std::size_t i = 0; i < length; ++i) data[i] = static_cast<unsigned char>(i * 7);
            const Bytes original = data;
            ScrambleBytes(key, data.size(), data.data());
            if (length > 16) {
                EXPECT_NE(data, original) << key;
            }
            ScrambleBytes(key, data.size(), data.data());
            EXPECT_EQ(data, original) << "key " << key << " length " << length;
        }
    }
}

TEST(ScrambleBytes, EachThreadKeepsItsOwnGenerator) {
    crtSeed(1);
    EXPECT_EQ(crtRand(), 41);
    std::thread other([] {
        Bytes junk(100, 0);
        ScrambleBytes(77, junk.size(), junk.data());
        crtSeed(12345);
    });
    other.join();
    EXPECT_EQ(crtRand(), 18467);  // the second output for seed 1, undisturbed
}

TEST_F(FileTest, EveryModeRoundTrips) {
    const Bytes payload = bytesOf("hello, world");
    struct Case {
        int writeMode, readMode;
        std::uint32_t key;
        bool storedScrambled;
    };
    const Case cases[] = {
        {File::MODE_WRITE, File::MODE_READ, 0, false},
        {File::MODE_WRITE_SCRAMBLED, File::MODE_READ_SCRAMBLED, FILE_KEY, true},
        {File::MODE_WRITE_SCRAMBLED, File::MODE_READ_SCRAMBLED, 7, true},
    };
    for (const Case& c : cases) {
        File out;
        ASSERT_TRUE(out.open(path("f.bin"), c.writeMode, c.key)) << c.writeMode;
        EXPECT_TRUE(out.isWriteMode());
        EXPECT_EQ(out.getMode(), c.writeMode);
        EXPECT_EQ(out.getSize(), 0u);
        EXPECT_TRUE(out.write(payload.data(), payload.size()));
        EXPECT_TRUE(out.close());
        EXPECT_FALSE(out.isOpen());

        Bytes expectedOnDisc = payload;
        if (c.storedScrambled) ScrambleBytes(c.key, expectedOnDisc.size(), expectedOnDisc.data());
        EXPECT_EQ(get("f.bin"), expectedOnDisc);

        File in(path("f.bin"), c.readMode, c.key);
        ASSERT_TRUE(in.isOpen());
        EXPECT_FALSE(in.isWriteMode());
        EXPECT_EQ(in.getSize(), payload.size());
        Bytes back(payload.size());
        EXPECT_TRUE(in.read(back.data(), back.size()));
        EXPECT_EQ(back, payload);
        EXPECT_TRUE(in.good());
    }

    // A scrambled file read with another key gives other bytes.
    File wrong(path("f.bin"), File::MODE_READ_SCRAMBLED, 8);
    Bytes back(payload.size());
    wrong.read(back.data(), back.size());
    EXPECT_NE(back, payload);
}

TEST_F(FileTest, ReadWholeTakesTheContentOrFails) {
    const Bytes payload = bytesOf("whole file");
    put("plain.bin", payload);
    {
        File out;
        ASSERT_TRUE(out.open(path("scrambled.bin"), File::MODE_WRITE_SCRAMBLED, 7));
        ASSERT_TRUE(out.write(payload.data(), payload.size()));
        ASSERT_TRUE(out.close());
    }
    std::vector<unsigned char> got{1, 2, 3};
    EXPECT_TRUE(File::readWhole(path("plain.bin"), got));
    EXPECT_EQ(got, payload);
    got.clear();
    EXPECT_TRUE(File::readWhole(path("scrambled.bin"), got, File::MODE_READ_SCRAMBLED, 7));
    EXPECT_EQ(got, payload);
    put("empty.bin", {});
    EXPECT_TRUE(File::readWhole(path("empty.bin"), got));
    EXPECT_TRUE(got.empty());
    EXPECT_FALSE(File::readWhole(path("missing.bin"), got));
    // A write mode is no way to read: the file is left as it was.
    EXPECT_FALSE(File::readWhole(path("plain.bin"), got, File::MODE_WRITE));
    EXPECT_EQ(get("plain.bin"), payload);
}

TEST_F(FileTest, AppendAddsToTheEnd) {
    put("log.txt", bytesOf("one\n"));
    File f(path("log.txt"), File::MODE_APPEND);
    ASSERT_TRUE(f.isOpen());
    EXPECT_TRUE(f.isWriteMode());
    f.write("two\n", 4);
    f.seekBegin();  // an appending stream writes at the end all the same
    f.write("three\n", 6);
    EXPECT_TRUE(f.close());
    File g(path("new.txt"), File::MODE_APPEND);
    g.write("x", 1);
    EXPECT_TRUE(g.close());
    EXPECT_EQ(get("log.txt"), bytesOf("one\ntwo\nthree\n"));
    EXPECT_EQ(get("new.txt"), bytesOf("x"));
}

TEST_F(FileTest, OpenFailuresLeaveTheFileClosed) {
    put("plain.bin", bytesOf("abc"));
    fs::create_directory(dir_ / "folder");
    struct Case {
        const char* name;
        std::string path;
        int mode;
    };
    const Case cases[] = {
        {"unknown mode 0", path("plain.bin"), 0},
        {"unknown mode 6", path("plain.bin"), 6},
        {"unknown mode -1", path("plain.bin"), -1},
        {"missing file, read", path("none.bin"), File::MODE_READ},
        {"missing file, scrambled read", path("none.bin"), File::MODE_READ_SCRAMBLED},
        {"folder, read", path("folder"), File::MODE_READ},
        {"folder, write", path("folder"), File::MODE_WRITE},
        {"folder, scrambled write", path("folder"), File::MODE_WRITE_SCRAMBLED},
        {"folder, append", path("folder"), File::MODE_APPEND},
        {"missing folder, write", path("nowhere/x.bin"), File::MODE_WRITE_SCRAMBLED},
        {"empty path", "", File::MODE_READ},
    };
    for (const Case& c : cases) {
        File f;
        EXPECT_FALSE(f.open(c.path, c.mode, FILE_KEY)) << c.name;
        EXPECT_FALSE(f.isOpen()) << c.name;
        EXPECT_EQ(f.getMode(), File::MODE_CLOSED) << c.name;
        EXPECT_TRUE(f.getName().empty()) << c.name;
    }
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"folder", "plain.bin"}));
}

TEST_F(FileTest, ReplacedFileStaysIntactUntilCloseCommits) {
    put("save.dat", bytesOf("old save"));
    {
        File f(path("save.dat"), File::MODE_WRITE_SCRAMBLED, FILE_KEY);
        ASSERT_TRUE(f.isOpen());
        f.write("new", 3);
        // Nothing of the old file is lost while the new one is collected.
        EXPECT_EQ(get("save.dat"), bytesOf("old save"));
    }  // destruction closes and commits
    File in(path("save.dat"), File::MODE_READ_SCRAMBLED, FILE_KEY);
    EXPECT_EQ(in.getSize(), 3u);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"save.dat"}));

    // A discarded write leaves the file as it was, and no temporary behind.
    File dropped(path("save.dat"), File::MODE_WRITE, FILE_KEY);
    dropped.write("garbage", 7);
    dropped.discard();
    EXPECT_FALSE(dropped.isOpen());
    EXPECT_EQ(File(path("save.dat"), File::MODE_READ_SCRAMBLED, FILE_KEY).getSize(), 3u);
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"save.dat"}));
}

struct WritesWhileUnwinding {
    std::string path;
    ~WritesWhileUnwinding() {
        File f(path, File::MODE_WRITE);
        f.write("rescued", 7);
    }  // opened during the unwinding, not stopped by it: commits
};

TEST_F(FileTest, AWriterStoppedByAnExceptionLeavesTheOldFile) {
    for (int mode : {File::MODE_WRITE, File::MODE_WRITE_SCRAMBLED, File::MODE_APPEND}) {
        put("save.dat", bytesOf("old save"));
        try {
            File f(path("save.dat"), mode, FILE_KEY);
            f.write("half a rec", 10);
            throw std::runtime_error("the serializer gave up");
        } catch (const std::runtime_error&) {
        }
        EXPECT_EQ(get("save.dat"), bytesOf("old save")) << "mode " << mode;
        EXPECT_EQ(folderEntries(), (std::vector<std::string>{"save.dat"})) << "mode " << mode;
    }
    try {
        WritesWhileUnwinding rescue{path("rescue.dat")};
        throw std::runtime_error("unwind");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(get("rescue.dat"), bytesOf("rescued"));
}

TEST_F(FileTest, TemporariesOfCutOffReplacesAreHiddenAndClearedByTheNextReplace) {
    put("save.dat", bytesOf("old"));
    // What crashed writers left: two of this file, one of another file.
    const std::vector<std::string> ofSave = {".save.dat.999999999.0.tmp", ".save.dat.1.27.tmp"};
    for (const std::string& name : ofSave) put(name, bytesOf("frag"));
    put(".other.dat.999999999.0.tmp", bytesOf("frag"));
    put(".notes.tmp", bytesOf("mine"));  // not a temporary name: an ordinary file

    std::vector<std::string> listed;
    ASSERT_TRUE(File::listFiles(dir_.string(), listed));
    std::sort(listed.begin(), listed.end());
    const std::string folder = dir_.string() + "/";
    EXPECT_EQ(listed, (std::vector<std::string>{folder + ".", folder + "..", folder + ".notes.tmp",
                                                folder + "save.dat"}));

    File f(path("save.dat"), File::MODE_WRITE);
    f.write("new", 3);
    ASSERT_TRUE(f.close());
    EXPECT_EQ(get("save.dat"), bytesOf("new"));
    EXPECT_EQ(folderEntries(),
              (std::vector<std::string>{".notes.tmp", ".other.dat.999999999.0.tmp", "save.dat"}));
}

TEST_F(FileTest, ReplacingThroughALinkKeepsTheLink) {
    fs::create_directory(dir_ / "real");
    put("real/save.dat", bytesOf("old"));
    fs::create_symlink(dir_ / "real" / "save.dat", dir_ / "link.dat");
    File f(path("link.dat"), File::MODE_WRITE);
    ASSERT_TRUE(f.isOpen());
    f.write("new", 3);
    ASSERT_TRUE(f.close());
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.dat"));
    EXPECT_EQ(get("real/save.dat"), bytesOf("new"));
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"link.dat", "real"}));

    fs::create_symlink(dir_ / "nowhere" / "x.dat", dir_ / "dangling.dat");
    EXPECT_FALSE(File().open(path("dangling.dat"), File::MODE_WRITE));
}

TEST_F(FileTest, ReplacingKeepsPermissionsAndRefusesReadOnlyFiles) {
    using fs::perms;
    for (int mode : {File::MODE_WRITE, File::MODE_WRITE_SCRAMBLED, File::MODE_APPEND}) {
        put("private.dat", bytesOf("old"));
        fs::permissions(dir_ / "private.dat", perms::owner_read | perms::owner_write);
        File f(path("private.dat"), mode, FILE_KEY);
        ASSERT_TRUE(f.isOpen()) << "mode " << mode;
        f.write("new", 3);
        ASSERT_TRUE(f.close()) << "mode " << mode;
        EXPECT_EQ(fs::status(dir_ / "private.dat").permissions(),
                  perms::owner_read | perms::owner_write)
            << "mode " << mode;

        // A file marked read-only is not written, whoever runs the game.
        put("locked.dat", bytesOf("keep"));
        fs::permissions(dir_ / "locked.dat", perms::owner_read | perms::group_read);
        EXPECT_FALSE(File().open(path("locked.dat"), mode, FILE_KEY)) << "mode " << mode;
        EXPECT_EQ(get("locked.dat"), bytesOf("keep")) << "mode " << mode;
        fs::remove(dir_ / "locked.dat");
    }
}

// Runs `body` with writes limited to `limit` bytes per file, so that a large
// write fails with EFBIG the way a full disc fails.
template <class Body>
void withFileSizeLimit(rlim_t limit, Body body) {
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = limit;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    body();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

TEST_F(FileTest, FailedWriteKeepsTheOldFileAndReportsFailure) {
    const Bytes big(64 * 1024, 0x5A);
    for (int mode : {File::MODE_WRITE, File::MODE_WRITE_SCRAMBLED, File::MODE_APPEND}) {
        put("save.dat", bytesOf("old save"));
        File f(path("save.dat"), mode, FILE_KEY);
        ASSERT_TRUE(f.isOpen());
        f.write(big.data(), big.size());
        bool closed = true;
        withFileSizeLimit(4096, [&] { closed = f.close(); });
        EXPECT_FALSE(closed) << "mode " << mode;
        EXPECT_EQ(get("save.dat"), bytesOf("old save")) << "mode " << mode;
        EXPECT_EQ(folderEntries(), (std::vector<std::string>{"save.dat"})) << "mode " << mode;
    }
}

TEST_F(FileTest, StringsAndValuesTravelThroughOneRoutine) {
    // The archive pattern: one routine reads or writes by the file's mode.
    struct Record {
        std::int32_t level = 0;
        std::string name;
        char tag[8] = {};
        double weight = 0;
        bool transfer(File& f) {
            return f.serialize(level) && f.serializeString(name) &&
                   f.serializeCString(tag, sizeof tag) && f.serialize(weight);
        }
    };
    Record out{42, "勇者", "slime", 2.5};
    File w(path("rec.dat"), File::MODE_WRITE_SCRAMBLED, FILE_KEY);
    ASSERT_TRUE(out.transfer(w));
    ASSERT_TRUE(w.close());

    Record in;
    File r(path("rec.dat"), File::MODE_READ_SCRAMBLED, FILE_KEY);
    ASSERT_TRUE(in.transfer(r));
    EXPECT_EQ(in.level, 42);
    EXPECT_EQ(in.name, "勇者");
    EXPECT_STREQ(in.tag, "slime");
    EXPECT_EQ(in.weight, 2.5);
    EXPECT_EQ(r.tell(), r.getSize());
}

TEST_F(FileTest, SerializeStringWritesTextAndNul) {
    std::string abc = "abc";
    File w(path("s.bin"), File::MODE_WRITE);
    w.serializeString(abc);
    w.close();
    EXPECT_EQ(get("s.bin"), (Bytes{0x61, 0x62, 0x63, 0x00}));
    File r(path("s.bin"), File::MODE_READ);
    std::string back;
    EXPECT_TRUE(r.serializeString(back));
    EXPECT_EQ(back, "abc");
}

TEST_F(FileTest, CStringReadsCutAtTheBufferCapacity) {
    // Stored: "漢字テキ" (8 bytes), "ok", then a text missing its NUL.
    Bytes data = bytesOf("漢字テキ");
    data.push_back(0);
    for (char c : std::string("ok")) data.push_back(static_cast<unsigned char>(c));
    data.push_back(0);
    for (char c : std::string("cut")) data.push_back(static_cast<unsigned char>(c));
    put("c.bin", data);

    File r(path("c.bin"), File::MODE_READ);
    char small[4];
    EXPECT_TRUE(r.serializeCString(small, sizeof small));
    EXPECT_STREQ(small, "漢");  // 3 bytes of room hold one whole character
    char next[8];
    EXPECT_TRUE(r.serializeCString(next, sizeof next));
    EXPECT_STREQ(next, "ok");  // the rest of the long text was skipped
    EXPECT_FALSE(r.serializeCString(next, sizeof next));
    EXPECT_STREQ(next, "");
    EXPECT_TRUE(r.fail());
}

TEST_F(FileTest, ReadingPastTheEndFailsAndZeroesTheRest) {
    put("five.bin", bytesOf("12345"));
    File r(path("five.bin"), File::MODE_READ);
    unsigned char buf[8];
    std::fill(std::begin(buf), std::end(buf), 0xEE);
    EXPECT_FALSE(r.read(buf, sizeof buf));
    EXPECT_EQ(Bytes(buf, buf + 8), (Bytes{'1', '2', '3', '4', '5', 0, 0, 0}));
    EXPECT_TRUE(r.eof());
    EXPECT_TRUE(r.fail());
    EXPECT_FALSE(r.good());

    put("empty.bin", {});
    File e(path("empty.bin"), File::MODE_READ_SCRAMBLED, FILE_KEY);
    ASSERT_TRUE(e.isOpen());
    EXPECT_EQ(e.getSize(), 0u);
    unsigned char one = 0xEE;
    EXPECT_FALSE(e.read(&one, 1));
    EXPECT_EQ(one, 0);
}

TEST_F(FileTest, SeekAndTellOnBothStreams) {
    File w(path("s.bin"), File::MODE_WRITE);
    w.write("0123456789", 10);
    EXPECT_EQ(w.tell(), 10u);
    w.seekBegin();
    w.write("AB", 2);  // overwrites in place
    EXPECT_EQ(w.tell(), 2u);
    w.seekEnd();
    EXPECT_EQ(w.tell(), 10u);
    w.write("!", 1);
    ASSERT_TRUE(w.close());
    EXPECT_EQ(get("s.bin"), bytesOf("AB23456789!"));

    File r(path("s.bin"), File::MODE_READ);
    r.seekEnd();
    EXPECT_EQ(r.tell(), 11u);
    char c;
    EXPECT_FALSE(r.read(&c, 1));
    r.seekBegin();
    r.clearError();
    EXPECT_TRUE(r.read(&c, 1));
    EXPECT_EQ(c, 'A');
}

TEST_F(FileTest, ReadUntilSplitsLikeGetline) {
    put("t.csv", bytesOf("a,bc,\nd"));
    File r(path("t.csv"), File::MODE_READ);
    std::string cell;
    EXPECT_TRUE(r.readUntil(',', cell));
    EXPECT_EQ(cell, "a");
    EXPECT_TRUE(r.readUntil(',', cell));
    EXPECT_EQ(cell, "bc");
    EXPECT_TRUE(r.readUntil('\n', cell));
    EXPECT_EQ(cell, "");
    EXPECT_TRUE(r.readUntil(',', cell));  // the last cell ends at the end
    EXPECT_EQ(cell, "d");
    EXPECT_TRUE(r.eof());
    EXPECT_FALSE(r.fail());
    EXPECT_FALSE(r.readUntil(',', cell));
    EXPECT_TRUE(r.fail());
}

TEST_F(FileTest, WrongDirectionTransfersFail) {
    put("r.bin", bytesOf("x"));
    File r(path("r.bin"), File::MODE_READ);
    EXPECT_FALSE(r.write("y", 1));
    File w(path("w.bin"), File::MODE_WRITE);
    char c = 'q';
    EXPECT_FALSE(w.read(&c, 1));
    EXPECT_FALSE(w.close());  // a failed transfer is not committed
    EXPECT_FALSE(fs::exists(path("w.bin")));
    File closed;
    EXPECT_FALSE(closed.write("y", 1));
    EXPECT_TRUE(closed.close());
}

TEST_F(FileTest, NamesAcceptEitherSeparator) {
    fs::create_directory(dir_ / "sub");
    fs::create_directory(dir_ / "表");  // 95 5C: a '\\' inside a character
    put("sub/a.txt", bytesOf("A"));
    put("表/b.txt", bytesOf("B"));
    File a((dir_.string() + "\\sub\\a.txt"), File::MODE_READ);
    ASSERT_TRUE(a.isOpen());
    EXPECT_EQ(a.getName(), "a.txt");
    EXPECT_EQ(a.getDirectory(), (dir_ / "sub").string() + "/");
    EXPECT_EQ(a.getPath(), path("sub/a.txt"));
    File b((dir_.string() + "\\表\\b.txt"), File::MODE_READ);
    EXPECT_TRUE(b.isOpen());
    File dots(path("sub/../sub/./a.txt"), File::MODE_READ);
    EXPECT_EQ(dots.getDirectory(), (dir_ / "sub").string() + "/");
}

TEST_F(FileTest, NamesMatchIgnoringCase) {
    fs::create_directories(dir_ / "Data" / "Sub");
    put("Data/Sub/Title.DAT", bytesOf("T"));
    File r(path("data/SUB/title.dat"), File::MODE_READ);
    ASSERT_TRUE(r.isOpen());
    EXPECT_EQ(r.getPath(), path("Data/Sub/Title.DAT"));

    // A new file goes into the matching folder under the name as written.
    File w(path("DATA/sub/New.dat"), File::MODE_WRITE);
    w.write("n", 1);
    ASSERT_TRUE(w.close());
    EXPECT_EQ(get("Data/Sub/New.dat"), bytesOf("n"));

    // An exact name is preferred over a case-insensitive one.
    put("Data/Sub/title.dat", bytesOf("t"));
    EXPECT_EQ(File(path("Data/Sub/title.dat"), File::MODE_READ).getPath(),
              path("Data/Sub/title.dat"));
    EXPECT_FALSE(File().open(path("data/none/x.dat"), File::MODE_READ));

    // Case is folded per character: the trail byte of "ア" (83 41) is no
    // capital, so it never matches "ヂ" (83 61), whose file stays untouched.
    put("Data/Sub/ヂ001.dat", bytesOf("other floor"));
    File floor(path("Data/Sub/ア001.dat"), File::MODE_WRITE);
    floor.write("a", 1);
    ASSERT_TRUE(floor.close());
    EXPECT_EQ(get("Data/Sub/ヂ001.dat"), bytesOf("other floor"));
    EXPECT_EQ(get("Data/Sub/ア001.dat"), bytesOf("a"));
}

TEST_F(FileTest, ListFilesGivesEveryEntryWithItsFolder) {
    put("one.dat", {});
    put("two.dat", {});
    const std::string folder = dir_.string() + "/";
    for (const std::string& given : {folder, dir_.string(), dir_.string() + "\\"}) {
        std::vector<std::string> list{"kept"};
        EXPECT_TRUE(File::listFiles(given, list));
        std::sort(list.begin() + 1, list.end());
        const std::string prefix = given.back() == '\\' ? given : folder;
        EXPECT_EQ(list, (std::vector<std::string>{"kept", prefix + ".", prefix + "..",
                                                  prefix + "one.dat", prefix + "two.dat"}));
    }
    std::vector<std::string> none;
    EXPECT_FALSE(File::listFiles(path("missing/"), none));
    EXPECT_TRUE(none.empty());
}

TEST_F(FileTest, LargeFilesUseTheHeapNotAPool) {
    // Larger than the biggest memory pool.
    Bytes big(48u * 1024 * 1024);
    for (std::size_t i = 0; i < big.size(); i += 4096) big[i] = static_cast<unsigned char>(i >> 12);
    File w(path("big.dat"), File::MODE_WRITE_SCRAMBLED, FILE_KEY);
    ASSERT_TRUE(w.write(big.data(), big.size()));
    ASSERT_TRUE(w.close());
    File r(path("big.dat"), File::MODE_READ_SCRAMBLED, FILE_KEY);
    ASSERT_EQ(r.getSize(), big.size());
    Bytes back(big.size());
    EXPECT_TRUE(r.read(back.data(), back.size()));
    EXPECT_TRUE(back == big);
}

TEST(File, ClassRecordCreatesAClosedFileInItsPool) {
    Core* obj = File::staticClassInfo().create();
    ASSERT_NE(obj, nullptr);
    File* f = classCast<File>(obj);
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(f->isOpen());
    EXPECT_STREQ(f->classInfo().name, "File");
    delete obj;
}

}  // namespace
}  // namespace qel
