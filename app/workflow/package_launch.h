#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "base/unique_handle.h"
#include "package_worker.h"

// Starts `path` with the single parameter "/S" (ShellExecuteExW), in the
// folder it lies in; true when the system started it. `process` receives the
// installer's process, when the system names one. The shell shows no
// message of its own on failure.
bool StartPackage(const std::wstring& path, base::UniqueHandle& process);

// Keeps a started package's file open for reading only, so that nobody can
// change or delete it, until its installer has ended or this goes.
class PackageHold {
public:
    PackageHold() = default;
    ~PackageHold();
    PackageHold(const PackageHold&) = delete;
    PackageHold& operator=(const PackageHold&) = delete;

    // Holds `file` until `process` has ended; without a process, until this goes.
    void Keep(base::UniqueHandle file, base::UniqueHandle process);
    bool Holds() const { return file_.load() != nullptr; }

private:
    static void CALLBACK Ended(void* self, BOOLEAN timedOut);
    void Release();

    std::atomic<HANDLE> file_{nullptr};
    base::UniqueHandle process_;
    HANDLE wait_ = nullptr;
};

// Opens the offer's package so that nobody can change or delete it, checks
// that it holds exactly the bytes received, matches the announcement and,
// when `vendorKey` (Base64 Ed25519 public key) is not empty, carries the
// vendor's signature for the offer's product and channel and is no older
// than the highest version started for them (which a start then raises).
// It starts it through `start` while it is still held, by way of the gate's
// last cancel check, and `hold` keeps it held while the installer runs. A
// name that is a link, or a file with a second name, is refused. The check
// stops between blocks when the gate is cancelled. A file that fails any
// check, was cancelled, or that `start` could not start, is removed with its
// folder. True when started.
bool LaunchVerifiedPackage(const OfferedUpdate& offer, const ReceivedPackage& received, const std::string& vendorKey,
                           LaunchGate& gate, PackageHold& hold,
                           const std::function<bool(const std::wstring&, base::UniqueHandle&)>& start = StartPackage);

// The services of a real Windows machine; packages are checked against
// `vendorKey` as LaunchVerifiedPackage does, and held while they run.
PackageServices WindowsPackageServices(const std::string& vendorKey);
