#!/usr/bin/env python3
"""The project's own update-information and package server, for tests and the demo.

Answers GET /upgrade/info?data=... the way the updater expects: it decodes the
data parameter (URL decoding, Base64, the query string), checks the signature
and the timestamp, looks the installation up in a release catalogue and
answers with JSON. Serves package files under /packages/ with HEAD and GET.
Binds to 127.0.0.1 only. A request in a proxy's form (the whole address,
any host) is answered as one for its path.

Faults, for tests: a path may start with /fault/NAME[/ARG], for example
/fault/drop-after/100/packages/demo.exe, and several such prefixes combine
(/fault/no-length/fault/reset-after/5000/packages/demo.exe); --fault
NAME[:ARG] applies one to every request that names none. Names:
  stall             send nothing, then close after --stall-seconds
  drop-after N      send N body bytes, then close the connection cleanly
  reset-after N     send N body bytes, then reset the connection
  stall-after N     send N body bytes, then stall
  trickle MS        send the body one byte every MS milliseconds
  trickle-headers MS  send the status line and headers one byte every MS
                    milliseconds
  cut N[xK]         the first K (1) bodies of a package end after N bytes
  no-range          ignore Range requests and send the whole package
  shift-range D     answer a Range request from D bytes before the asked start
  wrong-length D    announce a Content-Length off by D bytes
  length N          announce a Content-Length of N bytes
  head-length D     the same for HEAD answers only
  no-length         announce no length; the body ends with the connection
  404, 500          answer with that status and an HTML page
  offer-body        with 404 or 500: the update-information answer as the body
  no-answer         close the connection without answering
  malformed-json, huge-answer   spoil the update-information answer
  pad-answer N      pad the update-information answer to about N bytes
  deep-answer       add a member nested 5000 arrays deep to the answer
  wrong-types       answer with members of types the updater cannot read
  redirect          answer 302 with the request's own address (a loop)
  proxy-basic       answer 407 asking for Basic proxy authentication, and
                    log whether the request carried Proxy-Authorization
  head-fail         close a HEAD request's connection without answering
  head-500          answer a HEAD request with 500; GET is served as usual
  endless           send the body again and again until the client goes
  html-200          serve an HTML error page, padded to the package's
                    length, as 200
  overlay N         serve the package followed by N more bytes
  switch N          after the first GET of a package, serve other bytes of
                    the same length (each byte from offset N on XOR 0xFF),
                    an hour newer, so under another ETag and Last-Modified:
                    a release replaced between requests
  no-validators     send neither ETag nor Last-Modified
  weak-etag         send the ETag as a weak one (W/"..."), which never
                    matches an If-Range
  ignore-if-range   answer a Range request whatever its If-Range says

Packages are served with Range support (206 and Content-Range), a strong
ETag (from the file's time in nanoseconds and its length) and a
Last-Modified (two hours before the file's time), and
honour If-Range: when it names neither, the whole package comes with 200.
Every request is logged once it is answered: method, raw target, any Range
and If-Range, and the body bytes sent (null when the client went away first, with the bytes
written to the connection until then); an update-information request also
with what the server made of the query. A connection that opens with
a TLS handshake record is logged as {"tls": true} and closed, unless the
catalogue names an identity ("tls": "NAME") of those given with --tls CERT
KEY (NAME is CERT's file name without its extension): the server then
presents it and serves that connection over TLS, logging the handshake as
{"tls": "NAME", "handshake": true or false}.

Catalogue (JSON), one entry per channel; the entry for the query's channel
is offered, else a "*" entry (unsigned catalogues only):
  {"releases": [{"appId": "Ferncastle", "channel": "1001" (or "*"),
                 "latestVersion": "2.0.0.1", "package": "setup.exe",
                 "updateType": 1, "info": ["..."]}]}
  optional: "downloadUrl" (instead of the package's own address),
  "fileSize" (instead of the package's length) and "fileMd5" (instead of the
  package's MD5; null leaves the member out) to announce.
An entry may carry "fileSig", the vendor's signature of the package for its
product and channel (tools/package-signer/sign_package.py prints such
entries); the answer then passes it on. A product with a signed entry and a
"*" entry answers code 1006. An entry for the empty channel ("") answers the
queries that name it "NULL".
"""
import argparse
import base64
import binascii
import email.utils
import hashlib
import json
import os
import re
import socket
import ssl
import struct
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

