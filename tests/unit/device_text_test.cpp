#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "device_text.h"
#include "md5.h"

namespace {

// Lays `serial` out at byte `offset` of a zeroed descriptor of `size` bytes
// (the serial may run to the very end, without a terminator).
std::vector<char> Descriptor(const std::string& serial, size_t offset = 40, size_t size = 0)
{
    if (size == 0)
        size = offset + serial.size() + 1;
    std::vector<char> d(size, 0);
    memcpy(d.data() + offset, serial.data(), serial.size());
    return d;
}

std::string Decode(const std::string& serial)
{
    auto d = Descriptor(serial);
    char out[kSerialWorkSize];
    memset(out, 'Z', sizeof out);
    return DecodeDeviceString(d.data(), d.size(), 40, out);
}

struct DecodeCase {
    const char* source;
    const char* cleaned;
};

TEST(DecodeDeviceString, ExamplesFromDeviceReports)
{
    const DecodeCase cases[] = {
        {"2020202057442d574343344531323334", "DWW-CCE42143"}, // hex, blanks, swapped
        {"WD-WCC4E1234567", "DWW-CCE4214365"},                // odd length loses its last character
        {"  S3Z9NB0K123456 ", "3S9ZBNK0214365"},              // plain, padded
        {"1234567890", "2143658709"},                         // 0x12 is not printable: plain
        {"3031323334353637", "10325476"},                     // hex of printable digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(Decode(c.source), c.cleaned) << "source: " << c.source;
}

TEST(DecodeDeviceString, HexAttemptDetails)
{
    EXPECT_EQ(Decode("4142434"), "BA") << "a trailing odd digit is dropped";
    EXPECT_EQ(Decode("4 41"), "A@") << "a blank counts as the digit zero";
    EXPECT_EQ(Decode("41 2"), "142") << "0x02 is not printable, so the text is taken as it stands";
    EXPECT_EQ(Decode("4F4b"), "KO") << "hex digits are read in either case";
    EXPECT_EQ(Decode("41004243"), "") << "a decoded zero byte ends the text";
}

TEST(DecodeDeviceString, NonPrintableSourceGivesEmptyText)
{
    EXPECT_EQ(Decode("AB\x01"
                     "CD"),
              "");
}

TEST(DecodeDeviceString, AllBlankSerialStaysBlank)
{
    // Four blanks decode as hex to four zero bytes: empty after the exchange.
    EXPECT_EQ(Decode("    "), "");
    // Blanks that decode from hex stay: trimming keeps an all-blank text.
    EXPECT_EQ(Decode("20202020"), "    ");
}

TEST(DecodeDeviceString, OffsetZeroOrNegativeMeansNoSerial)
{
    auto d = Descriptor("ABCD", 0);
    char out[kSerialWorkSize];
    out[0] = 'x';
    EXPECT_STREQ(DecodeDeviceString(d.data(), d.size(), 0, out), "");
    out[0] = 'x';
    EXPECT_STREQ(DecodeDeviceString(d.data(), d.size(), -4, out), "");
}

TEST(DecodeDeviceString, OffsetAtOrPastTheReturnedBytesMeansNoSerial)
{
    auto d = Descriptor("ABCD", 40);
    char out[kSerialWorkSize];
    EXPECT_STREQ(DecodeDeviceString(d.data(), 40, 40, out), "");
    EXPECT_STREQ(DecodeDeviceString(d.data(), 40, 41, out), "");
    EXPECT_STREQ(DecodeDeviceString(d.data(), 40, 100000, out), "");
}

TEST(DecodeDeviceString, SourceEndsWithTheReturnedBytes)
{
    // No terminator inside the descriptor: only the returned bytes are read.
    std::vector<char> d(44, 'Q');
    memcpy(d.data() + 40, "WXYZ", 4);
    char out[kSerialWorkSize];
    EXPECT_STREQ(DecodeDeviceString(d.data(), d.size(), 40, out), "XWZY");
}

TEST(DecodeDeviceString, LongSerialIsBoundedByTheWorkBuffer)
{
    std::string serial(5000, 'A');
    auto d = Descriptor(serial, 40, 10000);
    char out[kSerialWorkSize];
    std::string cleaned = DecodeDeviceString(d.data(), d.size(), 40, out);
    // 999 characters fit; the odd count loses one to the exchange.
    EXPECT_EQ(cleaned.size(), 998u);
}

TEST(TakeDiskSerial, FirstCharacterMustBeLetterOrDigit)
{
    char out[kMaxDiskSerial + 1];
    strcpy(out, "untouched");
    EXPECT_EQ(TakeDiskSerial("-ABC", out), 0);
    EXPECT_EQ(TakeDiskSerial("", out), 0);
    EXPECT_EQ(TakeDiskSerial(" ABC", out), 0);
    EXPECT_STREQ(out, "untouched");
    EXPECT_EQ(TakeDiskSerial("9-ABC", out), 5);
    EXPECT_STREQ(out, "9-ABC");
}

TEST(TakeDiskSerial, LongSerialIsCutTo255)
{
    std::string serial(300, 'S');
    char out[kMaxDiskSerial + 1];
    EXPECT_EQ(TakeDiskSerial(serial.c_str(), out), 255);
    EXPECT_EQ(std::string(out), std::string(255, 'S'));
}

TEST(TakeDiskSerial, ThreeHundredCharacterDeviceSerialEndToEnd)
{
    std::string serial(300, 'K');
    auto d = Descriptor(serial, 40);
    char cleaned[kSerialWorkSize];
    DecodeDeviceString(d.data(), d.size(), 40, cleaned);
    char out[kMaxDiskSerial + 1];
    EXPECT_EQ(TakeDiskSerial(cleaned, out), 255);
}

TEST(FormatTexts, CpuSignatureIsSixteenUpperCaseDigits)
{
    EXPECT_EQ(FormatCpuText(0xBFEBFBFF, 0x000906EA), "BFEBFBFF000906EA");
    EXPECT_EQ(FormatCpuText(0, 0xa), "000000000000000A");
}

TEST(FormatTexts, VolumeSerialIsUnsignedDecimal)
{
    EXPECT_EQ(FormatVolumeSerial(0xFFFFFFFFu), "4294967295");
    EXPECT_EQ(FormatVolumeSerial(0x80000000u), "2147483648");
    EXPECT_EQ(FormatVolumeSerial(0), "0");
    EXPECT_EQ(FormatVolumeSerial(1234567890), "1234567890");
}

AdapterRecord Adapter(const char* ip, const char* description, uint8_t last)
{
    AdapterRecord a;
    a.firstIpAddress = ip;
    a.description = description;
    const uint8_t address[6] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, last};
    memcpy(a.address, address, 6);
    return a;
}

TEST(ChooseAdapterText, SkipsUnusableAndVmwareAdapters)
{
    std::vector<AdapterRecord> adapters = {
        Adapter("0.0.0.0", "Ethernet", 0x01),
        Adapter("255.255.255.255", "Broadcast", 0x02),
        Adapter("192.168.1.4", "VMware Virtual Ethernet Adapter", 0x03),
        Adapter("10.0.0.5", "Realtek PCIe", 0x5F),
        Adapter("10.0.0.6", "Second", 0x06),
    };
    EXPECT_EQ(ChooseAdapterText(adapters), "0A1B2C3D4E5F");
}

TEST(ChooseAdapterText, VmwareMatchIsCaseSensitive)
{
    EXPECT_EQ(ChooseAdapterText({Adapter("10.1.1.1", "vmware virtual adapter", 0xAB)}), "0A1B2C3D4EAB");
    EXPECT_EQ(ChooseAdapterText({Adapter("10.1.1.1", "VMware Virtual", 0xAB)}), "000000000000");
}

TEST(ChooseAdapterText, NoQualifyingAdapterGivesTwelveZeros)
{
    EXPECT_EQ(ChooseAdapterText({Adapter("0.0.0.0", "a", 1), Adapter("0.0.0.0", "b", 2)}), "000000000000");
    EXPECT_EQ(ChooseAdapterText({}), "000000000000");
}

TEST(ChooseAdapterText, EmptyRecordFromAFailedListQualifies)
{
    AdapterRecord zeroed;
    EXPECT_EQ(ChooseAdapterText({zeroed}), "000000000000");
    AdapterRecord noAddress = Adapter("", "Loopback", 0x77);
    EXPECT_EQ(ChooseAdapterText({noAddress}), "0A1B2C3D4E77");
}

TEST(ComposeMachineId, JoinsCpuDiskAdapterVolumeWithoutSeparators)
{
    const std::string joined = "BFEBFBFF000906EADWW-CCE42143650A1B2C3D4E5F1234567890";
    ASSERT_EQ(joined.size(), 52u);
    EXPECT_EQ(ComposeMachineId("BFEBFBFF000906EA", "DWW-CCE4214365", "0A1B2C3D4E5F", "1234567890"), Md5Hex(joined));
    EXPECT_NE(ComposeMachineId("BFEBFBFF000906EA", "DWW-CCE4214365", "0A1B2C3D4E5F", "1234567890"),
              ComposeMachineId("BFEBFBFF000906EA", "0A1B2C3D4E5F", "DWW-CCE4214365", "1234567890"));
}

TEST(ComposeMachineId, EmptySourcesStillGiveAnIdentifier)
{
    std::string id = ComposeMachineId("BFEBFBFF000906EA", "", "000000000000", "");
    EXPECT_EQ(id.size(), 32u);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);
}

} // namespace
