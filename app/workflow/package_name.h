#pragma once

#include <string>

// The local file name of the package: "Ferncastle_1.0.0.2_<channel>.exe".
// The channel comes from a file and the registry, so every character that
// cannot stand in a file name becomes "_" and ".." becomes "__": the name
// never leaves the folder it is put in.
std::wstring PackageFileName(const std::wstring& channel);
