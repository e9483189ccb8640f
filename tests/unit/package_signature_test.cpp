#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "package_signature.h"
#include "sha256.h"
#include "test_signer.h"

namespace {

// Made by tools/package-signer/sign_package.py (test key, a package "hello",
// version 2.0.0.1, app id Ferncastle, channel 1001): the updater must read
// what the vendors' tool writes.
const char kSignerKey[] = "05nXn2Mq7FNgkSCmmZZ63A5sdK41+QtWXrdeGTT7jss=";
const char kHelloSha256[] = "2cf24dba5fb0a30e26e83b2ac5b9e29e1b161e5c1fa7425e73043362938b9824";
const char kSignerSignature[] =
    "BBgoCZ4FNcKXXoAYaHwJigxRYsAQst6OUWKjPaWeTUQXTW8sRSONUfr26F9DCa32pAEp3eUjXz3vEOBFBIcMAQ==";
const SignedRelease kHello{"Ferncastle", "1001", "2.0.0.1"};

TEST(Sha256Stream, KnownDigestsWhateverThePieces)
{
    const struct {
        std::string data;
        const char* hex;
    } rows[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& row : rows) {
        for (size_t piece : {size_t(1), size_t(63), size_t(64), size_t(65536)}) {
            Sha256Stream sha;
            for (size_t at = 0; at < row.data.size(); at += piece)
                sha.Update(row.data.data() + at, std::min(piece, row.data.size() - at));
            EXPECT_EQ(sha.HexDigest(), row.hex) << row.data.size() << " bytes in pieces of " << piece;
        }
    }
}

TEST(PackageStatement, FieldsOnLinesOfTheirOwn)
{
    EXPECT_EQ(PackageStatement(kHello, kHelloSha256, 5),
              std::string("ferncastle-package-v2\nFerncastle\n1001\n") + kHelloSha256 + "\n5\n2.0.0.1");
    EXPECT_EQ(PackageStatement({"a", "", ""}, "ab", 18446744073709551615ull),
              "ferncastle-package-v2\na\n\nab\n18446744073709551615\n");
}

TEST(CheckPackageSignature, ReadsTheVendorToolsSignature)
{
    EXPECT_EQ(CheckPackageSignature(kSignerKey, kSignerSignature, kHello, kHelloSha256, 5), SignatureVerdict::Valid);
    // The same for the empty channel, an empty line.
    EXPECT_EQ(CheckPackageSignature(
                  kSignerKey,
                  "SKcro3vTu2FObZwfN8GUr+O29T4zUO/fA6rAHqe+unyyT8im/2YoZ2+Mom8VIBAlM0BzkpTQVJhoX35bjdI7Aw==",
                  {"Ferncastle", "", "2.0.0.1"}, kHelloSha256, 5),
              SignatureVerdict::Valid);
    EXPECT_EQ(TestSigner().PublicKey(), kSignerKey);
}

TEST(CheckPackageSignature, VerdictTable)
{
    const TestSigner vendor;
    const std::string key = vendor.PublicKey();
    const std::string good = vendor.SignPackage("hello", "Ferncastle", "1001", "2.0.0.1");
    std::string flipped = good;
    flipped[10] = flipped[10] == 'A' ? 'B' : 'A';
    // The last character before "==" carries four unused bits: set the lowest.
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string unusedBits = good;
    unusedBits[good.size() - 3] = alphabet[alphabet.find(good[good.size() - 3]) ^ 1];
    const std::string sha = kHelloSha256;
    // Signed for what the row offers, so that only the rule on texts refuses it.
    auto signedFor = [&](const SignedRelease& release) { return vendor.Sign(PackageStatement(release, sha, 5)); };
    auto signedAs = [&](const std::string& version) { return signedFor({"Ferncastle", "1001", version}); };
    const struct {
        const char* what;
        std::string key, signature, sha256;
        uint64_t size;
        std::string version;
        SignatureVerdict verdict;
        SignedRelease release = {"Ferncastle", "1001", ""}; // the version comes from the row
    } rows[] = {
        {"valid", key, good, sha, 5, "2.0.0.1", SignatureVerdict::Valid},
        {"no signature", key, "", sha, 5, "2.0.0.1", SignatureVerdict::Missing},
        {"no key", "", good, sha, 5, "2.0.0.1", SignatureVerdict::MalformedKey},
        {"key not Base64", "05nXn2Mq7FNgkSCmmZZ63A5sdK41+QtWXrdeGTT7jss", good, sha, 5, "2.0.0.1",
         SignatureVerdict::MalformedKey},
        {"key of 33 bytes", Base64Encode(std::string(33, 'k').data(), 33), good, sha, 5, "2.0.0.1",
         SignatureVerdict::MalformedKey},
        {"signature not Base64", key, "not a signature", sha, 5, "2.0.0.1", SignatureVerdict::MalformedSignature},
        {"signature of 63 bytes", key, Base64Encode(good.data(), 63), sha, 5, "2.0.0.1",
         SignatureVerdict::MalformedSignature},
        {"signature with a line break", key, good + "\n", sha, 5, "2.0.0.1", SignatureVerdict::MalformedSignature},
        {"signature with unused bits set", key, unusedBits, sha, 5, "2.0.0.1", SignatureVerdict::MalformedSignature},
        {"version with a line break", key, signedAs("2\n1"), sha, 5, "2\n1", SignatureVerdict::VersionNotAscii},
        {"version in Latin-1", key, signedAs("2.0\xE9"), sha, 5, "2.0\xE9", SignatureVerdict::VersionNotAscii},
        {"version in UTF-8", key, signedAs("2.0\xC3\xA9"), sha, 5, "2.0\xC3\xA9", SignatureVerdict::VersionNotAscii},
        {"version with DEL", key, signedAs("2.0\x7F"), sha, 5, "2.0\x7F", SignatureVerdict::VersionNotAscii},
        {"version of every printable", key, signedAs(" !~09AZaz"), sha, 5, " !~09AZaz", SignatureVerdict::Valid},
        {"other size", key, good, sha, 6, "2.0.0.1", SignatureVerdict::Mismatch},
        {"other version", key, good, sha, 5, "2.0.0.2", SignatureVerdict::Mismatch},
        {"other package", key, good, TestSigner::Sha256Hex("hellO"), 5, "2.0.0.1", SignatureVerdict::Mismatch},
        {"digest in upper case", key, good, "2CF24DBA5FB0A30E26E83B2AC5B9E29E1B161E5C1FA7425E73043362938B9824", 5,
         "2.0.0.1", SignatureVerdict::Mismatch},
        {"a changed byte", key, flipped, sha, 5, "2.0.0.1", SignatureVerdict::Mismatch},
        {"another key", TestSigner(std::string(32, 'k')).PublicKey(), good, sha, 5, "2.0.0.1",
         SignatureVerdict::Mismatch},
        {"another channel", key, good, sha, 5, "2.0.0.1", SignatureVerdict::Mismatch, {"Ferncastle", "1002", ""}},
        {"another product", key, good, sha, 5, "2.0.0.1", SignatureVerdict::Mismatch, {"Swiftmere", "1001", ""}},
        {"the first form of the statement", key, vendor.SignPackageV1("hello", "2.0.0.1"), sha, 5, "2.0.0.1",
         SignatureVerdict::Mismatch},
        {"empty channel",
         key,
         signedFor({"Ferncastle", "", "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::Valid,
         {"Ferncastle", "", ""}},
        {"app id with a backslash",
         key,
         signedFor({"Fern\\castle", "1001", "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::AppIdNotAscii,
         {"Fern\\castle", "1001", ""}},
        {"app id with a line break",
         key,
         signedFor({"Fern\ncastle", "1001", "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::AppIdNotAscii,
         {"Fern\ncastle", "1001", ""}},
        {"channel in UTF-8",
         key,
         signedFor({"Ferncastle", "\xE6\xB8\xA0", "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::ChannelNotAscii,
         {"Ferncastle", "\xE6\xB8\xA0", ""}},
        // A line break would let the channel run into the digest's line.
        {"channel with a line break",
         key,
         signedFor({"Ferncastle", "1001\n" + sha, "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::ChannelNotAscii,
         {"Ferncastle", "1001\n" + sha, ""}},
        // Signed for names that the updater cannot bind: none, or one that
        // two installations could read alike, or too long for the record.
        {"no app id",
         key,
         signedFor({"", "1001", "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::AppIdNotAscii,
         {"", "1001", ""}},
        {"app id with a lost character",
         key,
         signedFor({"Fern?", "1001", "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::AppIdNotAscii,
         {"Fern?", "1001", ""}},
        {"channel with a lost character",
         key,
         signedFor({"Ferncastle", "??1", "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::ChannelNotAscii,
         {"Ferncastle", "??1", ""}},
        {"channel of 201 characters",
         key,
         signedFor({"Ferncastle", std::string(201, '1'), "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::ChannelNotAscii,
         {"Ferncastle", std::string(201, '1'), ""}},
        {"channel of 200 characters",
         key,
         signedFor({"Ferncastle", std::string(200, '1'), "2.0.0.1"}),
         sha,
         5,
         "2.0.0.1",
         SignatureVerdict::Valid,
         {"Ferncastle", std::string(200, '1'), ""}},
    };
    for (const auto& row : rows) {
        const SignedRelease release{row.release.appId, row.release.channel, row.version};
        EXPECT_EQ(CheckPackageSignature(row.key, row.signature, release, row.sha256, row.size), row.verdict)
            << row.what;
    }
}

TEST(IsSignatureAccepted, OnlyAValidSignatureWhenTheBuildCarriesAKey)
{
    const TestSigner vendor;
    UpdateManifest manifest;
    manifest.latestVersion = "2.0.0.1";
    const struct {
        const char* what;
        std::string key, signature;
        bool accepted;
    } rows[] = {
        {"no key, no signature", "", "", true},
        {"no key, a malformed signature", "", "junk", true},
        {"key, valid signature", vendor.PublicKey(), vendor.SignPackage("hello", "Ferncastle", "1001", "2.0.0.1"),
         true},
        {"key, signed for another channel", vendor.PublicKey(),
         vendor.SignPackage("hello", "Ferncastle", "1002", "2.0.0.1"), false},
        {"key, no signature", vendor.PublicKey(), "", false},
        {"key, malformed signature", vendor.PublicKey(), "junk", false},
        {"malformed key", "junk", vendor.SignPackage("hello", "Ferncastle", "1001", "2.0.0.1"), false},
    };
    for (const auto& row : rows) {
        manifest.fileSig = row.signature;
        EXPECT_EQ(IsSignatureAccepted(row.key, manifest, "Ferncastle", "1001", 5, kHelloSha256), row.accepted)
            << row.what;
    }
}

} // namespace
