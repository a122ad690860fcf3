#pragma once
// What the drop batch needs of the window it runs for. The Qt window and the
// command-line tool each implement it.
#include <cstdint>
#include <string>

namespace kobalto {

class TBitmap;
class EBatchFileError;

struct FileReport {
    std::string sourcePath;
    std::string outputPath;
    int64_t bytesIn = 0;
    int64_t bytesOut = 0;
    bool copied = false;
    std::string report;  // "photo.jpg ( 2.9MB → 976.6KB )"
};

class BatchView {
public:
    virtual ~BatchView() = default;

    // True in the automatic mode, false in the percentage mode.
    virtual bool AutomaticMode() = 0;
    virtual std::string PercentText() = 0;
    virtual void SetPercentText(const std::string& text) = 0;

    virtual void HideMessagePanel() = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    // The result of the current file, for the preview.
    virtual void ShowPreview(const TBitmap& bitmap) = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // Lets pending window events run (a nested drop among them).
    virtual void ProcessMessages() = 0;
    // One file is done; its output stands at report.outputPath.
    virtual void FileDone(const FileReport&) {}
    // A path the batch does not take (no accepted extension, a folder).
    virtual void FileSkipped(const std::string&) {}
    // A file failed. True lets the batch go on with the next file; false
    // ends it with this error.
    virtual bool GoOnAfter(const EBatchFileError&) { return false; }
    // A reader went on past a fault in the file (for example JPEG data in a
    // TIFF that ends early); the file is still being processed.
    virtual void ShowWarning(const std::string& /*title*/, const std::string& /*text*/) {}
};

}  // namespace kobalto
