#include "package_launch.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <memory>
#include <utility>
#include <vector>

#include "base/unique_handle.h"
#include "package_check.h"
#include "package_folder.h"
#include "package_signature.h"
#include "rollback_record.h"
#include "sha256.h"
#include "version_order.h"

bool StartPackage(const std::wstring& path, base::UniqueHandle& process)
{
    // The shell wants COM on the calling thread, here the download worker;
    // and the call must be done before that thread ends.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // No error box: nothing is reported to the user, and a close waits for
    // this call, which a box would hold until someone answered it.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpFile = path.c_str();
    info.lpParameters = L"/S";
    // The installer's own folder, which holds nothing else, rather than the
    // updater's: what an installer loads from its current folder is ours.
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = SW_SHOW;
    const bool started = ShellExecuteExW(&info) != FALSE;
    process.reset(started ? info.hProcess : nullptr);
    if (SUCCEEDED(com))
        CoUninitialize();
    return started;
}

PackageHold::~PackageHold()
{
    // Waits for a callback under way, so that none runs after this.
    if (wait_)
        UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    Release();
}

void PackageHold::Keep(base::UniqueHandle file, base::UniqueHandle process)
{
    if (wait_)
        UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    wait_ = nullptr;
    Release();
    file_ = file.release();
    process_ = std::move(process);
    if (process_ && !RegisterWaitForSingleObject(&wait_, process_.get(), Ended, this, INFINITE,
                                                 WT_EXECUTEONLYONCE | WT_EXECUTEINWAITTHREAD))
        wait_ = nullptr;
}

void CALLBACK PackageHold::Ended(void* self, BOOLEAN)
{
    static_cast<PackageHold*>(self)->Release();
}

void PackageHold::Release()
{
    if (HANDLE file = file_.exchange(nullptr))
        CloseHandle(file);
}

namespace {

// Size, MD5 and, when `withSha256`, SHA-256 of the open file, read from its
// start; false when the gate is cancelled in the middle.
bool Measure(HANDLE file, bool withSha256, const LaunchGate& gate, ReceivedPackage& found, std::string& sha256Hex)
{
    // The name must be the file's only one: a link, or a second name of a
    // file kept elsewhere, is not the file that was downloaded.
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(file, &info) || info.nNumberOfLinks != 1 ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return false;
    Md5Stream md5;
    Sha256Stream sha256;
    std::vector<char> buffer(64 * 1024);
    uint64_t size = 0;
    for (;;) {
        if (gate.IsCancelled())
            return false;
        DWORD read = 0;
        if (!ReadFile(file, buffer.data(), DWORD(buffer.size()), &read, nullptr))
            return false;
        if (read == 0)
            break;
        md5.Update(buffer.data(), read);
        if (withSha256)
            sha256.Update(buffer.data(), read);
        size += read;
    }
    found.size = size;
    found.md5Hex = md5.HexDigest();
    if (withSha256)
        sha256Hex = sha256.HexDigest();
    return size == ((uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
}

} // namespace

bool LaunchVerifiedPackage(const OfferedUpdate& offer, const ReceivedPackage& received, const std::string& vendorKey,
                           LaunchGate& gate, PackageHold& hold,
                           const std::function<bool(const std::wstring&, base::UniqueHandle&)>& start)
{
    const std::wstring& path = offer.path;
    const UpdateManifest& manifest = offer.manifest;
    const bool keyed = !vendorKey.empty();
    bool started = false;
    {
        // Read sharing only: from the check until the installer has ended
        // nobody can write, rename or delete the file. A link is opened
        // itself, so that it is seen and refused.
        base::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!file)
            return false; // not ours to remove: someone else holds it, or it is gone
        // The signature is checked over the SHA-256 of this read of the held
        // file, not over what the download saw: those bytes are the ones
        // started, and a digest taken earlier would only be tied to them
        // through MD5, which a prepared file can collide with.
        ReceivedPackage found;
        std::string sha256Hex;
        bool verified = Measure(file.get(), keyed, gate, found, sha256Hex) && found.size == received.size &&
                        (received.md5Hex.empty() || found.md5Hex == received.md5Hex) &&
                        MatchesAnnouncement(manifest, found.size, found.md5Hex) &&
                        IsSignatureAccepted(vendorKey, manifest, offer.appId, offer.channel, found.size, sha256Hex);
        // The guard: a record that cannot be read, or could not be written
        // after the start, refuses, rather than leave the guard off.
        RollbackRecord record;
        std::string highest;
        if (verified && keyed)
            verified = record.Open(offer.appId, offer.channel) && record.Read(highest) &&
                       PassesRollbackGuard(manifest.latestVersion, highest);
        // Only what was started raises the record, at once, while the
        // process cannot yet have gone with its window.
        base::UniqueHandle process;
        if (verified)
            started = gate.StartUnlessCancelled([&] {
                if (!start(path, process))
                    return false;
                if (keyed)
                    record.Write(manifest.latestVersion);
                return true;
            });
        if (started)
            hold.Keep(std::move(file), std::move(process));
    }
    if (!started)
        RemovePackage(path);
    return started;
}

PackageServices WindowsPackageServices(const std::string& vendorKey)
{
    PackageServices services;
    services.download = DownloadFile;
    // The services live as long as the window, which the process never
    // deletes: a package still held at the end is released by the system.
    auto hold = std::make_shared<PackageHold>();
    services.launch = [vendorKey, hold](const OfferedUpdate& offer, const ReceivedPackage& received, LaunchGate& gate) {
        return LaunchVerifiedPackage(offer, received, vendorKey, gate, *hold);
    };
    services.remove = RemovePackage;
    services.checksSignature = !vendorKey.empty();
    return services;
}
