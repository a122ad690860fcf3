#include "batch/ParallelBatch.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "base/Messages.h"
#include "base/SafeFileWriter.h"
#include "platform/SpareCores.h"
#include "base/Text.h"
#include "base/Warnings.h"
#include "batch/FormatSizeText.h"
#include "imaging/Extension.h"
#include "imaging/SaveImageFile.h"
#include "imaging/Scaling.h"
#include "platform/FileSystem.h"

namespace kobalto {

namespace {

// One accepted file: what the worker found, kept until it is committed.
struct Job {
    std::string path;
    std::string outPath;
    std::string staged;      // the finished output in the hidden folder; empty when none
    size_t waitFor = 0;      // jobs [0, waitFor) must be committed before this one starts
    int64_t bytesIn = 0;
    bool copied = false;
    bool done = false;
    bool inPlace = false;    // renamed into the output folder (or nothing to rename)
    std::string error;       // what() of the failure; empty on success
    bool failed = false;
    std::vector<std::pair<std::string, std::string>> warnings;
};

std::string Canonical(const std::string& path)
{
    std::error_code ec;
    std::filesystem::path p = std::filesystem::weakly_canonical(path, ec);
    return ec ? path : p.string();
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); !from.empty() && at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

class ParallelRun {
public:
    ParallelRun(std::vector<Job> jobs, std::string stagingFolder, FactorRule rule)
        : jobs_(std::move(jobs)), staging_(std::move(stagingFolder)), rule_(rule),
          // Held while the run lives: a later start clearing what killed
          // runs left must not take this folder for one of them.
          stagingLock_(::open(staging_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (stagingLock_ >= 0)
            ::flock(stagingLock_, LOCK_EX);
    }

    // Stops the workers and deletes every output not renamed into place, on
    // every way out (a failure that ends the batch, a view that throws).
    ~ParallelRun()
    {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        for (std::thread& t : threads_)
            t.join();
        for (size_t i = committed_; i < jobs_.size(); ++i)
            if (!jobs_[i].staged.empty())
                ::unlink(jobs_[i].staged.c_str());
        ::rmdir(staging_.c_str());
        if (stagingLock_ >= 0)
            ::close(stagingLock_);
    }

    void Start(unsigned threads)
    {
        for (unsigned t = 0; t < threads; ++t)
            threads_.emplace_back([this] { Work(); });
    }

    size_t Count() const { return jobs_.size(); }

    // Waits for job i and returns it; the caller commits it, then calls Committed.
    Job& Finished(size_t i)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return jobs_[i].done; });
        return jobs_[i];
    }

    // Job i if it is finished, without waiting.
    Job* FinishedNow(size_t i)
    {
        std::lock_guard lock(mutex_);
        return i < jobs_.size() && jobs_[i].done ? &jobs_[i] : nullptr;
    }

    // Job i's output is in place (or it failed and has none): the files
    // waiting for it may start.
    void Committed(size_t i)
    {
        {
            std::lock_guard lock(mutex_);
            jobs_[i].staged.clear();
            committed_ = std::max(committed_, i + 1);
        }
        changed_.notify_all();
    }

private:
    void Work()
    {
        // The files already share the cores out: none of them takes more.
        const platform::ScopedSpareCores oneCoreEach(0);
        for (;;) {
            const size_t i = next_.fetch_add(1);
            if (i >= jobs_.size())
                return;
            {
                // Jobs are taken in order, so the ones waited for are already
                // running or done: no wait can close a circle.
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stop_ || committed_ >= jobs_[i].waitFor; });
                if (stop_)
                    return;
            }
            Job result = jobs_[i];
            Shrink(i, result);
            {
                std::lock_guard lock(mutex_);
                result.done = true;
                jobs_[i] = std::move(result);
            }
            changed_.notify_all();
        }
    }

    // The steps of the one-at-a-time batch, writing to a staged name.
    void Shrink(size_t i, Job& job)
    {
        PictureHolder holder;
        // The output folder is synced once the output is renamed there.
        const ScopedFolderSyncByCaller folderSync;
        const std::string staged = staging_ + "/" + std::to_string(i) + "-" + FileNamePart(job.outPath);
        try {
            job.bytesIn = platform::FileSize(job.path);
            const float factor = ChooseFactor(rule_, BytesToKb(job.bytesIn));
            {
                const ScopedWarningSink warnings([&job](std::string_view title, std::string_view text) {
                    job.warnings.emplace_back(title, text);
                });
                LoadAndScaleImage(holder, false, job.path, factor);
            }
            job.copied = factor >= 1;
            if (job.copied) {
                // A file copied onto itself stays as it is; the earlier
                // outputs of its name are in place (it waited for them).
                if (!platform::SameFile(job.path, job.outPath)) {
                    job.staged = staged;
                    if (platform::CopyFileOverwrite(job.path, staged) != platform::CopyResult::Copied)
                        throw EFCreateError(msg::Format(msg::kCannotCreateFile, {job.outPath}));
                }
            } else {
                job.staged = staged;
                SaveImageFile(holder.Bitmap(), staged, false, 0);
            }
        } catch (const std::exception& e) {
            Fail(job, e.what(), staged);
        } catch (...) {
            Fail(job, "unexpected failure", staged);
        }
    }

    void Fail(Job& job, std::string reason, const std::string& staged)
    {
        // The writers name the file they write; that is the output to the user.
        ReplaceAll(reason, staged, job.outPath);
        job.failed = true;
        job.error = std::move(reason);
        ::unlink(staged.c_str());
        job.staged.clear();
    }

    std::vector<Job> jobs_;
    const std::string staging_;
    const FactorRule rule_;
    const int stagingLock_;
    std::vector<std::thread> threads_;
    std::atomic<size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t committed_ = 0;
    bool stop_ = false;
};

