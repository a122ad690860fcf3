// Photoshop, PPM and PCX files of our writers come back through the
// registry's readers pixel for pixel, at sizes where row padding and odd
// widths matter.
#include <gtest/gtest.h>

#include <string>

#include "codecs/registry/TPicture.h"
#include "graphics/TBitmap.h"
#include "imaging/SaveImageFile.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(WrittenFormats, ReadBackThroughTheirReaders)
{
    const struct {
        const char* name;
        const char* readerClass;
    } formats[] = {{"a.psd", "TPSDGraphic"}, {"b.pdd", "TPSDGraphic"}, {"c.ppm", "TPPMGraphic"}, {"d.pcx", "TPCXGraphic"}};
    const struct {
        int width, height;
    } sizes[] = {{1, 1}, {2, 2}, {5, 3}, {33, 17}, {130, 2}};
    for (const auto& f : formats)
        for (const auto& s : sizes) {
            SCOPED_TRACE(std::string(f.name) + " " + std::to_string(s.width) + " x " + std::to_string(s.height));
            test::TempDir dir;
            TBitmap source = test::PatternBitmap(s.width, s.height);
            const std::string path = dir.File(f.name);
            ASSERT_TRUE(SaveImageFile(source, path, false, 0));
            TPicture picture;
            picture.LoadFromFile(path);
            ASSERT_NE(picture.Graphic(), nullptr);
            EXPECT_STREQ(picture.Graphic()->ClassName(), f.readerClass);
            const auto* read = dynamic_cast<const TBitmap*>(picture.Graphic());
            ASSERT_NE(read, nullptr);
            ASSERT_EQ(read->Width(), s.width);
            ASSERT_EQ(read->Height(), s.height);
            int differing = 0;
            for (int y = 0; y < s.height; ++y)
                for (int x = 0; x < s.width; ++x)
                    differing += !(read->Pixel(x, y) == source.Pixel(x, y));
            EXPECT_EQ(differing, 0);
        }
}

}  // namespace
}  // namespace kobalto
