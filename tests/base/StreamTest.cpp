#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "base/Checked.h"
#include "base/Exceptions.h"
#include "base/Limits.h"
#include "base/Messages.h"
#include "base/SafeFileWriter.h"
#include "base/TByteReader.h"
#include "base/TFileStream.h"
#include "base/TMemoryStream.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(Messages, FormatFillsPlacesLeftToRight)
{
    EXPECT_EQ(msg::Format("ファイル %s を作成できません", {"/a/b.bmp"}), "ファイル /a/b.bmp を作成できません");
    EXPECT_EQ(msg::Format("%s of %d%%", {"a", "7"}), "a of 7%");
    EXPECT_EQ(msg::Format("%s and %s", {"one"}), "one and %s");
}

TEST(ByteReader, ReadsBothByteOrdersAndStopsAtItsEnd)
{
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05};
    TByteReader r(bytes, "test");
    EXPECT_EQ(r.U16LE(), 0x0201);
    EXPECT_EQ(r.U16BE(), 0x0304);
    EXPECT_THROW(r.U16LE(), EReadError);
    EXPECT_EQ(r.Position(), 4u);  // a failed read moves nothing
    EXPECT_EQ(r.U8(), 5);

    TByteReader whole(bytes, "test");
    EXPECT_EQ(whole.U32BE(), 0x01020304u);
    whole.Seek(1);
    TByteReader sub = whole.Sub(2);
    EXPECT_EQ(sub.U16LE(), 0x0302);
    EXPECT_THROW(sub.U8(), EReadError);
    EXPECT_THROW(whole.Seek(6), EReadError);
    EXPECT_THROW(whole.Take(SIZE_MAX), EReadError);
}

[[noreturn]] void ThrowFormatError(std::string_view format)
{
    throw EInvalidGraphic(msg::Format("Stream read error in %s file.", {format}));
}

TEST(ByteReader, TruncationRaisesTheFormatsOwnError)
{
    const uint8_t bytes[] = {1};
    TByteReader r(bytes, "TGA", ThrowFormatError);
    try {
        r.U32LE();
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Stream read error in TGA file.");
    }
}

TEST(Checked, ArithmeticRefusesToWrap)
{
    EXPECT_EQ(CheckedMul(1u << 20, 1u << 10), size_t{1} << 30);
    EXPECT_THROW(CheckedMul(SIZE_MAX / 2, 3), EInvalidGraphic);
    EXPECT_THROW(CheckedAdd(SIZE_MAX, 1), EInvalidGraphic);
    EXPECT_NO_THROW(CheckImageSize(16384, 16384, "x"));  // exactly 2^28
    EXPECT_THROW(CheckImageSize(16385, 16384, "x"), EInvalidGraphic);
    EXPECT_THROW(CheckImageSize(65535, 65535, "x"), EInvalidGraphic);
    EXPECT_THROW(CheckImageSize(-1, 1, "x"), EInvalidGraphic);
    EXPECT_NO_THROW(CheckImageSize(0, 0, "x"));
}

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

TEST(SafeFileWriter, AFailedWriteLeavesTheOldFileAndNoTemporary)
{
    test::TempDir dir;
    const std::string path = dir.File("out.bmp");
    test::WriteBytes(path, {1, 2, 3});
    EXPECT_THROW(WriteFileSafely(path,
                                 [](TStream& s) {
                                     s.WriteBuffer("partial", 7);
                                     throw EWriteError("disk full");
                                 }),
                 EWriteError);
    EXPECT_EQ(test::ReadBytes(path), (std::vector<uint8_t>{1, 2, 3}));
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 1);

    WriteFileSafely(path, [](TStream& s) { s.WriteBuffer("new", 3); });
    EXPECT_EQ(test::ReadBytes(path), (std::vector<uint8_t>{'n', 'e', 'w'}));
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IRUSR);
    EXPECT_TRUE(st.st_mode & S_IWUSR);

    EXPECT_THROW(WriteFileSafely(dir.File("no/such/folder.bmp"), [](TStream&) {}), EFCreateError);
}

}  // namespace
}  // namespace kobalto
