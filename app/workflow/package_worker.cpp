#include "package_worker.h"

#include <exception>
#include <utility>

#include "package_check.h"

PackageWorker::PackageWorker(PackageServices services, std::function<bool(WorkerEvent)> post)
    : services_(std::move(services)), post_(std::move(post))
{
}

PackageWorker::~PackageWorker()
{
    Cancel();
    Join();
}

bool PackageWorker::Start(const OfferedUpdate& offer)
{
    if (thread_.joinable())
        return false;
    {
        std::lock_guard<std::mutex> lock(state_);
        if (finished_)
            return false;
    }
    try {
        thread_ = std::thread(&PackageWorker::Run, this, offer);
        return true;
    } catch (...) {
        // No thread (std::system_error) or no memory for its arguments: the
        // download failed, and the window must not stay in it.
        End();
        return false;
    }
}

void PackageWorker::Cancel()
{
    {
        std::lock_guard<std::mutex> lock(state_);
        cancelled_ = true;
    }
    changed_.notify_all();
    // Wait for a start that passed its last check.
    std::lock_guard<std::mutex> lock(launching_);
}

void PackageWorker::Join()
{
    if (thread_.joinable())
        thread_.join();
}

bool PackageWorker::WaitForEnd(std::chrono::milliseconds limit)
{
    std::unique_lock<std::mutex> lock(state_);
    return changed_.wait_for(lock, limit, [this] { return finished_; });
}

bool PackageWorker::AwaitsConfirmation()
{
    std::lock_guard<std::mutex> lock(state_);
    return awaiting_ && !confirmed_;
}

void PackageWorker::ConfirmDownloaded()
{
    {
        std::lock_guard<std::mutex> lock(state_);
        if (!awaiting_)
            return;
        confirmed_ = true;
    }
    changed_.notify_all();
}

void PackageWorker::Run(const OfferedUpdate& offer)
{
    try {
        Work(offer);
    } catch (...) {
        // Out of memory, say: the download failed. An exception leaving the
        // thread would end the process. Whatever file is left was not
        // started: it goes.
        if (!launched_) {
            try {
                services_.remove(offer.path);
            } catch (...) {
            }
        }
    }
    End();
}

void PackageWorker::Work(const OfferedUpdate& offer)
{
    const UpdateManifest& manifest = offer.manifest;
    announcedSize_ = manifest.fileSize > 0 ? static_cast<unsigned long long>(manifest.fileSize) : 0;
    hashing_ = !AnnouncesMd5(manifest);
    checkable_ = AnnouncesSizeOrDigest(manifest);
    checksWholeFile_ = AnnouncesMd5(manifest) || services_.checksSignature;
    services_.download(offer.url, offer.path, this);
    if (!complete_) {
        // The download removed an incomplete file; the folder made for it goes too.
        services_.remove(offer.path);
        return;
    }
    if (hashing_)
        received_.md5Hex = md5_.HexDigest();
    if (WaitForConfirmation())
        launched_ = services_.launch(offer, received_, *this);
    else
        services_.remove(offer.path);
}

bool PackageWorker::WaitForConfirmation()
{
    {
        std::lock_guard<std::mutex> lock(state_);
        awaiting_ = true;
    }
    const bool told = post_(WorkerEvent::Downloaded);
    std::unique_lock<std::mutex> lock(state_);
    if (told)
        changed_.wait(lock, [this] { return confirmed_ || cancelled_; });
    awaiting_ = false;
    return !cancelled_;
}

void PackageWorker::End()
{
    {
        std::lock_guard<std::mutex> lock(state_);
        awaiting_ = false;
        finished_ = true;
    }
    // Posted once the end can be seen, so that the window finds the worker
    // finished when the message comes.
    post_(WorkerEvent::Finished);
    changed_.notify_all();
}

bool PackageWorker::StartUnlessCancelled(const std::function<bool()>& start)
{
    std::lock_guard<std::mutex> lock(launching_);
    return !cancelled_ && start();
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
