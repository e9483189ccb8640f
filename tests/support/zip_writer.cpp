#include "zip_writer.h"

#include "zip_crypto.h"

#include <stdexcept>
#include <zlib.h>

namespace {

void Put16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(std::vector<unsigned char>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// From "version needed" to the name length: the same in both headers.
void PutEntryFields(std::vector<unsigned char>& out, uint32_t flag, uint32_t method, uint32_t crc, size_t stored,
                    const ZipEntry& e)
{
    constexpr uint32_t kTime = 0x6000; // 12:00:00
    constexpr uint32_t kDate = 0x5988; // 2024-12-08
    Put16(out, 20);
    Put16(out, flag);
    Put16(out, method);
    Put16(out, kTime);
    Put16(out, kDate);
    Put32(out, crc);
    Put32(out, static_cast<uint32_t>(stored));
    Put32(out, static_cast<uint32_t>(e.data.size()));
    Put16(out, static_cast<uint32_t>(e.name.size()));
}

std::string Deflate(const std::string& data)
{
    z_stream z{};
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(&out[0]);
    z.avail_out = static_cast<uInt>(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) {
        throw std::runtime_error("deflate");
    }
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

} // namespace

std::vector<unsigned char> BuildZip(const std::vector<ZipEntry>& entries)
{
    std::vector<unsigned char> out;
    std::vector<unsigned char> central;
    for (const ZipEntry& e : entries) {
        const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size()));
        std::string body = e.deflate ? Deflate(e.data) : e.data;
        const uint32_t flag = e.password.empty() ? 0 : 1;
        if (!e.password.empty()) {
            SkinUI::CZipCryptoKeys keys(e.password.c_str());
            std::string sealed;
            for (int i = 0; i < SkinUI::CZipCryptoKeys::kHeaderSize - 1; ++i) {
                sealed.push_back(static_cast<char>(keys.EncryptByte(static_cast<unsigned char>(i * 37 + 11))));
            }
            sealed.push_back(static_cast<char>(keys.EncryptByte(static_cast<unsigned char>(crc >> 24))));
            for (char c : body) {
                sealed.push_back(static_cast<char>(keys.EncryptByte(static_cast<unsigned char>(c))));
            }
            body = sealed;
        }
        const auto offset = static_cast<uint32_t>(out.size());
        const uint32_t method = e.deflate ? 8 : 0;
        Put32(out, 0x04034b50);
        PutEntryFields(out, flag, method, crc, body.size(), e);
        Put16(out, 0);
        out.insert(out.end(), e.name.begin(), e.name.end());
        out.insert(out.end(), body.begin(), body.end());

        Put32(central, 0x02014b50);
        Put16(central, 20);
        PutEntryFields(central, flag, method, crc, body.size(), e);
        Put16(central, 0); // extra field
        Put16(central, 0); // comment
        Put16(central, 0); // disk
        Put16(central, 0); // internal attributes
        Put32(central, 0); // external attributes
        Put32(central, offset);
        central.insert(central.end(), e.name.begin(), e.name.end());
    }
    const auto centralOffset = static_cast<uint32_t>(out.size());
    out.insert(out.end(), central.begin(), central.end());
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put16(out, static_cast<uint32_t>(entries.size()));
    Put32(out, static_cast<uint32_t>(central.size()));
    Put32(out, centralOffset);
    Put16(out, 0);
    return out;
}
