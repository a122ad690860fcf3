#pragma once
// The batch of a terminal, on several threads: the files of one command are
// shrunk side by side, and the output folder and the view end up as after
// ProcessDroppedFiles.
#include <string>
#include <vector>

#include "batch/DropBatch.h"

namespace kobalto {

// Processes files on up to jobs threads (1 or less: ProcessDroppedFiles).
// Outputs are byte for byte those of the one-at-a-time batch, and the view
// hears of every file in argument order, from the calling thread only:
// FileSkipped, ShowWarning, SetCaption, FileDone and GoOnAfter. It is not
// shown previews, asked to pump messages or to show a busy cursor, and the
// mode and percentage are read once at the start.
//
// Each output is written finished into a hidden folder inside the output
// folder and renamed into place only when every file before it in argument
// order is done; when a failure ends the batch, the outputs of the files
// after it are deleted there, so no output of a later file is written and
// an existing file of its name stays as it was. A file whose input is an
// earlier file's output (or that writes the same output) waits for that
// output to be in place before it is read.
void ProcessFilesInParallel(const std::vector<std::string>& files, BatchView& view, BatchState& state,
                            unsigned jobs);

}  // namespace kobalto
