#pragma once

#include <string>

// The package's path in a new folder of the updater's own, made under the
// user's temporary folder (PackageFolderName, PackageFileName). Only the
// user, SYSTEM and the administrators may open the folder, whatever the
// temporary folder allows: the installer, started from there, finds no
// library that someone else put beside it. The process holds the folder
// until RemovePackage, so that no other updater's clean-up takes it. Empty
// when no folder could be made.
std::wstring NewPackagePath(const std::string& channel);

// Removes the package at `path`, if it is there, and its folder, if that is
// then empty.
void RemovePackage(const std::wstring& path);

// Removes the package folders that earlier runs left in the temporary
// folder: the files in each, then the folder. One that a running updater
// holds, or whose installer still runs, stays; so does one that is not the
// user's or holds a folder of its own. A link is removed, never followed.
void RemoveLeftPackageFolders();
