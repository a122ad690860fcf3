#pragma once
// A buffered file stream. Opening for reading raises EFOpenError, creating
// raises EFCreateError, both with the path in the system's text.
#include <cstdio>
#include <string>

#include "base/TStream.h"

namespace kobalto {

class TFileStream : public TStream {
public:
    enum class Mode { OpenRead, Create };
    TFileStream(const std::string& path, Mode mode);
    // Takes over an already open descriptor for writing (used for
    // temporaries); it is closed here even when this raises.
    TFileStream(int fd, const std::string& path);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    size_t Read(void* buffer, size_t count) override;
    size_t Write(const void* buffer, size_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

    // Writes the buffered bytes out and waits until the device holds them;
    // raises EWriteError when either fails.
    void Sync();
    // Flushes and closes; raises EWriteError when buffered data could not be
    // written. The destructor closes silently.
    void Close();
    // The error number of the last failed write, sync or close; 0 if none.
    int LastError() const { return lastError_; }
    const std::string& Path() const { return path_; }
    // The open file's descriptor, for mapping it.
    int Descriptor() const;

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    int lastError_ = 0;
};

// The whole content of a file; raises EFOpenError or EReadError.
std::string ReadWholeFile(const std::string& path);

}  // namespace kobalto
