#pragma once
// The program's main job: every accepted file of one drop is loaded, scaled
// and copied or written anew into the output folder.
#include <string>
#include <vector>

#include "batch/BatchView.h"
#include "base/Exceptions.h"

namespace kobalto {

// Shared by all batches of a run, nested ones included.
struct BatchState {
    std::string outputFolder;
    std::string lastOutputPath;
};

// A file of the batch failed; what() names the file and says why.
class EBatchFileError : public Exception {
public:
    EBatchFileError(const std::string& path, const std::string& reason)
        : Exception(path + ": " + reason), path_(path), reason_(reason)
    {
    }
    const std::string& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

inline constexpr float kAutomaticLimitKb = 2000;
inline constexpr int kPercentFloor = 10;

// The mode and percentage the view shows, with a percentage below 10 (or no
// number) raised to 10 and written back.
struct FactorRule {
    bool automatic = true;
    int percent = kPercentFloor;
};
FactorRule ReadFactorRule(BatchView& view);

// The factor for a file of kbIn KB: in the automatic mode 2000 ÷ kbIn above
// 2000 KB and 1 otherwise; in the percentage mode the percentage ÷ 100.
float ChooseFactor(const FactorRule& rule, float kbIn);
// The same with the rule the view shows now.
float ChooseFactor(BatchView& view, float kbIn);

// The line a finished file is reported with: "photo.jpg ( 2.9MB → 976.6KB )",
// the output's size read from the disk.
FileReport ReportFor(const std::string& path, const std::string& outPath, int64_t bytesIn, bool copied);

// Processes the files in order. Paths without an accepted extension are
// skipped, told only to view.FileSkipped. A file that fails ends the batch
// with EBatchFileError, unless view.GoOnAfter lets it go on.
void ProcessDroppedFiles(const std::vector<std::string>& files, BatchView& view, BatchState& state);

}  // namespace kobalto
