#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "download_file.h"
#include "md5.h"
#include "offered_update.h"

// What arrived: its length and MD5, taken while it was written.
struct ReceivedPackage {
    uint64_t size = 0;
    // Empty when the answer announced an MD5: the held file is then compared
    // with that, and a second hash while receiving would only cost time.
    std::string md5Hex;
};

// What the launch asks of the worker while it checks and starts a package.
class LaunchGate {
public:
    virtual ~LaunchGate() = default;
    // Whether the window has gone; asked between blocks of the check.
    virtual bool IsCancelled() const = 0;
    // Runs `start` unless cancelled, and keeps a cancel waiting until it has
    // returned: a close that has returned has seen the last start. False
    // when cancelled or when `start` returned false.
    virtual bool StartUnlessCancelled(const std::function<bool()>& start) = 0;
};

// The system services the worker uses; tests bring their own.
struct PackageServices {
    // Downloads `url` into the file `path` (DownloadFile).
    std::function<void(const std::wstring& url, const std::wstring& path, IDownloadOwner* owner)> download;
    // Checks that the offer's file holds exactly what was received and
    // matches the announcement, then starts it with "/S" through the gate;
    // true when started. Any other outcome removes the file.
    std::function<bool(const OfferedUpdate& offer, const ReceivedPackage& received, LaunchGate& gate)> launch;
    // Removes the file at `path`, if there is one, and the folder made for it.
    std::function<void(const std::wstring& path)> remove;
    // Whether `launch` checks a vendor signature over the whole file.
    bool checksSignature = false;
};

// Messages from the worker to the window.
enum class WorkerEvent {
    Progress,
    // The whole package is on disk. The worker goes on to check and start
    // it once the window has answered with ConfirmDownloaded (or Cancel), so
    // that the window shows the end of the download before the start.
    Downloaded,
    Finished,
};

// Downloads the offered package on a thread of its own and starts it. The
// worker never touches the window: it tells it through `post` (a posted
// window message; false when it could not be posted) when the percentage has
// changed, when the package is whole, and once, last, that it has finished;
// the window then reads LatestPercent.
class PackageWorker : private IDownloadOwner, private LaunchGate {
public:
    PackageWorker(PackageServices services, std::function<bool(WorkerEvent)> post);
    // Cancels and waits for the thread.
    ~PackageWorker() override;
    PackageWorker(const PackageWorker&) = delete;
    PackageWorker& operator=(const PackageWorker&) = delete;

    // Starts the thread; false when one was started before, or when none
    // could be started, which ends the work at once as a failed download
    // (Finished is posted).
    bool Start(const OfferedUpdate& offer);
    // Stops the download between two pieces and the check between two
    // blocks. Once it has returned, nothing will be started: it waits at
    // most for a start already under way.
    void Cancel();
    void Join();
    // Waits up to `limit` for the thread's work to end; true when it has.
    bool WaitForEnd(std::chrono::milliseconds limit);
    // Whether the work has ended: Finished was posted for real.
    bool HasFinished() { return WaitForEnd(std::chrono::milliseconds(0)); }
    // Whether the worker waits for ConfirmDownloaded: Downloaded was
    // posted for real.
    bool AwaitsConfirmation();
    // The window has shown the end of the download.
    void ConfirmDownloaded();

    // The last percentage reported, or -1 before the first.
    int LatestPercent() const { return percent_.load(); }
    // Whether the package was started; meaningful after Finished.
    bool Launched() const { return launched_.load(); }

private:
    void Run(const OfferedUpdate& offer);
    void Work(const OfferedUpdate& offer);
    // Posts Downloaded and waits for the window's answer, unless the window
    // cannot be told (its queue is full); false when cancelled.
    bool WaitForConfirmation();
    void End();

    void SetProgress(int percent) override;
    void OnPieceWritten(const char* data, size_t size) override;
    void OnTransferRestarted() override;
    void OnDownloadFinished(bool complete) override { complete_ = complete; }
    bool IsCancelled() const override { return cancelled_.load(); }
    bool StartUnlessCancelled(const std::function<bool()>& start) override;
    unsigned long long AnnouncedSize() const override { return announcedSize_; }
    // Only a package the answer lets us check may come without a length.
    bool TakesBodyWithoutLength() const override { return checkable_; }
    bool ChecksWholeFile() const override { return checksWholeFile_; }

    PackageServices services_;
    std::function<bool(WorkerEvent)> post_;
    std::thread thread_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> launched_{false};
    std::atomic<int> percent_{-1};
    std::mutex launching_; // held from the last cancel check until the start returned
    std::mutex state_;
    std::condition_variable changed_;
    // Guarded by state_.
    bool awaiting_ = false;
    bool confirmed_ = false;
    bool finished_ = false;
    // Written and read on the worker thread only.
    unsigned long long announcedSize_ = 0;
    bool checkable_ = false;
    bool checksWholeFile_ = false;
    bool complete_ = false;
    ReceivedPackage received_;
    bool hashing_ = false;
    Md5Stream md5_;
};
