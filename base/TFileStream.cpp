#include "base/TFileStream.h"

#include <unistd.h>

#include <cerrno>

#include "base/Exceptions.h"
#include "base/FileWriteFault.h"
#include "base/Messages.h"

namespace kobalto {

namespace {
constexpr size_t kBufferSize = 1 << 18;
}

TFileStream::TFileStream(const std::string& path, Mode mode) : path_(path)
{
    file_ = std::fopen(path.c_str(), mode == Mode::OpenRead ? "rb" : "w+b");
    if (!file_) {
        if (mode == Mode::OpenRead)
            throw EFOpenError(msg::Format(msg::kCannotOpenFile, {path}));
        throw EFCreateError(msg::Format(msg::kCannotCreateFile, {path}));
    }
    std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
}

int TFileStream::Descriptor() const { return fileno(file_); }

TFileStream::TFileStream(int fd, const std::string& path) : path_(path)
{
    file_ = fdopen(fd, "w+b");
    if (!file_) {
        ::close(fd);
        throw EFCreateError(msg::Format(msg::kCannotCreateFile, {path}));
    }
    std::setvbuf(file_, nullptr, _IOFBF, kBufferSize);
}

TFileStream::~TFileStream()
{
    if (file_)
        std::fclose(file_);
}

size_t TFileStream::Read(void* buffer, size_t count)
{
    return file_ ? std::fread(buffer, 1, count, file_) : 0;
}

size_t TFileStream::Write(const void* buffer, size_t count)
{
    if (!file_)
        return 0;
    if (FileWriteFails(lastError_))
        return 0;
    const size_t n = std::fwrite(buffer, 1, count, file_);
    if (n < count)
        lastError_ = errno;
    return n;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    if (!file_)
        return 0;
    int whence = origin == TSeekOrigin::Begin ? SEEK_SET : origin == TSeekOrigin::Current ? SEEK_CUR : SEEK_END;
    if (!(origin == TSeekOrigin::Current && offset == 0))
        fseeko(file_, offset, whence);
    return ftello(file_);
}

void TFileStream::Sync()
{
    if (!file_)
        return;
    if (std::fflush(file_) != 0 || ::fsync(fileno(file_)) != 0) {
        lastError_ = errno;
        throw EWriteError(msg::kStreamWriteError);
    }
}

void TFileStream::Close()
{
    if (!file_)
        return;
    bool failed = std::ferror(file_) != 0;
    if (std::fclose(file_) != 0) {
        failed = true;
        lastError_ = errno;
    }
    file_ = nullptr;
    if (failed)
        throw EWriteError(msg::kStreamWriteError);
}

std::string ReadWholeFile(const std::string& path)
{
    TFileStream in(path, TFileStream::Mode::OpenRead);
    int64_t size = in.Size();
    std::string data(static_cast<size_t>(size < 0 ? 0 : size), '\0');
    in.ReadBuffer(data.data(), data.size());
    return data;
}

}  // namespace kobalto
