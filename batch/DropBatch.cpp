#include "batch/DropBatch.h"

#include "batch/FormatSizeText.h"
#include "batch/ParsePercent.h"
#include "base/Extended.h"
#include "base/Messages.h"
#include "base/Text.h"
#include "base/Warnings.h"
#include "imaging/Extension.h"
#include "imaging/LoadScaleAndSave.h"
#include "imaging/Scaling.h"
#include "platform/FileSystem.h"

namespace kobalto {

FactorRule ReadFactorRule(BatchView& view)
{
    FactorRule rule;
    rule.automatic = view.AutomaticMode();
    if (rule.automatic)
        return rule;
    rule.percent = ParsePercent(view.PercentText());
    if (rule.percent < kPercentFloor) {
        view.SetPercentText(std::to_string(kPercentFloor));
        rule.percent = kPercentFloor;
    }
    return rule;
}

float ChooseFactor(const FactorRule& rule, float kbIn)
{
    if (rule.automatic)
        return kbIn > kAutomaticLimitKb ? static_cast<float>(Extended{2000} / kbIn) : 1.0f;
    return static_cast<float>(static_cast<Extended>(rule.percent) / 100);
}

float ChooseFactor(BatchView& view, float kbIn) { return ChooseFactor(ReadFactorRule(view), kbIn); }

FileReport ReportFor(const std::string& path, const std::string& outPath, int64_t bytesIn, bool copied)
{
    FileReport report;
    report.sourcePath = path;
    report.outputPath = outPath;
    report.bytesIn = bytesIn;
    report.bytesOut = platform::FileSize(outPath);
    report.copied = copied;
    report.report = FileNamePart(outPath) + " ( " + FormatSizeText(BytesToKb(bytesIn)) + " → " +
                    FormatSizeText(BytesToKb(report.bytesOut)) + " )";
    return report;
}

namespace {

// Busy cursor for the duration of one file, reset also when it fails.
class BusyCursor {
public:
    explicit BusyCursor(BatchView& view) : view_(view) { view_.SetBusyCursor(true); }
    ~BusyCursor() { view_.SetBusyCursor(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    BatchView& view_;
};

void ProcessFile(const std::string& path, BatchView& view, BatchState& state, PictureHolder& holder)
{
    const int64_t bytesIn = platform::FileSize(path);
    const float kbIn = BytesToKb(bytesIn);
    const float factor = ChooseFactor(view, kbIn);
    BusyCursor busy(view);

    // Every file starts without the transparency an icon before it set.
    holder.SetTransparentFlag(false);
    const std::string outPath = state.outputFolder + "/" + FileNamePart(path);
    const bool copy = factor >= 1;
    const auto loaded = [&] {
        view.ShowPreview(holder.Bitmap());
        state.lastOutputPath = outPath;
    };
    const ScopedWarningSink warnings([&view](std::string_view title, std::string_view text) {
        view.ShowWarning(std::string(title), std::string(text));
    });
    const auto pump = [&view] { view.ProcessMessages(); };
    if (copy) {
        LoadAndScaleImage(holder, false, path, factor, pump);
        loaded();
        if (platform::CopyFileOverwrite(path, outPath) == platform::CopyResult::Failed)
            throw EFCreateError(msg::Format(msg::kCannotCreateFile, {outPath}));
    } else {
        // Written while the picture is decoded where a core is idle.
        LoadScaleAndSave(holder, path, factor, outPath, pump, loaded);
    }

    const FileReport report = ReportFor(path, outPath, bytesIn, copy);
    view.SetCaption(report.report + " - Kobalto");
    view.FileDone(report);
}

}  // namespace

void ProcessDroppedFiles(const std::vector<std::string>& files, BatchView& view, BatchState& state)
{
    PictureHolder holder;
    view.HideMessagePanel();
    for (const std::string& path : files) {
        if (!IsImageFileSupported(path)) {
            view.FileSkipped(path);
            continue;
        }
        try {
            ProcessFile(path, view, state, holder);
        } catch (const std::exception& e) {
            const EBatchFileError error(path, e.what());
            if (!view.GoOnAfter(error))
                throw error;
        }
    }
}

}  // namespace kobalto
