// The rest of a stream as bytes: mapped from a file, read from memory, the
// same either way, from wherever the stream stands.
#include <gtest/gtest.h>

#include <vector>

#include "base/ReadStreamRest.h"
#include "base/TFileStream.h"
#include "base/TMemoryStream.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(StreamRest, FileAndMemoryGiveTheSameBytesFromThePosition)
{
    test::TempDir dir;
    std::vector<uint8_t> content(10000);
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<uint8_t>(i * 7);
    test::WriteBytes(dir.File("f.bin"), content);
    for (int64_t start : {0, 1, 4095, 4096, 9999, 10000}) {
        SCOPED_TRACE(start);
        const std::vector<uint8_t> expected(content.begin() + start, content.end());
        TFileStream file(dir.File("f.bin"), TFileStream::Mode::OpenRead);
        file.SetPosition(start);
        const TStreamRest mapped(file, "TEST");
        EXPECT_EQ(std::vector<uint8_t>(mapped.Bytes().begin(), mapped.Bytes().end()), expected);
        EXPECT_EQ(file.Position(), 10000);
        TMemoryStream memory(content);
        memory.SetPosition(start);
        const TStreamRest read(memory, "TEST");
        EXPECT_EQ(std::vector<uint8_t>(read.Bytes().begin(), read.Bytes().end()), expected);
    }
}

}  // namespace
}  // namespace kobalto