SIGNING_KEY = "Q7mZkR2vT9xLp4Wd8sNc3HfYb6GjE1Ua"
QUERY_KEYS = ["appId", "channel", "osVersion", "reqType", "ts", "uid", "version"]
FAULTS_WITH_ARG = {
    "drop-after", "reset-after", "stall-after", "cut", "wrong-length", "length", "head-length", "pad-answer",
    "shift-range", "overlay", "trickle", "switch", "trickle-headers",
}
FAULTS = FAULTS_WITH_ARG | {
    "stall", "no-length", "no-answer", "no-range", "404", "500", "malformed-json", "huge-answer",
    "deep-answer", "wrong-types", "redirect", "head-fail", "head-500", "html-200", "endless", "offer-body",
    "no-validators", "weak-etag", "ignore-if-range", "proxy-basic",
}

INVERTED = bytes(b ^ 0xFF for b in range(256))

# Answer codes of this server.
CODE_OK = 0
CODE_MISSING_DATA = 1001
CODE_BAD_ENCODING = 1002
CODE_BAD_QUERY = 1003
CODE_BAD_SIGNATURE = 1004
CODE_STALE_TIMESTAMP = 1005
CODE_BAD_CATALOGUE = 1006


def parse_query_text(text):
    """Splits the signed query text by its known keys, in their fixed order.

    Values are not escaped, so "&" and "=" may stand inside them; each value
    runs up to the next expected "&key=".
    """
    params = {}
    rest = text
    keys = QUERY_KEYS + ["sign"]
    if not rest.startswith(keys[0] + "="):
        return None
    rest = rest[len(keys[0]) + 1:]
    for i, key in enumerate(keys):
        if i + 1 < len(keys):
            marker = "&" + keys[i + 1] + "="
            at = rest.find(marker)
            if at < 0:
                return None
            params[key] = rest[:at]
            rest = rest[at + len(marker):]
        else:
            params[key] = rest
    return params


def signature_of(params):
    signing = "".join(params[k] for k in QUERY_KEYS) + SIGNING_KEY
    return hashlib.md5(signing.encode("latin-1")).hexdigest()