// Renames job i's finished output into place, and those of the finished
// jobs right after it, up to the first that failed, then syncs the folder
// once for all of them. A rename that fails fails its file: for job i by
// raising, for a later one by marking it, which stops the run of renames.
void CommitFrom(ParallelRun& run, size_t i, const std::string& outputFolder)
{
    for (size_t k = i; k < run.Count(); ++k) {
        Job* job = k == i ? &run.Finished(i) : run.FinishedNow(k);
        if (!job || job->failed)
            break;
        if (!job->staged.empty() && std::rename(job->staged.c_str(), job->outPath.c_str()) != 0) {
            const std::string reason = msg::Format(msg::kCannotCreateFile, {job->outPath});
            if (k == i)
                throw EFCreateError(reason);
            ::unlink(job->staged.c_str());
            job->staged.clear();
            job->failed = true;
            job->error = reason;
            break;
        }
        job->inPlace = true;
        run.Committed(k);
    }
    SyncFolder(outputFolder);
}

}  // namespace

void ProcessFilesInParallel(const std::vector<std::string>& files, BatchView& view, BatchState& state,
                            unsigned jobs)
{
    // Accepted files, each with the index of the argument it came from.
    std::vector<size_t> argOf;
    for (size_t a = 0; a < files.size(); ++a)
        if (IsImageFileSupported(files[a]))
            argOf.push_back(a);
    const unsigned threads = static_cast<unsigned>(std::min<size_t>(jobs, argOf.size()));
    std::string staging = TemporaryPattern(state.outputFolder);
    if (threads <= 1 || !mkdtemp(staging.data())) {
        // Nothing to share out, or no room for finished outputs beside the
        // real ones: one file at a time, which also reports the folder.
        ProcessDroppedFiles(files, view, state);
        return;
    }
    view.HideMessagePanel();
    const FactorRule rule = ReadFactorRule(view);
    // The umask is read once, before any thread creates a file.
    DefaultFileMode();

    std::vector<Job> list(argOf.size());
    std::map<std::string, size_t> lastWriterOf;  // canonical output path → 1 + job index
    std::map<std::string, size_t> lastNamed;     // output file name → 1 + job index
    for (size_t i = 0; i < list.size(); ++i) {
        Job& job = list[i];
        job.path = files[argOf[i]];
        const std::string name = FileNamePart(job.path);
        job.outPath = state.outputFolder + "/" + name;
        // An input that an earlier file writes is read only once that output
        // is in place; so is a file writing the same output, whose copy onto
        // itself depends on what stands there.
        const std::string canonicalIn = Canonical(job.path);
        const std::string canonicalOut = Canonical(job.outPath);
        if (auto w = lastWriterOf.find(canonicalIn); w != lastWriterOf.end())
            job.waitFor = std::max(job.waitFor, w->second);
        if (auto n = lastNamed.find(name); n != lastNamed.end())
            job.waitFor = std::max(job.waitFor, n->second);
        lastWriterOf[canonicalOut] = i + 1;
        lastNamed[name] = i + 1;
    }

    ParallelRun run(std::move(list), staging, rule);
    run.Start(threads);
    size_t nextJob = 0;
    for (size_t a = 0; a < files.size(); ++a) {
        if (nextJob >= argOf.size() || argOf[nextJob] != a) {
            view.FileSkipped(files[a]);
            continue;
        }
        const size_t i = nextJob++;
        Job& job = run.Finished(i);
        for (const auto& [title, text] : job.warnings)
            view.ShowWarning(title, text);
        try {
            if (job.failed)
                throw EBatchFileError(job.path, job.error);
            state.lastOutputPath = job.outPath;
            if (!job.inPlace) {
                try {
                    CommitFrom(run, i, state.outputFolder);
                } catch (const std::exception& e) {
                    throw EBatchFileError(job.path, e.what());
                }
            }
            const FileReport report = ReportFor(job.path, job.outPath, job.bytesIn, job.copied);
            view.SetCaption(report.report + " - Kobalto");
            view.FileDone(report);
        } catch (const EBatchFileError& error) {
            if (!job.staged.empty())
                ::unlink(job.staged.c_str());
            run.Committed(i);
            if (!view.GoOnAfter(error))
                throw;
        }
    }
}

}  // namespace kobalto
