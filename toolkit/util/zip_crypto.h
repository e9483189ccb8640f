// Traditional PKWARE ZIP encryption ("ZipCrypto"): the key schedule and the
// decryption of an entry's 12-byte header and data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace SkinUI {

class CZipCryptoKeys {
public:
    enum { kHeaderSize = 12 };

    explicit CZipCryptoKeys(const char* password);
    unsigned char DecryptByte(unsigned char cipher);
    unsigned char EncryptByte(unsigned char plain);
    void Decrypt(unsigned char* data, size_t size);

private:
    void Update(unsigned char plain);
    unsigned char KeyStream() const;

    uint32_t m_keys[3];
};

} // namespace SkinUI
