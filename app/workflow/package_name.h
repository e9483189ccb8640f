#pragma once

#include <cstdint>
#include <string>

// The local file name of the package: "Ferncastle_<version>_<channel>.exe",
// with the updater's own version.
// The channel comes from a file and the registry, so every character that
// cannot stand in a file name becomes "_" and ".." becomes "__": the name
// never leaves the folder it is put in.
std::wstring PackageFileName(const std::wstring& channel);

// The name of a folder a package is downloaded into: kPackageFolderPrefix
// and the 16 hexadecimal digits of `random`.
inline constexpr wchar_t kPackageFolderPrefix[] = L"FerncastleUpdate-";
std::wstring PackageFolderName(uint64_t random);

// Whether `name` is exactly such a name. Only folders named so are removed
// as left by an earlier run: a folder of the user's that merely begins the
// same way is not ours.
bool IsPackageFolderName(const std::wstring& name);
