#pragma once

#include <cstddef>
#include <string>

// The receiver of a download's progress and outcome; all are called on the
// downloading thread.
class IDownloadOwner {
public:
    virtual ~IDownloadOwner() = default;
    // Whole percent of the announced length received so far.
    virtual void SetProgress(int percent) = 0;
    // Each piece as it has been written to the file.
    virtual void OnPieceWritten(const char* /*data*/, size_t /*size*/) {}
    // The file was emptied to receive the package again from its start.
    virtual void OnTransferRestarted() {}
    // Asked between pieces: true stops the transfer, which then counts as
    // incomplete.
    virtual bool IsCancelled() const { return false; }
    // The hand-over at the end: `complete` is true only when the whole
    // package arrived and was written.
    virtual void OnDownloadFinished(bool complete) = 0;
};

// Percentage of `received` out of `length`, as the progress bar shows it.
int DownloadPercent(unsigned long long received, unsigned long long length);

// Downloads `url` into the file `path` (replaced if it exists) over WinHTTP,
// reporting progress to `owner`, then hands over the completion flag. A
// transfer broken off in the middle is resumed with Range requests (a few
// times, after short pauses); an incomplete file is removed.
void DownloadFile(const std::wstring& url, const std::wstring& path, IDownloadOwner* owner);
