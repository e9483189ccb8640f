#include <gtest/gtest.h>

#include <string>

#include "machine_identity.h"

namespace {

bool IsHex(const std::string& text, const char* digits)
{
    return text.find_first_not_of(digits) == std::string::npos;
}

TEST(MachineIdentity, OsNameInTheWindows10Prefix)
{
    EXPECT_EQ(GetOsName(), "Microsoft Windows 10");
}

TEST(MachineIdentity, IdentifierIsStableLowerCaseHex)
{
    const std::string first = GetMachineId();
    EXPECT_EQ(first.size(), 32u);
    EXPECT_TRUE(IsHex(first, "0123456789abcdef")) << first;
    EXPECT_EQ(GetMachineId(), first);
}

TEST(MachineIdentity, SourceTextsHaveTheirForms)
{
    const std::string cpu = GetCpuText();
    EXPECT_EQ(cpu.size(), 16u);
    EXPECT_TRUE(IsHex(cpu, "0123456789ABCDEF")) << cpu;

    const std::string adapter = GetAdapterText();
    EXPECT_EQ(adapter.size(), 12u);
    EXPECT_TRUE(IsHex(adapter, "0123456789ABCDEF")) << adapter;

    const std::string volume = GetVolumeSerialText();
    EXPECT_TRUE(IsHex(volume, "0123456789")) << volume;
    if (volume.size() > 1) {
        EXPECT_NE(volume[0], '0');
    }

    const std::string disk = GetDiskSerial();
    EXPECT_LE(disk.size(), 255u);
    if (!disk.empty()) {
        EXPECT_TRUE(isalnum(static_cast<unsigned char>(disk[0]))) << disk;
    }
}

TEST(MachineIdentity, ReadDiskSerialLeavesBufferAloneWithoutSerial)
{
    char buffer[256] = "unchanged";
    int count = ReadDiskSerial(buffer);
    if (count == 0) {
        EXPECT_STREQ(buffer, "unchanged");
    } else {
        EXPECT_EQ(std::string(buffer).size(), size_t(count));
    }
}

} // namespace
