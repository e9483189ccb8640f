#include "os_name.h"

const char kUnknownOsName[] = "unknown OperatingSystem.";

namespace {
constexpr uint8_t kWorkstation = 1;
constexpr uint16_t kArchitectureAmd64 = 9;
constexpr uint32_t kPlatformWindows9x = 1;
constexpr uint32_t kPlatformNt = 2;

const char* NameOf(const OsVersionFacts& f)
{
    const bool workstation = f.productType == kWorkstation;
    switch (f.major) {
    case 4:
        if (f.minor == 0 && f.platformId == kPlatformNt)
            return "Microsoft Windows NT 4.0";
        if (f.minor == 0 && f.platformId == kPlatformWindows9x)
            return "Microsoft Windows 95";
        if (f.minor == 10)
            return "Microsoft Windows 98";
        if (f.minor == 90)
            return "Microsoft Windows Me";
        return nullptr;
    case 5:
        if (f.minor == 0)
            return "Microsoft Windows 2000";
        if (f.minor == 1)
            return "Microsoft Windows XP";
        if (f.minor == 2) {
            if (workstation && f.processorArchitecture == kArchitectureAmd64)
                return "Microsoft Windows XP Professional x64 Edition";
            return f.serverR2Metric == 0 ? "Microsoft Windows Server 2003" : "Microsoft Windows Server 2003 R2";
        }
        return nullptr;
    case 6:
        switch (f.minor) {
        case 0:
            return workstation ? "Microsoft Windows Vista" : "Microsoft Windows Server 2008";
        case 1:
            return workstation ? "Microsoft Windows 7" : "Microsoft Windows Server 2008 R2";
        case 2:
            return workstation ? "Microsoft Windows 8" : "Microsoft Windows Server 2012";
        case 3:
            return workstation ? "Microsoft Windows 8.1" : "Microsoft Windows Server 2012 R2";
        default:
            return nullptr;
        }
    case 10:
        if (f.minor == 0)
            return workstation ? "Microsoft Windows 10" : "Microsoft Windows Server 2016 Technical Preview";
        return nullptr;
    default:
        return nullptr;
    }
}
} // namespace

std::string OsNameFromFacts(const OsVersionFacts& facts)
{
    const char* name = NameOf(facts);
    return name ? name : kUnknownOsName;
}
