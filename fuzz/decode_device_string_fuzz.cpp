// Arbitrary device descriptors and serial offsets: the cleaning must stay
// inside the returned bytes and the work buffer, and the accepted serial must
// obey its form.
#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

#include "device_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    int32_t offset;
    memcpy(&offset, data, sizeof offset);
    // An exact-size copy lets AddressSanitizer see any read past the end.
    std::vector<char> descriptor(data + 4, data + size);
    char out[kSerialWorkSize];
    memset(out, 0x5A, sizeof out);
    const char* cleaned = DecodeDeviceString(descriptor.data(), descriptor.size(), offset % 20000, out);
    if (cleaned != out || memchr(out, 0, sizeof out) == nullptr)
        __builtin_trap();

    char serial[kMaxDiskSerial + 1];
    int count = TakeDiskSerial(out, serial);
    if (count < 0 || count > int(kMaxDiskSerial))
        __builtin_trap();
    if (count > 0 && (strlen(serial) != size_t(count) || !isalnum(static_cast<unsigned char>(serial[0]))))
        __builtin_trap();
    return 0;
}
