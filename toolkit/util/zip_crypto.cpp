#include "zip_crypto.h"

#include <zlib.h>

namespace SkinUI {

namespace {

uint32_t CrcStep(uint32_t crc, unsigned char byte)
{
    static const z_crc_t* const table = get_crc_table();
    return static_cast<uint32_t>(table[(crc ^ byte) & 0xFF]) ^ (crc >> 8);
}

} // namespace

CZipCryptoKeys::CZipCryptoKeys(const char* password) : m_keys{0x12345678u, 0x23456789u, 0x34567890u}
{
    for (const char* p = password; p && *p; ++p) {
        Update(static_cast<unsigned char>(*p));
    }
}

void CZipCryptoKeys::Update(unsigned char plain)
{
    m_keys[0] = CrcStep(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1u;
    m_keys[2] = CrcStep(m_keys[2], static_cast<unsigned char>(m_keys[1] >> 24));
}

unsigned char CZipCryptoKeys::KeyStream() const
{
    const uint32_t temp = (m_keys[2] | 2u) & 0xFFFFu;
    return static_cast<unsigned char>((temp * (temp ^ 1u)) >> 8);
}

unsigned char CZipCryptoKeys::DecryptByte(unsigned char cipher)
{
    const auto plain = static_cast<unsigned char>(cipher ^ KeyStream());
    Update(plain);
    return plain;
}

unsigned char CZipCryptoKeys::EncryptByte(unsigned char plain)
{
    const auto cipher = static_cast<unsigned char>(plain ^ KeyStream());
    Update(plain);
    return cipher;
}

void CZipCryptoKeys::Decrypt(unsigned char* data, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        data[i] = DecryptByte(data[i]);
    }
}

} // namespace SkinUI
