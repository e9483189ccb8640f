#!/usr/bin/python3
"""Signs Ferncastle update packages for vendors (Ed25519, with Debian's python3-nacl,
so run it with the system's /usr/bin/python3).

  sign_package.py keygen SECRET_FILE
      makes a key pair: the secret key (its 32-byte seed, Base64) goes to
      SECRET_FILE, readable by its owner only; prints the public key, the
      value of the build's FERNCASTLE_VENDOR_PUBLIC_KEY.
  sign_package.py public-key SECRET_FILE
      prints the public key of a secret key.
  sign_package.py sign SECRET_FILE PACKAGE --version VERSION --app-id ID
                  --channel CHANNEL [--update-type N]
      prints the update server's catalogue entry for PACKAGE offered as
      VERSION to the product ID on CHANNEL, with its "fileSig". A signed
      entry names its channel: "*" is refused (one entry per channel; an
      empty channel is a channel of its own).

The signature covers the statement
  ferncastle-package-v2\\n<app id>\\n<channel>\\n<SHA-256 of the package, lower-case hex>\\n<size>\\n<version>
and an updater built with the public key starts the package only when the
offer's "fileSig" verifies over the statement of the file it downloaded,
the product and channel it asked for and the offer's "latestVersion", and
that version is no lower than the highest it has started for them. The
texts are printable ASCII; the version is dotted decimal (at most 4 parts of
at most 9 digits), the app id and channel have no "?" and at most 200
characters, and the app id is not empty and has no "\\".
"""
import argparse
import base64
import hashlib
import json
import os
import re
import sys

import nacl.signing

STATEMENT_TAG = "ferncastle-package-v2"


def statement(app_id, channel, sha256_hex, size, version):
    return f"{STATEMENT_TAG}\n{app_id}\n{channel}\n{sha256_hex}\n{size}\n{version}".encode("ascii")


def printable(text):
    return all(0x20 <= ord(c) <= 0x7E for c in text)


# What a keyed updater can compare with the version it last started: dotted
# decimal, at most 4 parts of at most 9 digits (leading zeros count).
VERSION = re.compile(r"[0-9]{1,9}(\.[0-9]{1,9}){0,3}")
# Names longer than this do not fit the updater's registry record.
MAX_NAME_LENGTH = 200


def signable_name(text):
    """A product or channel name the updater can bind: printable ASCII
    without "?" (its code page's mark of a lost character), not too long."""
    return printable(text) and "?" not in text and len(text) <= MAX_NAME_LENGTH


def read_secret(path):
    with open(path, encoding="ascii") as f:
        seed = base64.b64decode(f.read().strip(), validate=True)
    if len(seed) != 32:
        sys.exit(f"sign_package: {path} does not hold a 32-byte secret key")
    return nacl.signing.SigningKey(seed)


def public_key_text(key):
    return base64.b64encode(bytes(key.verify_key)).decode("ascii")


def sign_file(key, path, app_id, channel, version):
    """The Base64 signature over the statement of the file at `path`."""
    # The updater reads the version after a lossy conversion to its ANSI code
    # page, which writes "?" for what it cannot map: a signed version must
    # read the same whatever the code page.
    if not printable(version) or "?" in version:
        sys.exit('sign_package: the version must be printable ASCII without "?"')
    if not VERSION.fullmatch(version):
        sys.exit("sign_package: the version must be dotted decimal, at most 4 parts of at most 9 digits")
    # The app id names the rollback guard's registry key.
    if not signable_name(app_id) or not app_id or "\\" in app_id:
        sys.exit(f'sign_package: the app id must be 1 to {MAX_NAME_LENGTH} printable ASCII characters '
                 'without "?" or "\\"')
    if not signable_name(channel):
        sys.exit(f'sign_package: the channel must be at most {MAX_NAME_LENGTH} printable ASCII characters '
                 'without "?"')
    if channel == "*":
        sys.exit('sign_package: a signature is for one channel; "*" cannot be signed')
    digest = hashlib.sha256()
    size = 0
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
            size += len(block)
    signed = key.sign(statement(app_id, channel, digest.hexdigest(), size, version))
    return base64.b64encode(signed.signature).decode("ascii")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    keygen = commands.add_parser("keygen", help="make a key pair")
    keygen.add_argument("secret")
    public = commands.add_parser("public-key", help="print the public key of a secret key")
    public.add_argument("secret")
    sign = commands.add_parser("sign", help="sign a package and print its catalogue entry")
    sign.add_argument("secret")
    sign.add_argument("package")
    sign.add_argument("--version", required=True, help="the offered version (latestVersion)")
    sign.add_argument("--app-id", required=True, help="the product's AppId, as its Config.cfg names it")
    sign.add_argument("--channel", required=True, help="the channel the updater asks for (may be empty)")
    sign.add_argument("--update-type", type=int, default=1)
    args = parser.parse_args()

    if args.command == "keygen":
        key = nacl.signing.SigningKey.generate()
        # Created for its owner alone; an existing file is not overwritten.
        try:
            fd = os.open(args.secret, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
        except FileExistsError:
            sys.exit(f"sign_package: {args.secret} exists; not overwritten")
        with os.fdopen(fd, "w", encoding="ascii") as f:
            f.write(base64.b64encode(bytes(key)).decode("ascii") + "\n")
        print(public_key_text(key))
    elif args.command == "public-key":
        print(public_key_text(read_secret(args.secret)))
    else:
        entry = {
            "appId": args.app_id,
            "channel": args.channel,
            "latestVersion": args.version,
            "package": os.path.basename(args.package),
            "updateType": args.update_type,
            "fileSig": sign_file(read_secret(args.secret), args.package, args.app_id, args.channel, args.version),
        }
        print(json.dumps(entry, indent=2, ensure_ascii=False))


if __name__ == "__main__":
    main()
