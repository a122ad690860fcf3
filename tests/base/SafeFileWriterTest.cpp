#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "base/FileWriteFault.h"
#include "base/Messages.h"
#include "base/SafeFileWriter.h"
#include "tests/support/SmallFileSystem.h"
#include "tests/support/TestSupport.h"

// That a failed write of each writer keeps the old file and leaves no
// temporary is also tested once over the writer table, in
// tests/imaging/WriterTableTest.cpp.

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Four writes of 16 KB.
void WriteFourChunks(TStream& s)
{
    const std::vector<char> chunk(16384, 'k');
    for (int i = 0; i < 4; ++i)
        s.WriteBuffer(chunk.data(), chunk.size());
}

TEST(SafeFileWriter, ANewFileGetsTheModeOfAnyNewFile)
{
    test::TempDir dir;
    const std::string path = dir.File("out.bmp");
    WriteFileSafely(path, [](TStream& s) { s.WriteBuffer("new", 3); });
    EXPECT_EQ(test::ReadBytes(path), (Bytes{'n', 'e', 'w'}));
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
}

// Each fault: a clear error naming the output, whatever was at the path
// unchanged, and nothing else in the folder.
TEST(SafeFileWriter, AFaultGivesAnErrorNamingTheFileAndKeepsWhatWasThere)
{
    const std::string create = "ファイル %s を作成できません";
    struct Case {
        const char* what;
        // Prepares dir and returns the path to write, or "" to skip with a reason in skip.
        std::function<std::string(const test::TempDir&, std::string& skip)> setUp;
        std::string error;  // %s is the path
        bool writeError;    // EWriteError, else EFCreateError
    };
    const Case cases[] = {
        {"the second of four writes fails",
         [](const test::TempDir& d, std::string&) {
             test::WriteBytes(d.File("out.png"), {1, 2, 3});
             return d.File("out.png");
         },
         "Cannot write %s: Input/output error.", true},
        {"the output path is a folder",
         [](const test::TempDir& d, std::string&) {
             std::filesystem::create_directory(d.File("out.png"));
             test::WriteBytes(d.File("out.png/inside"), {1, 2, 3});
             return d.File("out.png");
         },
         create, false},
        {"the output path is a link naming nothing",
         [](const test::TempDir& d, std::string&) {
             std::filesystem::create_symlink(d.File("nowhere.png"), d.File("out.png"));
             return d.File("out.png");
         },
         create, false},
        {"the folder is gone",
         [](const test::TempDir& d, std::string&) { return d.File("gone/out.png"); }, create, false},
        {"the folder is read-only",
         [](const test::TempDir& d, std::string& skip) {
             std::filesystem::create_directory(d.File("ro"));
             test::WriteBytes(d.File("ro/out.png"), {1, 2, 3});
             ::chmod(d.File("ro").c_str(), 0555);
             if (::geteuid() == 0)
                 skip = "root writes into read-only folders (the small file system case covers it)";
             return d.File("ro/out.png");
         },
         create, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir dir;
        std::string skip;
        const std::string path = c.setUp(dir, skip);
        if (!skip.empty())
            continue;
        const std::vector<std::string> before = Names(dir.Path());
        const std::string folder = std::filesystem::path(path).parent_path().string();
        const Bytes old = test::FileExists(path) && !std::filesystem::is_directory(path) ? test::ReadBytes(path) : Bytes{};
        const std::string expected = msg::Format(c.error, {path});
        try {
            TFileWriteFault fault(2);
            WriteFileSafely(path, WriteFourChunks);
            ADD_FAILURE() << "written";
        } catch (const EWriteError& e) {
            EXPECT_TRUE(c.writeError);
            EXPECT_EQ(e.what(), expected);
        } catch (const EFCreateError& e) {
            EXPECT_FALSE(c.writeError);
            EXPECT_EQ(e.what(), expected);
        }
        EXPECT_EQ(Names(dir.Path()), before);
        if (std::filesystem::exists(folder))
            ::chmod(folder.c_str(), 0755);
        if (!old.empty()) {
            EXPECT_EQ(test::ReadBytes(path), old);
        }
        if (std::filesystem::is_symlink(path)) {
            EXPECT_FALSE(std::filesystem::exists(path)) << "the link still names nothing";
        }
    }
}

TEST(SafeFileWriter, ALinkToAFileIsFollowedAndStays)
{
    test::TempDir dir;
    test::WriteBytes(dir.File("real.png"), {1, 2, 3});
    std::filesystem::create_symlink("real.png", dir.File("link.png"));
    WriteFileSafely(dir.File("link.png"), [](TStream& s) { s.WriteBuffer("new", 3); });
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.png")));
    EXPECT_EQ(test::ReadBytes(dir.File("real.png")), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(Names(dir.Path()), (std::vector<std::string>{"link.png", "real.png"}));
}

// A real small disk that fills up, and the same disk turned read-only.
TEST(SafeFileWriter, AFullOrReadOnlyFileSystemKeepsTheOldFile)
{
    test::TempDir dir;
    const std::string mount = dir.File("small");
    std::filesystem::create_directory(mount);
    test::SmallFileSystem fs(mount, "32k");
    if (!fs.Mounted())
        GTEST_SKIP() << fs.Reason();
    const std::string path = mount + "/out.png";
    test::WriteBytes(path, {1, 2, 3});
    try {
        WriteFileSafely(path, WriteFourChunks);  // 64 KB
        ADD_FAILURE() << "written";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.what(), "Cannot write " + path + ": No space left on device.");
    }
    EXPECT_EQ(test::ReadBytes(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(Names(mount), (std::vector<std::string>{"out.png"}));

    ASSERT_TRUE(fs.MakeReadOnly());
    try {
        WriteFileSafely(path, [](TStream& s) { s.WriteBuffer("new", 3); });
        ADD_FAILURE() << "written";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.what(), "ファイル " + path + " を作成できません");
    }
    EXPECT_EQ(test::ReadBytes(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(Names(mount), (std::vector<std::string>{"out.png"}));
}

void MakeOld(const std::string& path)
{
    const timespec old[2] = {{std::time(nullptr) - 120, 0}, {std::time(nullptr) - 120, 0}};
    ::utimensat(AT_FDCWD, path.c_str(), old, AT_SYMLINK_NOFOLLOW);
}

// A run killed while it writes leaves its temporary; the next start removes
// it once it is a minute old, and never while a writer holds it.
TEST(SafeFileWriter, ATemporaryOfAKilledWriterIsRemovedAtTheNextStart)
{
    test::TempDir dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        try {
            WriteFileSafely(dir.File("out.png"), [&](TStream& s) {
                WriteFourChunks(s);
                (void)!::write(ready[1], "w", 1);
                for (;;)
                    ::pause();
            });
        } catch (...) {
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    const std::vector<std::string> names = Names(dir.Path());
    ASSERT_EQ(names.size(), 1u);
    const std::string temp = dir.File(names[0]);
    MakeOld(temp);
    EXPECT_EQ(RemoveStaleTemporaries(dir.Path()), 0) << "the writer is still at work";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(RemoveStaleTemporaries(dir.Path()), 1);
    EXPECT_TRUE(Names(dir.Path()).empty());
}

// A run of several threads keeps finished outputs in a folder of its own,
// locked while it lives; a killed run's folder goes with its files.
TEST(SafeFileWriter, AStagingFolderOfAKilledRunIsRemovedWithItsFiles)
{
    test::TempDir dir;
    const std::string staging = dir.File(".kobalto-Stage1");
    std::filesystem::create_directory(staging);
    for (const char* name : {"0-a.jpg", ".kobalto-Tmp001"})
        test::WriteBytes(staging + "/" + name, {1});
    MakeOld(staging);
    const int lock = ::open(staging.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(lock, 0);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    // The lock is the run's; a second descriptor stands for the next start.
    EXPECT_EQ(RemoveStaleTemporaries(dir.Path()), 0) << "the run is still at work";
    ::close(lock);
    EXPECT_EQ(RemoveStaleTemporaries(dir.Path()), 1);
    EXPECT_TRUE(Names(dir.Path()).empty());
}

TEST(SafeFileWriter, RemovingStaleTemporariesTouchesNothingElse)
{
    test::TempDir dir;
    const std::vector<std::string> kept = {"photo.jpg", ".kobalto-ab12", "kobalto-AbC123", ".kobalto-AbC123.png",
                                           ".kobalto-Ab-123", ".Kobalto-AbC123"};
    for (const std::string& name : kept)
        test::WriteBytes(dir.File(name), {1});
    test::WriteBytes(dir.File(".kobalto-young1"), {1});  // written just now
    // Folders named like the staging folder of a run of several threads,
    // but holding a folder, or not ours to judge by name.
    std::filesystem::create_directories(dir.File(".kobalto-nested/deeper"));
    std::filesystem::create_directory(dir.File(".kobalto-folder.d"));
    test::WriteBytes(dir.File(".kobalto-folder.d/x"), {1});
    std::filesystem::create_symlink("photo.jpg", dir.File(".kobalto-link12"));
    test::WriteBytes(dir.File(".kobalto-stale1"), {1});
    for (const std::string& name : Names(dir.Path()))
        if (name != ".kobalto-young1")
            MakeOld(dir.File(name));
    if (::geteuid() == 0) {
        test::WriteBytes(dir.File(".kobalto-other1"), {1});
        ASSERT_EQ(::chown(dir.File(".kobalto-other1").c_str(), 65534, 65534), 0);
        MakeOld(dir.File(".kobalto-other1"));
    }
    std::vector<std::string> expected = Names(dir.Path());
    expected.erase(std::find(expected.begin(), expected.end(), ".kobalto-stale1"));

    EXPECT_EQ(RemoveStaleTemporaries(dir.Path()), 1);
    EXPECT_EQ(Names(dir.Path()), expected);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File(".kobalto-nested/deeper")));
    EXPECT_TRUE(test::FileExists(dir.File(".kobalto-folder.d/x")));
    EXPECT_EQ(RemoveStaleTemporaries(dir.File("no-such-folder")), 0);
}

}  // namespace
}  // namespace kobalto
