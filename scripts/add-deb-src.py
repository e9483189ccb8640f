#!/usr/bin/env python3
"""Write deb-src entries mirroring the deb entries apt already uses.

Reads the machine's own apt sources (one-line and deb822 formats) so that no
mirror host name is ever hard-coded in the project.
"""
import glob
import os
import sys

TARGET = "/etc/apt/sources.list.d/ferncastle-deb-src.sources"


def deb822_stanzas(path):
    stanza = {}
    key = None
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.rstrip("\n")
            if line.startswith("#"):
                continue
            if not line.strip():
                if stanza:
                    yield stanza
                stanza, key = {}, None
                continue
            if line[0] in " \t" and key:
                stanza[key] += "\n" + line
                continue
            if ":" in line:
                key, value = line.split(":", 1)
                stanza[key.strip()] = value.strip()
    if stanza:
        yield stanza


def one_line_entries(path):
    with open(path, encoding="utf-8") as f:
        for raw in f:
            words = raw.split("#", 1)[0].split()
            if len(words) >= 3 and words[0] == "deb":
                options = ""
                rest = words[1:]
                if rest[0].startswith("["):
                    opts = []
                    while rest and not rest[0].endswith("]"):
                        opts.append(rest.pop(0))
                    opts.append(rest.pop(0))
                    options = " ".join(opts).strip("[]").strip()
                yield options, rest[0], rest[1], rest[2:]


def main():
    stanzas = []
    for path in sorted(glob.glob("/etc/apt/sources.list.d/*.sources")):
        if os.path.abspath(path) == TARGET:
            continue
        for s in deb822_stanzas(path):
            if "deb" in s.get("Types", "").split() and s.get("Enabled", "yes") != "no":
                stanzas.append(s)
    for path in ["/etc/apt/sources.list"] + sorted(glob.glob("/etc/apt/sources.list.d/*.list")):
        if not os.path.exists(path):
            continue
        for options, uri, suite, comps in one_line_entries(path):
            s = {"URIs": uri, "Suites": suite, "Components": " ".join(comps)}
            for opt in options.split():
                if opt.startswith("signed-by="):
                    s["Signed-By"] = opt.split("=", 1)[1]
            stanzas.append(s)
    # Only Debian's own archives carry the source packages we need.
    stanzas = [s for s in stanzas if "/debian" in s.get("URIs", "")]
    if not stanzas:
        print("no Debian apt source found to derive deb-src entries from", file=sys.stderr)
        return 1
    out = []
    for s in stanzas:
        lines = ["Types: deb-src"]
        for key in ("URIs", "Suites", "Components", "Signed-By"):
            if key in s:
                lines.append(f"{key}: {s[key]}")
        out.append("\n".join(lines))
    text = "\n\n".join(out) + "\n"
    old = open(TARGET, encoding="utf-8").read() if os.path.exists(TARGET) else None
    if old != text:
        with open(TARGET, "w", encoding="utf-8") as f:
            f.write(text)
        print("changed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
