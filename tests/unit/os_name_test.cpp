#include <gtest/gtest.h>

#include <string>

#include "os_name.h"

namespace {

struct OsRow {
    uint32_t major, minor, platformId;
    uint8_t productType;
    uint16_t architecture;
    int serverR2;
    const char* name;
};

constexpr uint8_t kWs = 1;     // workstation
constexpr uint8_t kServer = 3; // server
constexpr uint8_t kDc = 2;     // domain controller
constexpr uint16_t kAmd64 = 9;
constexpr uint16_t kX86 = 0;

const OsRow kRows[] = {
    {4, 0, 2, kWs, kX86, 0, "Microsoft Windows NT 4.0"},
    {4, 0, 1, kWs, kX86, 0, "Microsoft Windows 95"},
    {4, 0, 0, kWs, kX86, 0, "unknown OperatingSystem."},
    {4, 10, 1, kWs, kX86, 0, "Microsoft Windows 98"},
    {4, 90, 1, kWs, kX86, 0, "Microsoft Windows Me"},
    {4, 20, 1, kWs, kX86, 0, "unknown OperatingSystem."},
    {5, 0, 2, kWs, kX86, 0, "Microsoft Windows 2000"},
    {5, 1, 2, kWs, kX86, 0, "Microsoft Windows XP"},
    {5, 2, 2, kWs, kAmd64, 0, "Microsoft Windows XP Professional x64 Edition"},
    {5, 2, 2, kWs, kX86, 0, "Microsoft Windows Server 2003"},
    {5, 2, 2, kServer, kAmd64, 0, "Microsoft Windows Server 2003"},
    {5, 2, 2, kServer, kAmd64, 1, "Microsoft Windows Server 2003 R2"},
    {5, 2, 2, kWs, kX86, 7, "Microsoft Windows Server 2003 R2"},
    {5, 3, 2, kWs, kX86, 0, "unknown OperatingSystem."},
    {6, 0, 2, kWs, kAmd64, 0, "Microsoft Windows Vista"},
    {6, 0, 2, kServer, kAmd64, 0, "Microsoft Windows Server 2008"},
    {6, 1, 2, kWs, kAmd64, 0, "Microsoft Windows 7"},
    {6, 1, 2, kDc, kAmd64, 0, "Microsoft Windows Server 2008 R2"},
    {6, 2, 2, kWs, kAmd64, 0, "Microsoft Windows 8"},
    {6, 2, 2, kServer, kAmd64, 0, "Microsoft Windows Server 2012"},
    {6, 3, 2, kWs, kAmd64, 0, "Microsoft Windows 8.1"},
    {6, 3, 2, kServer, kAmd64, 0, "Microsoft Windows Server 2012 R2"},
    {6, 4, 2, kWs, kAmd64, 0, "unknown OperatingSystem."},
    {10, 0, 2, kWs, kAmd64, 0, "Microsoft Windows 10"},
    {10, 0, 2, kServer, kAmd64, 0, "Microsoft Windows Server 2016 Technical Preview"},
    {10, 1, 2, kWs, kAmd64, 0, "unknown OperatingSystem."},
    {7, 0, 2, kWs, kAmd64, 0, "unknown OperatingSystem."},
    {9, 0, 2, kWs, kAmd64, 0, "unknown OperatingSystem."},
    {11, 0, 2, kWs, kAmd64, 0, "unknown OperatingSystem."},
    {0, 0, 0, 0, 0, 0, "unknown OperatingSystem."},
};

TEST(OsName, EveryRowAndFallback)
{
    for (const OsRow& r : kRows) {
        OsVersionFacts f;
        f.major = r.major;
        f.minor = r.minor;
        f.platformId = r.platformId;
        f.productType = r.productType;
        f.processorArchitecture = r.architecture;
        f.serverR2Metric = r.serverR2;
        EXPECT_EQ(OsNameFromFacts(f), r.name)
            << r.major << "." << r.minor << " platform " << r.platformId << " type " << int(r.productType) << " arch "
            << r.architecture << " r2 " << r.serverR2;
    }
}

TEST(OsName, UnknownNameKeepsItsFullStop)
{
    EXPECT_STREQ(kUnknownOsName, "unknown OperatingSystem.");
    EXPECT_EQ(std::string(kUnknownOsName).size(), 24u);
}

} // namespace
