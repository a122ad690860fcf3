#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/ProductName.h"
#include "tests/support/TestSupport.h"

namespace kobalto::platform {
namespace {

TEST(FileSystem, SizeIsZeroForWhatIsNoFileAndSixtyFourBitForLargeOnes)
{
    test::TempDir dir;
    EXPECT_EQ(FileSize(dir.File("missing")), 0);
    EXPECT_EQ(FileSize(dir.Path()), 0);
    // A sparse file of 3 GiB takes no disk space but has the size.
    const std::string big = dir.File("big.bmp");
    int fd = ::open(big.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, int64_t{3} << 30), 0);
    ::close(fd);
    EXPECT_EQ(FileSize(big), int64_t{3} << 30);
}

TEST(FileSystem, CopyReplacesEvenAReadOnlyTargetAndLeavesItWritable)
{
    test::TempDir dir;
    const std::string src = dir.File("a.bmp"), dst = dir.File("b.bmp");
    test::WriteBytes(src, {1, 2, 3, 4});
    test::WriteBytes(dst, {9});
    ::chmod(dst.c_str(), 0444);
    ::chmod(src.c_str(), 04755);
    EXPECT_EQ(CopyFileOverwrite(src, dst), CopyResult::Copied);
    EXPECT_EQ(test::ReadBytes(dst), test::ReadBytes(src));
    struct stat st;
    ASSERT_EQ(::stat(dst.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    EXPECT_FALSE(st.st_mode & (S_ISUID | S_ISGID | S_ISVTX));
}

TEST(FileSystem, CopyOntoItselfIsNoErrorAndChangesNothing)
{
    test::TempDir dir;
    const std::string src = dir.File("a.bmp");
    test::WriteBytes(src, {5, 6, 7});
    EXPECT_EQ(CopyFileOverwrite(src, src), CopyResult::SameFile);
    EXPECT_EQ(CopyFileOverwrite(src, dir.Path() + "/./a.bmp"), CopyResult::SameFile);
    EXPECT_EQ(test::ReadBytes(src), (std::vector<uint8_t>{5, 6, 7}));
}

TEST(FileSystem, CopyFailuresAreReportedAndLeaveNoFile)
{
    test::TempDir dir;
    EXPECT_EQ(CopyFileOverwrite(dir.File("missing"), dir.File("x")), CopyResult::Failed);
    EXPECT_FALSE(test::FileExists(dir.File("x")));
    test::WriteBytes(dir.File("a"), {1});
    EXPECT_EQ(CopyFileOverwrite(dir.File("a"), dir.File("no/folder/x")), CopyResult::Failed);
}

TEST(FileSystem, MakeWritableTouchesOnlyExistingFiles)
{
    test::TempDir dir;
    const std::string f = dir.File("r.txt");
    test::WriteBytes(f, {1});
    ::chmod(f.c_str(), 0444);
    EXPECT_TRUE(MakeWritable(f));
    EXPECT_EQ(::access(f.c_str(), W_OK), 0);
    EXPECT_FALSE(MakeWritable(dir.File("none")));
}

TEST(FileSystem, EnsureFolderMakesEveryMissingParentAndKeepsExistingOnes)
{
    test::TempDir dir;
    const std::string deep = dir.File("a/b/c/Kobalto");
    EXPECT_TRUE(EnsureFolder(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    test::WriteBytes(deep + "/keep.bmp", {1});
    EXPECT_TRUE(EnsureFolder(deep + "/"));
    EXPECT_TRUE(test::FileExists(deep + "/keep.bmp"));
    test::WriteBytes(dir.File("file"), {1});
    EXPECT_FALSE(EnsureFolder(dir.File("file/sub")));
}

TEST(Desktop, UserDirsEntryWinsThenDesktopThenHome)
{
    test::TempDir home;
    EXPECT_EQ(DesktopFolderFrom(home.Path(), "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"),
              home.Path() + "/Schreibtisch");
    EXPECT_EQ(DesktopFolderFrom(home.Path(), "# comment\nXDG_DESKTOP_DIR=\"/srv/desk\"\n"), "/srv/desk");
    EXPECT_EQ(DesktopFolderFrom(home.Path(), ""), home.Path());
    EXPECT_EQ(DesktopFolderFrom(home.Path(), "XDG_DESKTOP_DIR=\"$HOME/\"\n"), home.Path());
    ASSERT_TRUE(EnsureFolder(home.File("Desktop")));
    EXPECT_EQ(DesktopFolderFrom(home.Path(), "XDG_MUSIC_DIR=\"$HOME/Music\"\n"), home.File("Desktop"));
}

TEST(ProductName, ReadsPrettyNameWithoutQuotes)
{
    EXPECT_EQ(ProductNameFrom("NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(ProductNameFrom("PRETTY_NAME=Windows 7 Professional\n"), "Windows 7 Professional");
    EXPECT_EQ(ProductNameFrom("NAME=x\n"), "");
}

}  // namespace
}  // namespace kobalto::platform
