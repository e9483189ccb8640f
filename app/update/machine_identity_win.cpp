#include "machine_identity.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <winioctl.h>
// clang-format on

#include <cstring>
#include <vector>

#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <cpuid.h>
#endif

#include "base/unique_handle.h"
#include "device_text.h"
#include "os_name.h"

std::string GetCpuText()
{
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
#if defined(_MSC_VER)
    int regs[4] = {};
    __cpuid(regs, 1);
    eax = unsigned(regs[0]);
    edx = unsigned(regs[3]);
#else
    __cpuid(1, eax, ebx, ecx, edx);
#endif
    return FormatCpuText(edx, eax);
}

int ReadDiskSerial(char* out)
{
    wchar_t deviceName[64] = {};
    swprintf(deviceName, 64, L"\\\\.\\PhysicalDrive%d", 0);
    base::UniqueHandle device(
        CreateFileW(deviceName, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!device)
        return 0;

    STORAGE_PROPERTY_QUERY query;
    memset(&query, 0, sizeof query);
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    std::vector<char> descriptor(kDeviceDescriptorSize, 0);
    DWORD returned = 0;
    if (!DeviceIoControl(device.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, descriptor.data(),
                         DWORD(descriptor.size()), &returned, nullptr))
        return 0;
    if (returned > descriptor.size())
        returned = DWORD(descriptor.size());

    // SerialNumberOffset, the 32-bit field at byte 24 of the descriptor.
    constexpr size_t kSerialOffsetField = 24;
    if (returned < kSerialOffsetField + sizeof(DWORD))
        return 0;
    DWORD serialOffset = 0;
    memcpy(&serialOffset, descriptor.data() + kSerialOffsetField, sizeof serialOffset);

    char cleaned[kSerialWorkSize] = {};
    DecodeDeviceString(descriptor.data(), returned, long(serialOffset), cleaned);
    return TakeDiskSerial(cleaned, out);
}

std::string GetDiskSerial()
{
    char serial[kMaxDiskSerial + 1] = {};
    return ReadDiskSerial(serial) != 0 ? std::string(serial) : std::string();
}

std::string GetAdapterText()
{
    constexpr ULONG kAdapterBufferSize = 12960;
    std::vector<unsigned char> buffer(kAdapterBufferSize, 0);
    ULONG size = kAdapterBufferSize;
    // When the call fails the buffer stays zero and reads as one empty record.
    GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);

    std::vector<AdapterRecord> records;
    for (auto* info = reinterpret_cast<const IP_ADAPTER_INFO*>(buffer.data()); info; info = info->Next) {
        AdapterRecord record;
        record.firstIpAddress.assign(
            info->IpAddressList.IpAddress.String,
            strnlen(info->IpAddressList.IpAddress.String, sizeof info->IpAddressList.IpAddress.String));
        record.description.assign(info->Description, strnlen(info->Description, sizeof info->Description));
        memcpy(record.address, info->Address, sizeof record.address);
        records.push_back(record);
    }
    return ChooseAdapterText(records);
}

std::string GetVolumeSerialText()
{
    char systemDir[MAX_PATH] = {};
    GetSystemDirectoryA(systemDir, MAX_PATH);
    char root[10] = {};
    memcpy(root, systemDir, 3);

    char volumeName[MAX_PATH] = {};
    char fileSystemName[MAX_PATH] = {};
    DWORD serial = 0, maxComponent = 0, flags = 0;
    if (!GetVolumeInformationA(root, volumeName, MAX_PATH, &serial, &maxComponent, &flags, fileSystemName, MAX_PATH))
        return {};
    return FormatVolumeSerial(serial);
}

std::string GetMachineId()
{
    const std::string adapter = GetAdapterText();
    const std::string cpu = GetCpuText();
    const std::string disk = GetDiskSerial();
    const std::string volume = GetVolumeSerialText();
    return ComposeMachineId(cpu, disk, adapter, volume);
}

std::string GetOsName()
{
    SYSTEM_INFO system;
    memset(&system, 0, sizeof system);
    GetSystemInfo(&system);

    OSVERSIONINFOEXW version;
    memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = sizeof version;
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996) // the manifest makes GetVersionExW truthful
#endif
    BOOL ok = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version));
#if defined(_MSC_VER)
#pragma warning(pop)
#endif
    if (!ok)
        return kUnknownOsName;

    OsVersionFacts facts;
    facts.major = version.dwMajorVersion;
    facts.minor = version.dwMinorVersion;
    facts.platformId = version.dwPlatformId;
    facts.productType = version.wProductType;
    facts.processorArchitecture = system.wProcessorArchitecture;
    facts.serverR2Metric = GetSystemMetrics(SM_SERVERR2);
    return OsNameFromFacts(facts);
}
