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

// The factor for a file of kbIn KB: in the automatic mode 2000 ÷ kbIn above
// 2000 KB and 1 otherwise; in the percentage mode the box's value ÷ 100, where
// a value below 10 (or no number) becomes 10 and is written back.
float ChooseFactor(BatchView& view, float kbIn);

// Processes the files in order. Paths without an accepted extension are
// skipped, told only to view.FileSkipped. A file that fails ends the batch
// with EBatchFileError, unless view.GoOnAfter lets it go on.
void ProcessDroppedFiles(const std::vector<std::string>& files, BatchView& view, BatchState& state);

}  // namespace kobalto
