#pragma once

#include <functional>
#include <string>

#include "package_worker.h"

// The package's full path: the user's temporary folder and PackageFileName.
std::wstring PackagePath(const std::string& channel);

// Starts `path` with the single parameter "/S" (ShellExecuteExW); true when
// the system started it. The shell shows no message of its own on failure.
bool StartPackage(const std::wstring& path);

// Opens the offer's package so that nobody can change or delete it, checks
// that it holds exactly the bytes received, matches the announcement and,
// when `vendorKey` (Base64 Ed25519 public key) is not empty, carries the
// vendor's signature for the offer's product and channel and is no older
// than the highest version started for them (which a start then raises).
// It starts it through `start` while it is still held, by way of the gate's
// last cancel check. The check stops between blocks when the gate is
// cancelled. A file that fails any check, was cancelled, or that `start`
// could not start, is removed. True when started.
bool LaunchVerifiedPackage(const OfferedUpdate& offer, const ReceivedPackage& received, const std::string& vendorKey,
                           LaunchGate& gate, const std::function<bool(const std::wstring&)>& start = StartPackage);

// The services of a real Windows machine; packages are checked against
// `vendorKey` as LaunchVerifiedPackage does.
PackageServices WindowsPackageServices(const std::string& vendorKey);
