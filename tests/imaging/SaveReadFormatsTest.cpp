// The writer rows for Photoshop, PPM and PCX output.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "imaging/SaveImageFile.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(SaveImageFile, PhotoshopPpmAndPcxNamesGetTheirFormat)
{
    const struct {
        const char* name;
        std::string magic;
    } cases[] = {
        {"a.psd", "8BPS"}, {"b.PDD", "8BPS"}, {"c.ppm", "P6\n5 3\n"}, {"d.Pcx", std::string("\x0A\x05\x01\x08", 4)},
    };
    TBitmap b = test::PatternBitmap(5, 3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.File(c.name);
        EXPECT_TRUE(HasWriterFor(path));
        EXPECT_TRUE(SaveImageFile(b, path, false, 0));
        const auto bytes = test::ReadBytes(path);
        ASSERT_GE(bytes.size(), c.magic.size());
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(c.magic.size())), c.magic);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()),
                  1);
    }
}

TEST(SaveImageFile, OtherReadOnlyFormatsStillHaveNoWriter)
{
    for (const char* name : {"a.eps", "b.fax", "c.psp", "d.rla", "e.pic"})
        EXPECT_FALSE(HasWriterFor(name)) << name;
}

}  // namespace
}  // namespace kobalto
