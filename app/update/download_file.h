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
    // The size the package was announced with; 0 when none was.
    virtual unsigned long long AnnouncedSize() const { return 0; }
    // Whether a body sent without a length may be taken. Only the end of
    // its connection ends it, and a reset can pass for that end: such a body
    // is of use only when something else can check that it is whole.
    virtual bool TakesBodyWithoutLength() const { return true; }
    // Whether the whole file is checked before it is used (an announced MD5
    // or a vendor signature). Only then is a transfer continued when its
    // server names no validator: nothing else would notice a file stitched
    // from two versions of the package.
    virtual bool ChecksWholeFile() const { return false; }
    // The hand-over at the end: `complete` is true only when the whole
    // package arrived and was written.
    virtual void OnDownloadFinished(bool complete) = 0;
};

// The largest package taken, announced or not.
constexpr unsigned long long kMaxPackageBytes = 2ull << 30;

// Percentage of `received` out of `length`, as the progress bar shows it.
int DownloadPercent(unsigned long long received, unsigned long long length);

// Downloads `url` into the new file `path` (none may be there) over WinHTTP,
// through the proxy the user's Internet settings give it (PackageProxyFor),
// reporting progress to `owner`, then hands over the completion flag. A
// package whose length is not the announced size, or above kMaxPackageBytes,
// is refused; an announced size above it is refused before any request, and
// a body without a length before it is written unless the owner takes one.
// A transfer broken off in the middle is resumed with Range requests (a few
// times, after short pauses) only as far as its validators show the same
// version of the package (without them, only when the whole file is checked
// before it is used); one that stays too slow fails. An incomplete file is removed, by the system if
// the process ends first.
void DownloadFile(const std::wstring& url, const std::wstring& path, IDownloadOwner* owner);
