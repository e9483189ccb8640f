#pragma once

#include <windows.h>

#include <memory>
#include <string>

struct LocalMemoryFree {
    void operator()(void* memory) const { LocalFree(memory); }
};
using SecurityDescriptor = std::unique_ptr<void, LocalMemoryFree>;

// What package folders are made with: full access for the user, SYSTEM and
// the administrators, inherited by what is made inside, and nothing taken
// from the folder above. Null when the user's identity cannot be read.
SecurityDescriptor PackageFolderSecurity();

// The package's path in a new folder of the updater's own, made under the
// user's temporary folder (PackageFolderName, PackageFileName). Only the
// user, SYSTEM and the administrators may open the folder, whatever the
// temporary folder allows: the installer, started from there, finds no
// library that someone else put beside it. Empty when no folder could be made.
std::wstring NewPackagePath(const std::string& channel);

// Removes the package at `path`, if it is there, and its folder.
void RemovePackage(const std::wstring& path);

// Removes the package folders that earlier runs left in the temporary
// folder. One that is still in use (its installer runs) stays. Called
// only by the one running updater, so that no folder of a running one goes.
void RemoveLeftPackageFolders();
