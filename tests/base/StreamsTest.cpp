#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/Exceptions.h"
#include "base/TFileStream.h"
#include "base/TMemoryStream.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(Streams, MemoryStreamReadsWhatWasWrittenAndShortReadsRaise)
{
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    s.SetPosition(2);
    char out[4] = {};
    s.ReadBuffer(out, 3);
    EXPECT_STREQ(out, "cde");
    EXPECT_EQ(s.Size(), 6);
    EXPECT_THROW(s.ReadBuffer(out, 2), EReadError);
}

TEST(Streams, FileErrorsCarryThePath)
{
    test::TempDir dir;
    const std::string missing = dir.File("none/x.bmp");
    try {
        TFileStream s(missing, TFileStream::Mode::OpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + missing + " は開けません");
    }
    EXPECT_THROW(TFileStream(missing, TFileStream::Mode::Create), EFCreateError);
}

TEST(Streams, ADescriptorThatCannotBecomeAStreamIsClosed)
{
    test::TempDir dir;
    test::WriteBytes(dir.File("r"), {1});
    const int fd = ::open(dir.File("r").c_str(), O_RDONLY);  // fdopen refuses "w+b" on it
    ASSERT_GE(fd, 0);
    EXPECT_THROW(TFileStream(fd, dir.File("r")), EFCreateError);
    errno = 0;
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
    EXPECT_EQ(errno, EBADF);
}

}  // namespace
}  // namespace kobalto
