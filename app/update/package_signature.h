#pragma once

#include <cstdint>
#include <string>

#include "update_manifest.h"

// The vendor's Ed25519 signature over an offered package. The vendor signs
// the statement below with its secret key; a build carrying the vendor's
// public key starts only packages whose statement verifies, so that a server
// or network that lies about the answer cannot have another package started.

// What a signature binds besides the package's bytes: the product and the
// channel this updater named in its own query (never values from the
// answer), and the offered version.
struct SignedRelease {
    std::string appId;
    std::string channel;
    std::string version;
};

// The signed text: "ferncastle-package-v2\n" <appId> "\n" <channel> "\n"
// <SHA-256, lower-case hex> "\n" <size, decimal> "\n" <version>. An empty
// channel signs as an empty line.
std::string PackageStatement(const SignedRelease& release, const std::string& sha256Hex, uint64_t size);

// Printable ASCII (space to "~"): the only texts a signed offer may bind,
// so that the statement has one byte form whatever the code page and no line
// break can shift its fields.
bool IsPlainAsciiText(const std::string& text);

// The longest product or channel name a signature may bind.
constexpr size_t kMaxSignedNameLength = 200;

enum class SignatureVerdict {
    Valid,
    Missing,            // the answer carries no signature
    MalformedKey,       // the public key is not Base64 of 32 bytes
    MalformedSignature, // not Base64 of 64 bytes
    // Not printable ASCII, or holding "?" (a character the code page lost),
    // or longer than kMaxSignedNameLength; an app id also empty or holding
    // "\", which would name another registry key.
    AppIdNotAscii,
    ChannelNotAscii,
    VersionNotAscii,
    Mismatch, // well-formed, but not the key's signature over this statement
};

// Checks `signatureBase64` over the statement of `release` with the package's
// SHA-256 `sha256Hex` and `size`, against `publicKeyBase64`.
SignatureVerdict CheckPackageSignature(const std::string& publicKeyBase64, const std::string& signatureBase64,
                                       const SignedRelease& release, const std::string& sha256Hex, uint64_t size);

// The launch decision on the signature: a build without a vendor key (empty
// `publicKeyBase64`) accepts every package, as the digest and size checks
// alone decide then; a build with one accepts only a Valid signature over the
// offered version for the product and channel this updater asked for.
bool IsSignatureAccepted(const std::string& publicKeyBase64, const UpdateManifest& manifest, const std::string& appId,
                         const std::string& channel, uint64_t size, const std::string& sha256Hex);
