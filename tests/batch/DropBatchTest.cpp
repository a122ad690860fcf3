#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "batch/DropBatch.h"
#include "batch/ParallelBatch.h"
#include "batch/FormatSizeText.h"
#include "codecs/jpeg/JpegEncoder.h"
#include "codecs/png/TPNGPicture.h"
#include "graphics/TBitmap.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

// Records what the batch tells its window.
class FakeView : public BatchView {
public:
    bool automatic = true;
    std::string percent = "50";
    std::vector<std::string> captions;
    std::vector<FileReport> reports;
    int previews = 0;
    int hides = 0;
    int busy = 0;
    int pumps = 0;

    bool AutomaticMode() override { return automatic; }
    std::string PercentText() override { return percent; }
    void SetPercentText(const std::string& t) override { percent = t; }
    void HideMessagePanel() override { ++hides; }
    void SetCaption(const std::string& c) override { captions.push_back(c); }
    void ShowPreview(const TBitmap&) override { ++previews; }
    void SetBusyCursor(bool on) override { busy += on ? 1 : -1; }
    void ProcessMessages() override { ++pumps; }
    void FileDone(const FileReport& r) override
    {
        reports.push_back(r);
        if (afterFile)
            afterFile();
    }
    void FileSkipped(const std::string& path) override { skipped.push_back(path); }
    bool GoOnAfter(const EBatchFileError& e) override
    {
        failed.push_back(e.Path());
        return goOn;
    }

    std::vector<std::string> skipped;
    std::vector<std::string> failed;
    bool goOn = false;
    std::function<void()> afterFile;
};

// Every case runs through the one-at-a-time batch (0) and the batch of
// several threads, which must leave the same outputs and tell the same.
class DropBatch : public ::testing::TestWithParam<unsigned> {
protected:
    bool Parallel() const { return GetParam() > 1; }
    void Run(const std::vector<std::string>& files)
    {
        if (Parallel())
            ProcessFilesInParallel(files, view, state, GetParam());
        else
            ProcessDroppedFiles(files, view, state);
    }

    void SetUp() override
    {
        state.outputFolder = out.Path();
    }
    // A BMP of exactly the given number of bytes: a picture plus filler the
    // reader does not look at.
    std::string BmpOfSize(const std::string& name, int64_t bytes, int w = 64, int h = 48)
    {
        const std::string path = in.File(name);
        test::PatternBitmap(w, h).SaveToFile(path);
        auto data = test::ReadBytes(path);
        EXPECT_LE(static_cast<int64_t>(data.size()), bytes);
        data.resize(static_cast<size_t>(bytes), 0);
        test::WriteBytes(path, data);
        return path;
    }

    test::TempDir in, out;
    BatchState state;
    FakeView view;
};

TEST_P(DropBatch, AnEmptyDropOnlyHidesTheMessagePanel)
{
    Run({});
    EXPECT_EQ(view.hides, 1);
    EXPECT_TRUE(view.captions.empty());
    Run({in.File("notes.txt"), in.File("x.jfif")});
    EXPECT_EQ(view.hides, 2);
    EXPECT_TRUE(view.captions.empty());
    EXPECT_TRUE(state.lastOutputPath.empty());
}

TEST_P(DropBatch, AutomaticModeCopiesUpTo2000KbAndScalesAbove)
{
    const std::string small = BmpOfSize("small.bmp", 2048000);
    const std::string large = BmpOfSize("large.bmp", 4096000, 64, 48);
    Run({small, large});
    ASSERT_EQ(view.reports.size(), 2u);
    EXPECT_TRUE(view.reports[0].copied);
    EXPECT_EQ(test::ReadBytes(out.File("small.bmp")), test::ReadBytes(small));
    EXPECT_FALSE(view.reports[1].copied);
    TBitmap halved;
    halved.LoadFromFile(out.File("large.bmp"));
    EXPECT_EQ(halved.Width(), 32);
    EXPECT_EQ(halved.Height(), 24);
    // 4,096,000 bytes in; 54 + 24 × 96 = 2,358 bytes out.
    EXPECT_EQ(view.captions.back(), "large.bmp ( 3.9MB → 2.3KB ) - Kobalto");
    EXPECT_EQ(state.lastOutputPath, out.File("large.bmp"));
    EXPECT_EQ(view.busy, 0);
    if (!Parallel()) {
        EXPECT_EQ(view.previews, 2);
        EXPECT_GE(view.pumps, 2);
    }
}

