#pragma once

#include <cstdint>
#include <string>

// What the operating-system name depends on, as the version and system
// information calls report it.
struct OsVersionFacts {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t platformId = 0;
    uint8_t productType = 0;            // 1 = workstation
    uint16_t processorArchitecture = 0; // 9 = AMD64
    int serverR2Metric = 0;             // GetSystemMetrics(SM_SERVERR2)
};

extern const char kUnknownOsName[];

// English product name for the given facts, or kUnknownOsName.
std::string OsNameFromFacts(const OsVersionFacts& facts);
