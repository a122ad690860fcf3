// The rest of a stream as bytes: mapped from a file, read from memory, the
// same either way, from wherever the stream stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/DiscardPages.h"
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

// The resident kilobytes of the mapping that holds address, from the
// kernel's account of this process; -1 when none holds it.
long ResidentKb(const void* address)
{
    std::ifstream smaps("/proc/self/smaps");
    const auto at = reinterpret_cast<uintptr_t>(address);
    bool inside = false;
    std::string line;
    while (std::getline(smaps, line)) {
        uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream head(line);
        if (head >> std::hex >> from >> dash >> to && dash == '-' && line.find(':') > line.find(' ')) {
            inside = from <= at && at < to;
            continue;
        }
        if (inside && line.rfind("Rss:", 0) == 0)
            return std::stol(line.substr(4));
    }
    return -1;
}

TEST(StreamRest, ReleasedPagesLeaveMemoryAndReadBackTheSame)
{
    test::TempDir dir;
    constexpr size_t kPages = 64;
    std::vector<uint8_t> content(kPages * 4096 + 100);
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<uint8_t>(i * 13 + i / 4096);
    test::WriteBytes(dir.File("f.bin"), content);
    struct Case {
        size_t from, length;
        long kbLeft;  // of the whole mapping, every page touched before
    };
    // Only the pages wholly among the released bytes go; the mapping's last
    // page counts as whole when the bytes reach the end of the file.
    const Case cases[] = {
        {0, content.size(), 0},
        {4096, 4096, (kPages + 1 - 1) * 4},
        {100, 4096, (kPages + 1) * 4},
        {10 * 4096 + 1, 20 * 4096 - 2, (kPages + 1 - 18) * 4},
        {kPages * 4096, 100, kPages * 4},
        {content.size() - 1, 1, (kPages + 1) * 4},
        {0, 1, (kPages + 1) * 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        TFileStream file(dir.File("f.bin"), TFileStream::Mode::OpenRead);
        const TStreamRest mapped(file, "TEST");
        const std::span<const uint8_t> bytes = mapped.Bytes();
        ASSERT_TRUE(std::equal(bytes.begin(), bytes.end(), content.begin(), content.end()));  // every page in
        ASSERT_EQ(ResidentKb(bytes.data()), static_cast<long>(kPages + 1) * 4);
        mapped.Release(bytes.subspan(c.from, c.length));
        EXPECT_EQ(ResidentKb(bytes.data()), c.kbLeft);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), content.begin(), content.end()));
    }
}

TEST(StreamRest, ReleaseLeavesBytesHeldInMemoryAlone)
{
    // Given back, memory not mapped from a file would read as zeros.
    std::vector<uint8_t> content(64 * 4096, 0x5A);
    TMemoryStream memory(content);
    const TStreamRest read(memory, "TEST");
    read.Release(read.Bytes());
    EXPECT_TRUE(std::all_of(read.Bytes().begin(), read.Bytes().end(), [](uint8_t b) { return b == 0x5A; }));

    test::TempDir dir;
    test::WriteBytes(dir.File("f.bin"), std::vector<uint8_t>(8192, 1));
    TFileStream file(dir.File("f.bin"), TFileStream::Mode::OpenRead);
    const TStreamRest mapped(file, "TEST");
    mapped.Release(content);  // not the mapping's bytes
    EXPECT_TRUE(std::all_of(content.begin(), content.end(), [](uint8_t b) { return b == 0x5A; }));
}

TEST(DiscardPages, OnlyWholePagesInsideReadAsZero)
{
    constexpr size_t kPage = 4096;
    // Page-aligned storage with room for the cases below.
    std::vector<uint8_t> storage(20 * kPage);
    const size_t base = (kPage - reinterpret_cast<uintptr_t>(storage.data()) % kPage) % kPage;
    const std::span<uint8_t> pages = std::span(storage).subspan(base, 16 * kPage);
    struct Case {
        size_t from, length, zeroFrom, zeroTo;  // zeroFrom == zeroTo: nothing given back
    };
    const Case cases[] = {
        {0, 16 * kPage, 0, 16 * kPage},
        {1, 3 * kPage, kPage, 3 * kPage},
        {kPage - 1, kPage + 1, kPage, 2 * kPage},
        {kPage + 1, kPage, 0, 0},
        {5 * kPage, kPage - 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        std::fill(pages.begin(), pages.end(), 0xA5);
        DiscardPages(pages.subspan(c.from, c.length));
        for (size_t i = 0; i < pages.size(); ++i)
            if (pages[i] != (i >= c.zeroFrom && i < c.zeroTo ? 0 : 0xA5)) {
                ADD_FAILURE() << "byte " << i << " is " << int(pages[i]);
                break;
            }
    }
}

}  // namespace
}  // namespace kobalto
