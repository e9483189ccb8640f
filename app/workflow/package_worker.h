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
#include "update_manifest.h"

// What arrived: its length and MD5, taken while it was written.
struct ReceivedPackage {
    uint64_t size = 0;
    // Empty when the answer announced an MD5: the held file is then compared
    // with that, and a second hash while receiving would only cost time.
    std::string md5Hex;
};

// The system services the worker uses; tests bring their own.
struct PackageServices {
    // Downloads `url` into the file `path` (DownloadFile).
    std::function<void(const std::wstring& url, const std::wstring& path, IDownloadOwner* owner)> download;
    // Starts the package at `path` with "/S" if the file holds exactly what
    // was received and matches the announcement; true when started. Any
    // other outcome removes the file.
    std::function<bool(const std::wstring& path, const ReceivedPackage& received, const UpdateManifest& manifest)>
        launch;
    // Removes the file at `path`, if there is one.
    std::function<void(const std::wstring& path)> remove;
};

// Messages from the worker to the window.
enum class WorkerEvent { Progress, Finished };

// Downloads the offered package on a thread of its own and starts it. The
// worker never touches the window: it tells it through `post` (a posted
// window message) when the percentage has changed, and once, last, that it
// has finished; the window then reads LatestPercent and Launched.
class PackageWorker : private IDownloadOwner {
public:
    PackageWorker(PackageServices services, std::function<void(WorkerEvent)> post);
    // Cancels and waits for the thread.
    ~PackageWorker() override;
    PackageWorker(const PackageWorker&) = delete;
    PackageWorker& operator=(const PackageWorker&) = delete;

    // Starts the thread; false when one was started before.
    bool Start(const std::wstring& url, const std::wstring& path, const UpdateManifest& manifest);
    // Stops the download between two pieces. Once it has returned, nothing
    // will be started: a launch already under way is waited for.
    void Cancel();
    void Join();
    // Waits up to `limit` for the thread's work to end; true when it has.
    bool WaitForEnd(std::chrono::milliseconds limit);

    // The last percentage reported, or -1 before the first.
    int LatestPercent() const { return percent_.load(); }
    // Whether the package was started; meaningful after Finished.
    bool Launched() const { return launched_.load(); }

private:
    void Run(std::wstring url, std::wstring path, UpdateManifest manifest);

    void SetProgress(int percent) override;
    void OnPieceWritten(const char* data, size_t size) override;
    void OnTransferRestarted() override;
    void OnDownloadFinished(bool complete) override { complete_ = complete; }
    bool IsCancelled() const override { return cancelled_.load(); }
    unsigned long long AnnouncedSize() const override { return announcedSize_; }
    // Only a package the answer lets us check may come without a length.
    bool TakesBodyWithoutLength() const override { return checkable_; }

    PackageServices services_;
    std::function<void(WorkerEvent)> post_;
    std::thread thread_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> launched_{false};
    std::atomic<int> percent_{-1};
    std::mutex launching_; // held from the last cancel check until the launch returned
    std::mutex ending_;
    std::condition_variable ended_;
    bool finished_ = false; // guarded by ending_
    // Written and read on the worker thread only.
    unsigned long long announcedSize_ = 0;
    bool checkable_ = false;
    bool complete_ = false;
    ReceivedPackage received_;
    bool hashing_ = false;
    Md5Stream md5_;
};
