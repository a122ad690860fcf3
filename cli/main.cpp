// kobalto-cli: the shrinking pipeline of the window, without a window.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "batch/DropBatch.h"
#include "base/SafeFileWriter.h"
#include "batch/ParallelBatch.h"
#include "base/Text.h"
#include "cli/CliOptions.h"
#include "imaging/Extension.h"
#include "imaging/SaveImageFile.h"
#include "imaging/Scaling.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/SpareCores.h"

namespace kobalto::cli {
namespace {

int Fail(const std::string& path, const std::string& message)
{
    std::cerr << "kobalto-cli: " << path << ": " << message << std::endl;
    return 1;
}

// The batch's window, on a terminal: prints one report line per file, and on
// standard error one line per skipped path and per failed file.
class ConsoleView : public BatchView {
public:
    ConsoleView(const std::optional<std::string>& percent, bool keepGoing) : percent_(percent), keepGoing_(keepGoing)
    {
    }

    int Failures() const { return failures_; }

    bool AutomaticMode() override { return !percent_.has_value(); }
    std::string PercentText() override { return percent_.value_or(""); }
    void SetPercentText(const std::string& text) override { percent_ = text; }
    void HideMessagePanel() override {}
    void SetCaption(const std::string&) override {}
    void ShowPreview(const TBitmap&) override {}
    void SetBusyCursor(bool) override {}
    void ProcessMessages() override {}
    void FileDone(const FileReport& report) override { std::cout << report.report << std::endl; }
    // The window skips such paths without a word; on a terminal silence would
    // read as success.
    void FileSkipped(const std::string& path) override { Fail(path, "skipped: not an accepted image file"); }
    bool GoOnAfter(const EBatchFileError& e) override
    {
        ++failures_;
        Fail(e.Path(), e.Reason());
        return keepGoing_;
    }
    void ShowWarning(const std::string& title, const std::string& text) override
    {
        std::cerr << "kobalto-cli: " << title << ": " << text << std::endl;
    }

private:
    std::optional<std::string> percent_;
    bool keepGoing_;
    int failures_ = 0;
};

int Shrink(const Options& o)
{
    BatchState state;
    state.outputFolder = o.outDir ? *o.outDir : platform::DesktopFolder() + "/Kobalto";
    while (state.outputFolder.size() > 1 && state.outputFolder.back() == '/')
        state.outputFolder.pop_back();
    if (!platform::EnsureFolder(state.outputFolder))
        return Fail(state.outputFolder, "cannot create the output folder");
    // Temporaries of a run killed while it wrote.
    RemoveStaleTemporaries(state.outputFolder);
    ConsoleView view(o.percent, o.keepGoing);
    // -j 1 asks for one core: no file takes a second one either.
    std::optional<platform::ScopedSpareCores> oneCore;
    if (o.jobs == 1)
        oneCore.emplace(0);
    try {
        const unsigned jobs = o.jobs ? o.jobs : std::max(1u, std::thread::hardware_concurrency());
        ProcessFilesInParallel(o.files, view, state, jobs);
    } catch (const EBatchFileError&) {
        // Already reported by the view.
    }
    return view.Failures() > 0 ? 1 : 0;
}

int Convert(const Options& o)
{
    if (!IsImageFileSupported(o.input))
        return Fail(o.input, "not an accepted image file extension");
    if (!HasWriterFor(o.output))
        return Fail(o.output, "no writer for the extension '" + LowerFileExt(o.output) + "'");
    // Temporaries of a run killed while it wrote.
    const std::string outFolder = FolderPart(o.output);
    RemoveStaleTemporaries(outFolder.empty() ? "." : outFolder);
    PictureHolder holder;
    try {
        LoadAndScaleImage(holder, o.smooth, o.input, o.factor);
    } catch (const std::exception& e) {
        return Fail(o.input, e.what());
    }
    try {
        SaveImageFile(holder.Bitmap(), o.output, false, 0);
    } catch (const std::exception& e) {
        return Fail(o.output, e.what());
    }
    return 0;
}

}  // namespace
}  // namespace kobalto::cli

int main(int argc, char** argv)
{
    using namespace kobalto::cli;
    std::vector<std::string> args(argv + 1, argv + argc);
    Options o;
    try {
        o = ParseOptions(args);
    } catch (const UsageError& e) {
        std::cerr << "kobalto-cli: " << e.reason << "\n\n" << kUsage;
        return 2;
    }
    switch (o.command) {
    case Options::Command::Help:
        std::cout << kUsage;
        return 0;
    case Options::Command::Version:
        std::cout << "kobalto-cli " KOBALTO_VERSION "\n";
        return 0;
    case Options::Command::Shrink:
        return Shrink(o);
    case Options::Command::Convert:
        return Convert(o);
    }
    return 2;
}