TEST_P(DropBatch, PercentTextsBelowTenOrNotNumbersBecomeTen)
{
    const std::string p = BmpOfSize("p.bmp", 5000, 40, 20);
    for (const char* text : {"5", "", "ab"}) {
        view.automatic = false;
        view.percent = text;
        Run({p});
        EXPECT_EQ(view.percent, "10") << text;
        TBitmap o;
        o.LoadFromFile(out.File("p.bmp"));
        EXPECT_EQ(o.Width(), 4) << text;
        EXPECT_EQ(o.Height(), 2) << text;
    }
    view.percent = "80";
    Run({p});
    EXPECT_FALSE(view.reports.back().copied);  // even a small file is re-encoded
    view.percent = "150";
    Run({p});
    EXPECT_TRUE(view.reports.back().copied);
    EXPECT_EQ(view.percent, "150");
}

TEST_P(DropBatch, ADamagedFileEndsTheBatchNamingItAndLaterFilesAreNotProcessed)
{
    const std::string bad = in.File("broken.bmp");
    test::WriteBytes(bad, {'B', 'M', 0, 1, 2, 3});
    const std::string good = BmpOfSize("good.bmp", 1000, 8, 8);
    try {
        Run({bad, good});
        FAIL();
    } catch (const EBatchFileError& e) {
        EXPECT_EQ(e.Path(), bad);
        EXPECT_EQ(e.Reason(), "ビットマップイメージが不正です");
    }
    EXPECT_FALSE(test::FileExists(out.File("good.bmp")));
    EXPECT_EQ(view.busy, 0);
}

TEST_P(DropBatch, AVanishedFileIsAnErrorNotTheLastFilesPicture)
{
    const std::string good = BmpOfSize("good.bmp", 3000, 8, 8);
    const std::string gone = in.File("gone.bmp");
    try {
        Run({good, gone});
        FAIL();
    } catch (const EBatchFileError& e) {
        EXPECT_EQ(e.Path(), gone);
        EXPECT_NE(e.Reason().find("gone.bmp"), std::string::npos);
    }
    EXPECT_FALSE(test::FileExists(out.File("gone.bmp")));
    ASSERT_EQ(view.reports.size(), 1u);
}

TEST_P(DropBatch, SameNamesFromTwoFoldersLeaveTheSecondsOutput)
{
    test::TempDir other;
    const std::string a = BmpOfSize("same.bmp", 2000, 4, 4);
    test::PatternBitmap(6, 6).SaveToFile(other.File("same.bmp"));
    Run({a, other.File("same.bmp")});
    EXPECT_EQ(test::ReadBytes(out.File("same.bmp")), test::ReadBytes(other.File("same.bmp")));
    EXPECT_EQ(view.captions.size(), 2u);
}

TEST_P(DropBatch, FilesDroppedFromTheOutputFolderItself)
{
    // Copy mode: the file is already there and stays as it was, no error.
    const std::string inside = out.File("own.bmp");
    test::PatternBitmap(10, 10).SaveToFile(inside);
    const auto before = test::ReadBytes(inside);
    Run({inside});
    EXPECT_EQ(test::ReadBytes(inside), before);
    // Scale mode replaces it with its shrunk version.
    view.automatic = false;
    view.percent = "50";
    Run({inside});
    TBitmap o;
    o.LoadFromFile(inside);
    EXPECT_EQ(o.Width(), 5);
}

TEST_P(DropBatch, AFailedWriteEndsTheBatchWithAnErrorInBothModes)
{
    const std::string p = BmpOfSize("p.bmp", 3000, 10, 10);
    state.outputFolder = out.File("missing-folder");
    view.automatic = false;
    EXPECT_THROW(Run({p}), EBatchFileError);
    view.automatic = true;
    EXPECT_THROW(Run({p}), EBatchFileError);
    EXPECT_EQ(view.busy, 0);
}

// The threads place a run of finished outputs before they report the first,
// so a folder removed after a report is a matter of the one-at-a-time batch.
class DropBatchOneAtATime : public DropBatch {};

