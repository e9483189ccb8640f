// The signature check on arbitrary answers. The input's first five lines
// are the public key, the signature, the package size, the app id and the
// channel; the rest is the offered version. Base64 must have one reading, a
// check must never accept a text outside plain ASCII (nor a name with "?" or
// too long, nor an empty app id or one with a backslash), and a statement
// signed with the fuzzer's own key must verify for exactly the fields it was
// made from.
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
    const std::string appId = NextLine(rest);
    const std::string channel = NextLine(rest);
    const SignedRelease release{appId, channel, rest};
    CheckCanonical(key);
    CheckCanonical(signature);

    auto name = [](const std::string& text) {
        return text.size() <= kMaxSignedNameLength && IsPlainAsciiText(text) && text.find('?') == std::string::npos;
    };
    const bool plain = name(appId) && !appId.empty() && appId.find('\\') == std::string::npos && name(channel) &&
                       IsPlainAsciiText(release.version);
    const SignatureVerdict verdict = CheckPackageSignature(key, signature, release, kSha256, length);
    if (verdict == SignatureVerdict::Valid && !plain)
        __builtin_trap();

    const std::string ours = Base64Encode(vendor.publicKey, sizeof vendor.publicKey);
    const std::string signedHere = vendor.Sign(PackageStatement(release, kSha256, length));
    const SignatureVerdict verdictHere = CheckPackageSignature(ours, signedHere, release, kSha256, length);
    if ((verdictHere == SignatureVerdict::Valid) != plain)
        __builtin_trap();
    // The same signature over any other field is refused (as a mismatch, or
    // because the changed name is one no signature may bind).
    if (plain && (CheckPackageSignature(ours, signedHere, release, kSha256, length + 1) == SignatureVerdict::Valid ||
                  CheckPackageSignature(ours, signedHere, {appId, channel, release.version + ".1"}, kSha256, length) ==
                      SignatureVerdict::Valid ||
                  CheckPackageSignature(ours, signedHere, {appId, channel + "1", release.version}, kSha256, length) ==
                      SignatureVerdict::Valid ||
                  CheckPackageSignature(ours, signedHere, {appId + "1", channel, release.version}, kSha256, length) ==
                      SignatureVerdict::Valid))
        __builtin_trap();
    return 0;
}
