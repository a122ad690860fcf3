#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>

#include "graphics/metafile/TMetafile.h"
#include "tests/gui/WindowTestSupport.h"

namespace kobalto {
namespace {

TEST(WindowMetafileDrop, DroppedMetafilesShowInThePreviewAndComeOutShrunk)
{
    if (!test::HaveCorpus())
        GTEST_SKIP() << "no shared corpus";
    test::WindowPlace place;
    std::unique_ptr<TfrmMain> window = place.Show();
    window->rbtMode2->click();
    window->edtZoom->setText("50");
    const struct {
        const char* name;
        int width, height;  // half the picture, truncated
    } files[] = {{"wmf/sample.wmf", 151, 135}, {"emf/test-044.emf", 312, 234}};
    for (const auto& f : files) {
        const std::string path = test::CorpusDir() + "/" + f.name;
        test::DropAndWait(*window, {path});
        EXPECT_EQ(window->PreviewBitmap().Width(), f.width) << f.name;
        EXPECT_EQ(window->PreviewBitmap().Height(), f.height) << f.name;
        // Some of the picture is not white.
        bool drawn = false;
        for (int y = 0; y < f.height && !drawn; ++y)
            for (int x = 0; x < f.width && !drawn; ++x)
                drawn = !(window->PreviewBitmap().Pixel(x, y) == kWhite);
        EXPECT_TRUE(drawn) << f.name;
        const std::string name = std::string(f.name).substr(4);
        TMetafile written;
        written.LoadFromFile(place.Out() + "/" + name);
        EXPECT_EQ(written.Width(), f.width) << f.name;
        EXPECT_EQ(written.Height(), f.height) << f.name;
    }
}

}  // namespace
}  // namespace kobalto
