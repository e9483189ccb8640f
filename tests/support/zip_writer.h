// Builds small ZIP archives in memory for tests: stored or deflated entries,
// optionally with traditional encryption.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ZipEntry {
    std::string name;
    std::string data;
    bool deflate = true;
    std::string password; // empty: not encrypted
};

std::vector<unsigned char> BuildZip(const std::vector<ZipEntry>& entries);
