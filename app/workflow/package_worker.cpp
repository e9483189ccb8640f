#include "package_worker.h"

#include <utility>

#include "package_check.h"

PackageWorker::PackageWorker(PackageServices services, std::function<void(WorkerEvent)> post)
    : services_(std::move(services)), post_(std::move(post))
{
}

PackageWorker::~PackageWorker()
{
    Cancel();
    Join();
}

bool PackageWorker::Start(const std::wstring& url, const std::wstring& path, const UpdateManifest& manifest)
{
    if (thread_.joinable())
        return false;
    thread_ = std::thread(&PackageWorker::Run, this, url, path, manifest);
    return true;
}

void PackageWorker::Cancel()
{
    cancelled_ = true;
    // Wait for a launch that passed its last check.
    std::lock_guard<std::mutex> lock(launching_);
}

void PackageWorker::Join()
{
    if (thread_.joinable())
        thread_.join();
}

bool PackageWorker::WaitForEnd(std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> lock(ending_);
    return ended_.wait_for(lock, limit, [this] { return finished_; });
}

void PackageWorker::Run(std::wstring url, std::wstring path, UpdateManifest manifest)
{
    announcedSize_ = manifest.fileSize > 0 ? static_cast<unsigned long long>(manifest.fileSize) : 0;
    hashing_ = !AnnouncesMd5(manifest);
    checkable_ = AnnouncesSizeOrDigest(manifest);
    services_.download(url, path, this);
    if (hashing_)
        received_.md5Hex = md5_.HexDigest();
    {
        std::lock_guard<std::mutex> lock(launching_);
        if (complete_ && !cancelled_)
            launched_ = services_.launch(path, received_, manifest);
        else if (complete_)
            services_.remove(path); // an incomplete one was removed by the download
    }
    post_(WorkerEvent::Finished);
    std::lock_guard<std::mutex> lock(ending_);
    finished_ = true;
    ended_.notify_all();
}

void PackageWorker::SetProgress(int percent)
{
    // One message per change: a message per piece would flood the window's
    // queue, whose limit is 10,000 messages.
    if (percent_.exchange(percent) != percent)
        post_(WorkerEvent::Progress);
}

void PackageWorker::OnPieceWritten(const char* data, size_t size)
{
    if (hashing_)
        md5_.Update(data, size);
    received_.size += size;
}

void PackageWorker::OnTransferRestarted()
{
    md5_ = Md5Stream();
    received_.size = 0;
}
