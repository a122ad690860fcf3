#include <gtest/gtest.h>

#include <sys/stat.h>

#include "base/Exceptions.h"
#include "base/SafeFileWriter.h"
#include "tests/support/TestSupport.h"

// That a failed write keeps the old file and leaves no temporary is tested
// once for every writer, in tests/imaging/WriterTableTest.cpp.

namespace kobalto {
namespace {

TEST(SafeFileWriter, ANewFileGetsTheModeOfAnyNewFile)
{
    test::TempDir dir;
    const std::string path = dir.File("out.bmp");
    WriteFileSafely(path, [](TStream& s) { s.WriteBuffer("new", 3); });
    EXPECT_EQ(test::ReadBytes(path), (std::vector<uint8_t>{'n', 'e', 'w'}));
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IRUSR);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
}

TEST(SafeFileWriter, AMissingFolderRaisesWithThePath)
{
    test::TempDir dir;
    const std::string path = dir.File("no/such/folder.bmp");
    try {
        WriteFileSafely(path, [](TStream&) {});
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + path + " を作成できません");
    }
}

}  // namespace
}  // namespace kobalto
