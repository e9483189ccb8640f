#include "package_signature.h"

#include <sodium/core.h>
#include <sodium/crypto_sign_ed25519.h>

#include "text_encoding.h"

namespace {

const size_t kSignatureBase64Length = (crypto_sign_ed25519_BYTES + 2) / 3 * 4;

// A product or channel a signature may name: printable ASCII without "?",
// the ANSI conversion's mark of a lost character, which would let two
// installations read as one; short enough to name a registry key and value.
bool IsSignableName(const std::string& text)
{
    return text.size() <= kMaxSignedNameLength && IsPlainAsciiText(text) && text.find('?') == std::string::npos;
}

} // namespace

std::string PackageStatement(const SignedRelease& release, const std::string& sha256Hex, uint64_t size)
{
    return "ferncastle-package-v2\n" + release.appId + "\n" + release.channel + "\n" + sha256Hex + "\n" +
           std::to_string(size) + "\n" + release.version;
}

bool IsPlainAsciiText(const std::string& text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c > 0x7E)
            return false;
    return true;
}

SignatureVerdict CheckPackageSignature(const std::string& publicKeyBase64, const std::string& signatureBase64,
                                       const SignedRelease& release, const std::string& sha256Hex, uint64_t size)
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
    // The product names a registry key of the rollback guard: one, so no
    // backslash, and not the key of no product.
    if (!IsSignableName(release.appId) || release.appId.empty() || release.appId.find('\\') != std::string::npos)
        return SignatureVerdict::AppIdNotAscii;
    if (!IsSignableName(release.channel))
        return SignatureVerdict::ChannelNotAscii;
    // The version as the updater reads it: the whole answer was converted
    // to the ANSI code page, lossily (best-fit letters, "?" for what has
    // none). Still sound, as nothing starts unless the vendor signed exactly
    // this text over this package, whatever the answer said before the
    // conversion. The signer refuses "?", so that no signed version holds
    // the conversion's mark of a lost character.
    if (!IsPlainAsciiText(release.version))
        return SignatureVerdict::VersionNotAscii;
    // No sodium_init: checking a signature and hashing need none of what it
    // sets up (CPU dispatch, random numbers), and calling it would link the
    // implementations it chooses among into the program.
    const std::string statement = PackageStatement(release, sha256Hex, size);
    const int verified =
        crypto_sign_ed25519_verify_detached(reinterpret_cast<const unsigned char*>(signature.data()),
                                            reinterpret_cast<const unsigned char*>(statement.data()), statement.size(),
                                            reinterpret_cast<const unsigned char*>(key.data()));
    return verified == 0 ? SignatureVerdict::Valid : SignatureVerdict::Mismatch;
}

bool IsSignatureAccepted(const std::string& publicKeyBase64, const UpdateManifest& manifest, const std::string& appId,
                         const std::string& channel, uint64_t size, const std::string& sha256Hex)
{
    if (publicKeyBase64.empty())
        return true;
    const SignedRelease release{appId, channel, manifest.latestVersion};
    return CheckPackageSignature(publicKeyBase64, manifest.fileSig, release, sha256Hex, size) ==
           SignatureVerdict::Valid;
}