class Server(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, args):
        super().__init__(address, Handler)
        self.args = args
        self.log_lock = threading.Lock()
        self.cut_lock = threading.Lock()
        self.cuts = {}  # package path -> bodies cut so far
        self.switched = set()  # package paths whose first GET has been answered
        self.tls = {}  # identity name -> ssl.SSLContext presenting it
        for cert, key in args.tls or []:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(cert, key)
            self.tls[os.path.splitext(os.path.basename(cert))[0]] = context

    def load_catalogue(self):
        if not self.args.catalogue:
            return {"releases": []}
        with open(self.args.catalogue, encoding="utf-8") as f:
            return json.load(f)

    def write_log(self, record):
        if not self.args.log:
            return
        with self.log_lock, open(self.args.log, "a", encoding="utf-8") as f:
            f.write(json.dumps(record, ensure_ascii=False) + "\n")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    pending_record = None
    server_version = "FerncastleUpdateServer/1.0"

    def log_message(self, fmt, *args):
        if self.server.args.verbose:
            sys.stderr.write("update-server: " + (fmt % args) + "\n")

    # --- request routing -------------------------------------------------

    def split_faults(self):
        """Takes the /fault/NAME[/ARG] prefixes off the path: (path, {name: arg})."""
        path = self.path
        # A request to a proxy names the whole address; this server answers
        # for any host.
        if path.startswith(("http://", "https://")):
            parts = urllib.parse.urlsplit(path)
            path = parts.path + ("?" + parts.query if parts.query else "")
        faults = {}
        while path.startswith("/fault/"):
            parts = path.split("/", 4)  # '', 'fault', name, arg-or-rest...
            name = parts[2]
            if name in FAULTS_WITH_ARG:
                faults[name] = parts[3] if len(parts) > 3 else "0"
                path = "/" + (parts[4] if len(parts) > 4 else "")
            else:
                faults[name] = None
                path = "/" + "/".join(parts[3:])
        if not faults and self.server.args.fault:
            name, _, value = self.server.args.fault.partition(":")
            faults[name] = value or "0"
        return path, faults

    def setup(self):
        # A TLS client speaks first with a handshake record (type 22).
        self.served = True
        try:
            first = self.request.recv(1, socket.MSG_PEEK)
        except OSError:
            first = b""
        if first == b"\x16":
            name = self.server.load_catalogue().get("tls")
            context = self.server.tls.get(name) if isinstance(name, str) else None
            self.served = context is not None
            if not self.served:
                self.server.write_log({"time": time.time(), "tls": True})
            else:
                try:
                    self.request = context.wrap_socket(self.request, server_side=True)
                except (ssl.SSLError, OSError):
                    self.served = False  # the client refused the identity
                self.server.write_log({"time": time.time(), "tls": name, "handshake": self.served})
        super().setup()

    def handle(self):
        if self.served:
            super().handle()

    def finish(self):
        try:
            super().finish()
        except OSError:
            pass  # a refused handshake leaves nothing to flush

    def do_HEAD(self):
        self.route(head=True)

    def do_GET(self):
        self.route(head=False)

    def route(self, head):
        path, faults = self.split_faults()
        record = {"time": time.time(), "method": self.command, "path": self.path}
        if self.headers.get("Range"):
            record["range"] = self.headers["Range"]
        if self.headers.get("If-Range"):
            record["ifRange"] = self.headers["If-Range"]
        self.pending_record = record
        self.header_pause = int(faults["trickle-headers"]) / 1000 if "trickle-headers" in faults else None
        try:
            self.answer(head, path, faults, record)
        finally:
            self.log_pending()

    def end_headers(self):
        pause = getattr(self, "header_pause", None)
        if pause is None:
            super().end_headers()
            return
        # Written a byte at a time, as a server that never quite stalls; the
        # request is logged first, since a client may give up on it.
        self.log_pending()
        self._headers_buffer.append(b"\r\n")
        head = b"".join(self._headers_buffer)
        self._headers_buffer = []
        try:
            for i in range(len(head)):
                self.wfile.write(head[i : i + 1])
                self.wfile.flush()
                time.sleep(pause)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
            raise

    def log_pending(self):
        """Logs the request once, before its body goes out, so that a client
        that has its answer finds the request in the log."""
        if self.pending_record is not None:
            self.server.write_log(self.pending_record)
            self.pending_record = None

    def answer(self, head, path, faults, record):
        if head and "head-fail" in faults:
            faults["no-answer"] = None
        if head and "head-500" in faults:
            faults = {"500": None}  # whatever the GET meets
        if "proxy-basic" in faults:
            # A proxy that takes only a user name and password, in the clear.
            record["asProxy"] = self.path.startswith(("http://", "https://"))
            record["proxyAuthorization"] = "Proxy-Authorization" in self.headers
            record["authorization"] = "Authorization" in self.headers
            self.send_response(407)
            self.send_header("Proxy-Authenticate", 'Basic realm="ferncastle-test"')
            self.send_header("Content-Length", "0")
            self.end_headers()
            self.log_pending()
            return
        if "stall" in faults or "no-answer" in faults:
            self.log_pending()
        if "stall" in faults:
            time.sleep(self.server.args.stall_seconds)
            self.close_connection = True
            return
        if "no-answer" in faults:
            self.close_connection = True
            return
        if "redirect" in faults:
            self.send_response(302)
            self.send_header("Location", self.path)
            self.send_header("Content-Length", "0")
            self.end_headers()
            self.log_pending()
            return
        parsed = urllib.parse.urlsplit(path)
        for status in (404, 500):
            if str(status) in faults:
                if "offer-body" in faults and parsed.path == "/upgrade/info":
                    body = self.answer_info(parsed.query, {}, record)[1]
                    self.send_body(status, "application/json; charset=utf-8", body, head, {})
                    return
                body = f"<html><body><h1>{status}</h1></body></html>".encode()
                self.send_body(status, "text/html", body, head, {})
                return
        if parsed.path == "/upgrade/info":
            status, body = self.answer_info(parsed.query, faults, record)
            self.send_body(status, "application/json; charset=utf-8", body, head, faults)
            return
        if parsed.path.startswith("/packages/"):
            name = urllib.parse.unquote(parsed.path[len("/packages/"):])
            data = self.read_package(name, head)
            if data is None:
                body = b"<html><body><h1>404</h1></body></html>"
                self.send_body(404, "text/html", body, head, {})
                return
            self.send_package(data, head, faults, parsed.path, self.package_time(name))
            return
        self.send_body(404, "text/html", b"<html><body>not here</body></html>", head, {})

    def send_package(self, data, head, faults, key, mtime_ns):
        """Serves a package with its validators, honouring a Range request
        (and its If-Range) unless told not to."""
        faults = dict(faults)
        switched = False
        if "switch" in faults and not head:
            with self.server.cut_lock:
                switched = key in self.server.switched
                self.server.switched.add(key)
        if switched:
            at = int(faults["switch"])
            data = data[:at] + data[at:].translate(INVERTED)
            mtime_ns += 3600 * 10**9
        if "overlay" in faults:
            data = data + b"\0" * int(faults["overlay"])
        if "html-200" in faults:
            page = b"<html><body><h1>Service unavailable</h1></body></html>"
            data = (page + b" " * len(data))[: len(data)]
        cut = faults.pop("cut", None)
        if cut and not head:
            # "N" or "NxK": the first K bodies of this package end after N bytes.
            count, _, times = cut.partition("x")
            with self.server.cut_lock:
                done = self.server.cuts.get(key, 0)
                if done < int(times or "1"):
                    self.server.cuts[key] = done + 1
                    faults["drop-after"] = count
        validators = {}
        if "no-validators" not in faults:
            etag = f'"{mtime_ns:x}-{len(data):x}"'
            validators["ETag"] = "W/" + etag if "weak-etag" in faults else etag
            # Two hours before the file's time, so that a client can take it
            # for a validator: a date no older than a minute names no version.
            validators["Last-Modified"] = email.utils.formatdate(mtime_ns // 10**9 - 7200, usegmt=True)
        wanted = self.headers.get("Range")
        if_range = self.headers.get("If-Range")
        if if_range and "ignore-if-range" not in faults:
            # Entity tags compare strongly: a weak one never matches.
            current = validators.get("ETag", "") if if_range.startswith(('"', "W/")) else validators.get(
                "Last-Modified", "")
            if if_range.startswith("W/") or if_range != current:
                wanted = None
        if not wanted or "no-range" in faults:
            return self.send_body(200, "application/octet-stream", data, head, faults, validators)
        match = re.fullmatch(r"bytes=(\d+)-(\d*)", wanted.strip())
        start = int(match.group(1)) if match else len(data)
        if "shift-range" in faults:
            start = max(0, start - int(faults["shift-range"]))
        end = min(int(match.group(2)), len(data) - 1) if match and match.group(2) else len(data) - 1
        if start >= len(data) or end < start:
            self.send_response(416)
            self.send_header("Content-Range", f"bytes */{len(data)}")
            self.send_header("Content-Length", "0")
            self.end_headers()
            self.log_pending()
            return
        extra = dict(validators, **{"Content-Range": f"bytes {start}-{end}/{len(data)}"})
        return self.send_body(206, "application/octet-stream", data[start : end + 1], head, faults, extra)

    def package_time(self, name):
        base = os.path.realpath(self.server.args.packages or ".")
        return os.stat(os.path.join(base, name)).st_mtime_ns

    def read_package(self, name, head=False):
        base = os.path.realpath(self.server.args.packages or ".")
        full = os.path.realpath(os.path.join(base, name))
        if not full.startswith(base + os.sep) or not os.path.isfile(full):
            return None
        if head:
            # A HEAD answer needs only the length: zeros of that size cost
            # nothing, where reading a large package would delay the answer.
            return bytes(os.path.getsize(full))
        with open(full, "rb") as f:
            return f.read()

    # --- the update-information answer ----------------------------------

    def answer_info(self, query, faults, record):
        record["rawQuery"] = query
        answer = self.judge(query, record)
        record["answer"] = answer
        if "malformed-json" in faults:
            return 200, b'{"code": 0, "desc": "cut short", "data": {"updateType": 1,'
        if "wrong-types" in faults and "data" in answer:
            answer = dict(answer, data=dict(answer["data"], fileSize=str(answer["data"].get("fileSize")), info={"a": 1}))
        if "huge-answer" in faults:
            answer = dict(answer)
            answer["padding"] = "x" * (8 * 1024 * 1024)
        if "pad-answer" in faults:
            answer = dict(answer)
            unpadded = len(json.dumps(answer, ensure_ascii=False).encode("utf-8"))
            answer["padding"] = "x" * max(0, int(faults["pad-answer"]) - unpadded - len(', "padding": ""'))
        body = json.dumps(answer, ensure_ascii=False).encode("utf-8")
        if "deep-answer" in faults:
            # jsoncpp gives up past 1000 levels; the offer itself comes first.
            body = body[:-1] + b', "deep": ' + b"[" * 5000 + b"]" * 5000 + b"}"
        return 200, body

    def judge(self, query, record):
        fields = urllib.parse.parse_qs(query, keep_blank_values=True)
        if "data" not in fields:
            return {"code": CODE_MISSING_DATA, "desc": "missing data parameter"}
        data = fields["data"][0]
        record["data"] = data
        try:
            text = base64.b64decode(data, validate=True).decode("latin-1")
        except (binascii.Error, ValueError):
            return {"code": CODE_BAD_ENCODING, "desc": "data is not Base64"}
        record["query"] = text
        params = parse_query_text(text)
        if params is None:
            return {"code": CODE_BAD_QUERY, "desc": "query string does not hold the expected parameters"}
        record["params"] = params
        expected = signature_of(params)
        record["signatureOk"] = params["sign"] == expected
        if params["sign"] != expected:
            return {"code": CODE_BAD_SIGNATURE, "desc": "bad signature"}
        try:
            ts = int(params["ts"])
        except ValueError:
            return {"code": CODE_BAD_QUERY, "desc": "ts is not a number"}
        if abs(ts - time.time()) > self.server.args.max_skew:
            return {"code": CODE_STALE_TIMESTAMP, "desc": "timestamp too far from now"}
        return self.offer(params)

    def offer(self, params):
        releases = [r for r in self.server.load_catalogue().get("releases", []) if r.get("appId") == params["appId"]]
        # A signature is made for one channel: a "*" entry would be offered
        # to channels its package, or the product's signed ones, do not
        # verify for.
        if any("fileSig" in r for r in releases) and any(r.get("channel", "*") == "*" for r in releases):
            return {"code": CODE_BAD_CATALOGUE, "desc": 'catalogue: a signed product names its channels, not "*"'}
        # The entry for the query's own channel first, then one for every
        # channel. The query names an empty channel "NULL".
        channels = {params["channel"], ""} if params["channel"] == "NULL" else {params["channel"]}
        exact = [r for r in releases if r.get("channel", "*") in channels]
        any_channel = [r for r in releases if r.get("channel", "*") == "*"]
        for release in exact + any_channel:
            package = release["package"]
            host, port = self.server.server_address[:2]
            url = release.get("downloadUrl") or f"http://{host}:{port}/packages/{urllib.parse.quote(package)}"
            # The package is read only for what the entry does not announce:
            # hashing a large one would keep the answer waiting.
            if "fileMd5" in release:
                md5 = release["fileMd5"]
            else:
                md5 = hashlib.md5(self.read_package(package) or b"").hexdigest()
            size = release["fileSize"] if "fileSize" in release else len(self.read_package(package, True) or b"")
            offered = {
                "downloadUrl": url,
                "fileMd5": md5,
                "fileSize": size,
                "latestVersion": release.get("latestVersion", ""),
                "updateType": release.get("updateType", 1),
                "info": release.get("info", []),
            }
            if offered["fileMd5"] is None:
                del offered["fileMd5"]
            if "fileSig" in release:
                offered["fileSig"] = release["fileSig"]
            return {"code": CODE_OK, "desc": "update offered", "data": offered}
        return {"code": CODE_OK, "desc": "no update", "data": {"updateType": 0}}

    # --- sending, with the transfer faults ---------------------------------

    def send_body(self, status, content_type, body, head, faults, extra_headers=None):
        """Sends one answer with the transfer faults. A GET's body is followed by
        a log record {"path", "sent"} with the bytes that went out."""
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        for name, value in (extra_headers or {}).items():
            self.send_header(name, value)
        length = len(body)
        if "wrong-length" in faults:
            length = max(0, length + int(faults["wrong-length"]))
        if "length" in faults:
            length = int(faults["length"])
        if head and "head-length" in faults:
            length = max(0, length + int(faults["head-length"]))
        if "no-length" in faults:
            self.send_header("Connection", "close")
            self.close_connection = True
        else:
            self.send_header("Content-Length", str(length))
        self.end_headers()
        self.log_pending()
        if head:
            return
        self.written = 0
        record = {"time": time.time(), "path": self.path}
        try:
            record["sent"] = self.send_body_bytes(body, length, faults)
        except (BrokenPipeError, ConnectionResetError):
            record.update(sent=None, written=self.written)  # the client went away
            self.close_connection = True
        self.server.write_log(record)

    def send_body_bytes(self, body, length, faults):
        if "endless" in faults:
            self.close_connection = True
            while True:
                self.wfile.write(body)
        if "trickle" in faults:
            for i in range(len(body)):
                self.wfile.write(body[i : i + 1])
                self.wfile.flush()
                time.sleep(int(faults["trickle"]) / 1000)
            return len(body)
        for name in ("drop-after", "reset-after", "stall-after"):
            if name in faults:
                part = body[: int(faults[name])]
                self.wfile.write(part)
                self.wfile.flush()
                self.close_connection = True
                if name == "drop-after":
                    self.connection.shutdown(socket.SHUT_RDWR)
                elif name == "reset-after":
                    # Closing with a zero linger time sends RST instead of FIN.
                    self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                    self.connection.close()
                else:
                    time.sleep(self.server.args.stall_seconds)
                return len(part)
        lies = "wrong-length" in faults or "length" in faults
        if lies and length < len(body):
            body = body[:length]
        piece = 64 * 1024
        for at in range(0, len(body), piece):
            self.wfile.write(body[at : at + piece])
            self.written = min(len(body), at + piece)
        if lies and length > len(body):
            self.close_connection = True
        return len(body)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--port", type=int, default=0, help="port on 127.0.0.1 (0: a free one)")
    parser.add_argument("--catalogue", help="release catalogue (JSON)")
    parser.add_argument("--packages", help="folder of the package files")
    parser.add_argument("--log", help="file that receives each decoded request as a JSON line")
    parser.add_argument("--port-file", help="file to write the chosen port to once listening")
    parser.add_argument("--fault", help="fault for requests that name none, NAME[:ARG]")
    parser.add_argument("--stall-seconds", type=float, default=60.0)
    parser.add_argument("--max-skew", type=float, default=600.0, help="accepted distance of ts from now, seconds")
    parser.add_argument("--tls", nargs=2, action="append", metavar=("CERT", "KEY"),
                        help="a TLS identity the catalogue may name (repeatable)")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    if args.fault and args.fault.partition(":")[0] not in FAULTS:
        parser.error(f"unknown fault {args.fault}")

    server = Server(("127.0.0.1", args.port), args)
    port = server.server_address[1]
    if args.port_file:
        tmp = args.port_file + ".tmp"
        with open(tmp, "w") as f:
            f.write(f"{port}\n")
        os.replace(tmp, args.port_file)
    print(f"update-server listening on 127.0.0.1:{port}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
