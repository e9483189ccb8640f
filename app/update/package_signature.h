#pragma once

#include <cstdint>
#include <string>

#include "update_manifest.h"

// The vendor's Ed25519 signature over an offered package. The vendor signs
// the statement below with its secret key; a build carrying the vendor's
// public key starts only packages whose statement verifies, so that a server
// or network that lies about the answer cannot have another package started.

// The signed text: "ferncastle-package-v1\n" <SHA-256, lower-case hex> "\n"
// <size, decimal> "\n" <version>.
std::string PackageStatement(const std::string& sha256Hex, uint64_t size, const std::string& version);

// Printable ASCII (space to "~"): the only versions a signed offer may carry,
// so that the statement has one byte form whatever the code page and no line
// break can shift its fields.
bool IsPlainAsciiVersion(const std::string& version);

enum class SignatureVerdict {
    Valid,
    Missing,            // the answer carries no signature
    MalformedKey,       // the public key is not Base64 of 32 bytes
    MalformedSignature, // not Base64 of 64 bytes
    VersionNotAscii,
    Mismatch, // well-formed, but not the key's signature over this statement
};

// Checks `signatureBase64` over the statement of the package with SHA-256
// `sha256Hex` and `size` offered as `version`, against `publicKeyBase64`.
SignatureVerdict CheckPackageSignature(const std::string& publicKeyBase64, const std::string& signatureBase64,
                                       const std::string& sha256Hex, uint64_t size, const std::string& version);

// The launch decision on the signature: a build without a vendor key (empty
// `publicKeyBase64`) accepts every package, as the digest and size checks
// alone decide then; a build with one accepts only a Valid signature.
bool IsSignatureAccepted(const std::string& publicKeyBase64, const UpdateManifest& manifest, uint64_t size,
                         const std::string& sha256Hex);
