#include "package_signature.h"

#include <sodium/core.h>
#include <sodium/crypto_sign_ed25519.h>

#include "text_encoding.h"

namespace {

const size_t kSignatureBase64Length = (crypto_sign_ed25519_BYTES + 2) / 3 * 4;

} // namespace

std::string PackageStatement(const std::string& sha256Hex, uint64_t size, const std::string& version)
{
    return "ferncastle-package-v1\n" + sha256Hex + "\n" + std::to_string(size) + "\n" + version;
}

bool IsPlainAsciiVersion(const std::string& version)
{
    for (unsigned char c : version)
        if (c < 0x20 || c > 0x7E)
            return false;
    return true;
}

SignatureVerdict CheckPackageSignature(const std::string& publicKeyBase64, const std::string& signatureBase64,
                                       const std::string& sha256Hex, uint64_t size, const std::string& version)
{
    std::string key, signature;
    if (!Base64Decode(publicKeyBase64, key) || key.size() != crypto_sign_ed25519_PUBLICKEYBYTES)
        return SignatureVerdict::MalformedKey;
    if (signatureBase64.empty())
        return SignatureVerdict::Missing;
    // The Base64 of 64 bytes is 88 characters: a longer text from the
    // network is refused before anything is decoded from it.
    if (signatureBase64.size() > kSignatureBase64Length)
        return SignatureVerdict::MalformedSignature;
    if (!Base64Decode(signatureBase64, signature) || signature.size() != crypto_sign_ed25519_BYTES)
        return SignatureVerdict::MalformedSignature;
    // The version as the updater reads it: the whole answer was converted
    // to the ANSI code page, lossily (best-fit letters, "?" for what has
    // none). Still sound, as nothing starts unless the vendor signed exactly
    // this text over this package, whatever the answer said before the
    // conversion. The signer refuses "?", so that no signed version holds
    // the conversion's mark of a lost character.
    if (!IsPlainAsciiVersion(version))
        return SignatureVerdict::VersionNotAscii;
    // No sodium_init: checking a signature and hashing need none of what it
    // sets up (CPU dispatch, random numbers), and calling it would link the
    // implementations it chooses among into the program.
    const std::string statement = PackageStatement(sha256Hex, size, version);
    const int verified =
        crypto_sign_ed25519_verify_detached(reinterpret_cast<const unsigned char*>(signature.data()),
                                            reinterpret_cast<const unsigned char*>(statement.data()), statement.size(),
                                            reinterpret_cast<const unsigned char*>(key.data()));
    return verified == 0 ? SignatureVerdict::Valid : SignatureVerdict::Mismatch;
}

bool IsSignatureAccepted(const std::string& publicKeyBase64, const UpdateManifest& manifest, uint64_t size,
                         const std::string& sha256Hex)
{
    if (publicKeyBase64.empty())
        return true;
    return CheckPackageSignature(publicKeyBase64, manifest.fileSig, sha256Hex, size, manifest.latestVersion) ==
           SignatureVerdict::Valid;
}
