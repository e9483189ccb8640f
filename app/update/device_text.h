#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Sizes of the buffers the disk query works with.
constexpr size_t kDeviceDescriptorSize = 10000;
constexpr size_t kSerialWorkSize = 1000;
constexpr size_t kMaxDiskSerial = 255;

// Cleans the serial number text a storage device reports: hexadecimal-encoded
// or plain, with the bytes of every 16-bit word exchanged, padded with blanks.
// The source starts at `descriptor + offset` and ends at its first zero byte
// or at the end of the `descriptorSize` bytes the device returned, whichever
// comes first; an offset of 0, a negative one or one at or past the returned
// size means no serial. `out` must hold kSerialWorkSize bytes and is returned.
char* DecodeDeviceString(const char* descriptor, size_t descriptorSize, long offset, char* out);

// Applies the disk-serial acceptance rule to a cleaned text: the first
// character must be a letter or digit; at most kMaxDiskSerial characters are
// kept. Writes the serial and its terminator into `out` (kMaxDiskSerial + 1
// bytes) and returns the count, or returns 0 and leaves `out` unchanged.
int TakeDiskSerial(const char* cleaned, char* out);

// "%08X%08X" of EDX then EAX of CPUID leaf 1.
std::string FormatCpuText(uint32_t edx, uint32_t eax);

// Unsigned decimal text of a 32-bit volume serial number.
std::string FormatVolumeSerial(uint32_t serial);

// What the adapter choice needs of one network adapter record.
struct AdapterRecord {
    std::string firstIpAddress;
    std::string description;
    uint8_t address[6] = {};
};

// The first adapter that has a usable address and is not a VMware virtual
// one, as 12 upper-case hexadecimal digits; twelve zeros when none qualifies.
std::string ChooseAdapterText(const std::vector<AdapterRecord>& adapters);

// Lower-case MD5 text of the four hardware texts joined in this order.
std::string ComposeMachineId(const std::string& cpu, const std::string& disk, const std::string& adapter,
                             const std::string& volume);
