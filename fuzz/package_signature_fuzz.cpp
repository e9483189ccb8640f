// The signature check on arbitrary answers. The input's first three lines
// are the public key, the signature and the package size; the rest is the
// offered version. Base64 must have one reading, a check must never accept a
// version outside plain ASCII, and a statement signed with the fuzzer's own
// key must verify for exactly the fields it was made from.
#include <sodium.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "package_signature.h"
#include "text_encoding.h"

namespace {

const char kSha256[] = "2cf24dba5fb0a30e26e83b2ac5b9e29e1b161e5c1fa7425e73043362938b9824";

std::string NextLine(std::string& rest)
{
    const size_t end = rest.find('\n');
    std::string line = rest.substr(0, end);
    rest = end == std::string::npos ? std::string() : rest.substr(end + 1);
    return line;
}

void CheckCanonical(const std::string& text)
{
    std::string bytes;
    if (Base64Decode(text, bytes) && Base64Encode(bytes.data(), bytes.size()) != text)
        __builtin_trap();
}

struct FuzzVendor {
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    FuzzVendor()
    {
        const unsigned char seed[crypto_sign_SEEDBYTES] = {7};
        if (sodium_init() < 0)
            abort();
        crypto_sign_seed_keypair(publicKey, secretKey, seed);
    }
    std::string Sign(const std::string& statement) const
    {
        unsigned char signature[crypto_sign_BYTES];
        crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(statement.data()),
                             statement.size(), secretKey);
        return Base64Encode(signature, sizeof signature);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const FuzzVendor vendor;
    std::string rest(reinterpret_cast<const char*>(data), size);
    const std::string key = NextLine(rest);
    const std::string signature = NextLine(rest);
    const uint64_t length = strtoull(NextLine(rest).c_str(), nullptr, 10);
    const std::string& version = rest;
    CheckCanonical(key);
    CheckCanonical(signature);

    const SignatureVerdict verdict = CheckPackageSignature(key, signature, kSha256, length, version);
    if (verdict == SignatureVerdict::Valid && !IsPlainAsciiVersion(version))
        __builtin_trap();

    const std::string ours = Base64Encode(vendor.publicKey, sizeof vendor.publicKey);
    const std::string signedHere = vendor.Sign(PackageStatement(kSha256, length, version));
    const SignatureVerdict expected =
        IsPlainAsciiVersion(version) ? SignatureVerdict::Valid : SignatureVerdict::VersionNotAscii;
    if (CheckPackageSignature(ours, signedHere, kSha256, length, version) != expected)
        __builtin_trap();
    // The same signature over any other field is refused.
    if (expected == SignatureVerdict::Valid &&
        (CheckPackageSignature(ours, signedHere, kSha256, length + 1, version) != SignatureVerdict::Mismatch ||
         CheckPackageSignature(ours, signedHere, kSha256, length, version + ".1") != SignatureVerdict::Mismatch))
        __builtin_trap();
    return 0;
}