TEST_F(DropBatchOneAtATime, AnOutputFolderRemovedBetweenFilesFailsTheNextNamingItsOutput)
{
    const std::string a = BmpOfSize("a.bmp", 3000, 10, 10);
    const std::string b = BmpOfSize("b.bmp", 3000, 10, 10);
    for (bool automatic : {false, true}) {  // written anew, then copied
        SCOPED_TRACE(automatic);
        state.outputFolder = out.File(automatic ? "copied" : "written");
        std::filesystem::create_directory(state.outputFolder);
        view.automatic = automatic;
        view.afterFile = [&] { std::filesystem::remove_all(state.outputFolder); };
        try {
            ProcessDroppedFiles({a, b}, view, state);
            ADD_FAILURE() << "no error";
        } catch (const EBatchFileError& e) {
            EXPECT_EQ(e.Path(), b);
            EXPECT_EQ(e.Reason(), "ファイル " + state.outputFolder + "/b.bmp を作成できません");
        }
        EXPECT_FALSE(std::filesystem::exists(state.outputFolder)) << "nothing was made again";
    }
}

TEST_P(DropBatch, LongAndOldSpellingsAreWrittenAndReportedWithTheirOwnSize)
{
    const std::string dib = in.File("p.dib");
    test::PatternBitmap(30, 30).SaveToFile(dib);
    const std::string jpeg = in.File("q.JPEG");
    const auto jpegBytes = EncodeJpeg(test::PatternBitmap(40, 20), {90, false, false});
    test::WriteBytes(jpeg, jpegBytes);
    // Stale outputs of the same names, far larger than anything written now.
    const std::vector<uint8_t> stale(300000, 7);
    test::WriteBytes(out.File("p.dib"), stale);
    test::WriteBytes(out.File("q.JPEG"), stale);
    view.automatic = false;
    Run({dib, jpeg});
    ASSERT_EQ(view.reports.size(), 2u);
    const char* magic[] = {"BM", "\xFF\xD8"};
    for (size_t i = 0; i < 2; ++i) {
        const FileReport& r = view.reports[i];
        const auto written = test::ReadBytes(r.outputPath);
        ASSERT_GE(written.size(), 2u);
        EXPECT_EQ(std::string(written.begin(), written.begin() + 2), magic[i]) << r.outputPath;
        EXPECT_EQ(r.bytesOut, static_cast<int64_t>(written.size())) << r.outputPath;
        EXPECT_NE(r.report.find("→ " + FormatSizeText(BytesToKb(r.bytesOut)) + " )"), std::string::npos) << r.report;
    }
    TBitmap halved;
    halved.LoadFromFile(out.File("p.dib"));
    EXPECT_EQ(halved.Width(), 15);
}

TEST_P(DropBatch, TheViewMayGoOnAfterAFailedFileAndHearsOfEverySkippedPath)
{
    const std::string bad = in.File("broken.bmp");
    test::WriteBytes(bad, {'B', 'M', 0, 1, 2, 3});
    const std::string good = BmpOfSize("good.bmp", 1000, 8, 8);
    const std::vector<std::string> files{in.Path(), bad, in.File("notes.txt"), good};
    // By default the first failure ends the batch.
    EXPECT_THROW(Run(files), EBatchFileError);
    EXPECT_EQ(view.skipped, (std::vector<std::string>{in.Path()}));
    EXPECT_TRUE(view.reports.empty());

    view.skipped.clear();
    view.goOn = true;
    Run(files);
    EXPECT_EQ(view.failed, (std::vector<std::string>{bad, bad}));
    EXPECT_EQ(view.skipped, (std::vector<std::string>{in.Path(), in.File("notes.txt")}));
    ASSERT_EQ(view.reports.size(), 1u);
    EXPECT_EQ(view.reports[0].sourcePath, good);
    EXPECT_EQ(view.busy, 0);
}

// The names in a folder, hidden ones included, sorted.
std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ParallelBatch, WritesWhatOneAtATimeWritesAndReportsInArgumentOrder)
{
    test::TempDir in, one, many;
    // The first file is by far the slowest, so later ones finish before it.
    test::PatternBitmap(1500, 1200).SaveToFile(in.File("big.bmp"));
    test::WriteBytes(in.File("b.jpg"), EncodeJpeg(test::PatternBitmap(300, 200), {90, false, false}));
    test::PatternBitmap(64, 48).SaveToFile(in.File("c.bmp"));
    test::PatternBitmap(90, 30).SaveToFile(in.File("d.png.bmp"));
    TPNGPicture png;
    png.AssignBitmap(test::PatternBitmap(200, 150));
    png.SaveToFile(in.File("e.png"));
    const std::vector<std::string> files{in.File("big.bmp"), in.File("b.jpg"), in.Path(), in.File("c.bmp"),
                                         in.File("e.png"), in.File("d.png.bmp")};
    for (const char* percent : {"50", "10"}) {
        FakeView sequential, parallel;
        sequential.automatic = parallel.automatic = false;
        sequential.percent = parallel.percent = percent;
        BatchState a{one.Path(), ""}, b{many.Path(), ""};
        ProcessDroppedFiles(files, sequential, a);
        ProcessFilesInParallel(files, parallel, b, 4);
        ASSERT_EQ(parallel.reports.size(), 5u);
        EXPECT_EQ(parallel.skipped, sequential.skipped);
        EXPECT_EQ(parallel.captions, sequential.captions);
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(parallel.reports[i].report, sequential.reports[i].report);
            EXPECT_EQ(parallel.reports[i].sourcePath, sequential.reports[i].sourcePath);
            EXPECT_EQ(test::ReadBytes(parallel.reports[i].outputPath),
                      test::ReadBytes(sequential.reports[i].outputPath))
                << parallel.reports[i].outputPath;
        }
        EXPECT_EQ(b.lastOutputPath, many.File("d.png.bmp"));
        EXPECT_EQ(Entries(many.Path()), Entries(one.Path()));
    }
}

TEST(ParallelBatch, AnInputAnEarlierFileWritesIsReadAfterThatWrite)
{
    // x.bmp goes into the output folder, whose x.bmp is then shrunk again; a
    // link to it is read after that too.
    for (const bool parallel : {false, true}) {
        test::TempDir in, out;
        test::PatternBitmap(80, 80).SaveToFile(in.File("x.bmp"));
        test::PatternBitmap(40, 40).SaveToFile(out.File("x.bmp"));
        std::filesystem::create_symlink(out.File("x.bmp"), in.File("link.bmp"));
        FakeView view;
        view.automatic = false;
        BatchState state{out.Path(), ""};
        const std::vector<std::string> files{in.File("x.bmp"), out.File("x.bmp"), in.File("link.bmp")};
        if (parallel)
            ProcessFilesInParallel(files, view, state, 3);
        else
            ProcessDroppedFiles(files, view, state);
        TBitmap twice, link;
        twice.LoadFromFile(out.File("x.bmp"));
        link.LoadFromFile(out.File("link.bmp"));
        EXPECT_EQ(twice.Width(), 20) << parallel;
        EXPECT_EQ(link.Width(), 10) << parallel;
    }
}

TEST(ParallelBatch, AFailureLeavesNoLaterOutputUnlessTheViewGoesOn)
{
    test::TempDir in;
    test::PatternBitmap(1200, 900).SaveToFile(in.File("first.bmp"));
    test::WriteBytes(in.File("bad.bmp"), {'B', 'M', 0, 1});
    for (const char* name : {"c.bmp", "d.bmp", "e.bmp", "f.bmp"})
        test::PatternBitmap(30, 20).SaveToFile(in.File(name));
    const std::vector<std::string> files{in.File("first.bmp"), in.File("c.bmp"), in.File("bad.bmp"),
                                         in.File("d.bmp"), in.File("e.bmp"), in.File("f.bmp")};
    const std::vector<uint8_t> stale(5000, 7);
    for (const bool goOn : {false, true}) {
        test::TempDir out;
        // An older output of a later file's name must stay as it was.
        test::WriteBytes(out.File("e.bmp"), stale);
        FakeView view;
        view.automatic = false;
        view.goOn = goOn;
        BatchState state{out.Path(), ""};
        if (goOn)
            ProcessFilesInParallel(files, view, state, 3);
        else
            EXPECT_THROW(ProcessFilesInParallel(files, view, state, 3), EBatchFileError);
        EXPECT_EQ(view.failed, (std::vector<std::string>{in.File("bad.bmp")}));
        ASSERT_EQ(view.reports.size(), goOn ? 5u : 2u);
        EXPECT_EQ(view.reports[1].sourcePath, in.File("c.bmp"));
        const std::vector<std::string> left = goOn ? std::vector<std::string>{"c.bmp", "d.bmp", "e.bmp", "f.bmp", "first.bmp"}
                                                   : std::vector<std::string>{"c.bmp", "e.bmp", "first.bmp"};
        EXPECT_EQ(Entries(out.Path()), left) << goOn;
        EXPECT_EQ(test::ReadBytes(out.File("e.bmp")) == stale, !goOn);
    }
}

INSTANTIATE_TEST_SUITE_P(OneAtATimeAndThreeThreads, DropBatch, ::testing::Values(0u, 3u));

}  // namespace
}  // namespace kobalto
