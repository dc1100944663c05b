#!/usr/bin/env python3
"""A local HTTPS server for the update tests, on 127.0.0.1 only.

Usage: server.py FOLDER. Makes a throw-away certificate authority in FOLDER
(ca.pem, which the tests trust), a certificate for 127.0.0.1 and one for
another host, serves with each on a port of its own, prints the two ports
on one line and serves until it is killed.
"""
import http.server
import os
import ssl
import subprocess
import sys
import threading
import time

folder = sys.argv[1]


def openssl(*args):
    subprocess.run(["openssl", *args], cwd=folder, check=True, capture_output=True)


def certificate(name, subject, alt):
    key = ["-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"]
    openssl("req", *key, "-keyout", name + ".key", "-out", name + ".csr", "-subj", subject)
    with open(os.path.join(folder, name + ".ext"), "w") as ext:
        ext.write("subjectAltName=" + alt + "\nbasicConstraints=CA:FALSE\n")
    openssl("x509", "-req", "-in", name + ".csr", "-CA", "ca.pem", "-CAkey", "ca.key",
            "-CAcreateserial", "-out", name + ".pem", "-days", "2", "-extfile", name + ".ext")


openssl("req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
        "-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj", "/CN=Velmorand test CA",
        "-addext", "basicConstraints=critical,CA:TRUE", "-addext", "keyUsage=keyCertSign,cRLSign")
certificate("host", "/CN=127.0.0.1", "IP:127.0.0.1,DNS:localhost")
certificate("other", "/CN=other.example", "DNS:other.example")

PROGRAM = b"#!/bin/sh\necho 'the new version'\n" + b"#" * 200000 + b"\n"


def version(first, url, name):
    return (first + "\r\n" + url + "\r\n" + name + "\r\n").encode()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def send(self, body, status=200, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        here = "https://127.0.0.1:%d" % self.server.server_address[1]
        program = here + "/program"
        path = self.path
        if path == "/same":
            self.send(version("2.1", program, "velmorand-2.2"))
        elif path == "/newer":
            self.send(version("2.2", program, "velmorand-2.2"))
        elif path == "/older":
            self.send(version("2.0", program, "velmorand-2.0"))
        elif path == "/empty":
            self.send(b"")
        elif path == "/binary":
            self.send(bytes(range(256)) * 16)
        elif path == "/big":
            self.send(b"2.2\r\n" + b"x" * (10 << 20))
        elif path == "/70k":
            # A usable version file, but over the size a version file has,
            # sent in one piece.
            self.send(version("2.2", program, "velmorand-2.2") + b" " * 70000)
        elif path == "/trickle":
            # A byte every half second: never idle long, never done.
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            try:
                for _ in range(1000):
                    self.wfile.write(b"2")
                    self.wfile.flush()
                    time.sleep(0.5)
            except OSError:
                pass
        elif path == "/twolines":
            self.send(b"2.2\r\n" + program.encode() + b"\r\n")
        elif path == "/notaversion":
            self.send(version("<html>", program, "velmorand-2.2"))
        elif path == "/hostile":
            self.send(version("2.2", program, "../velmorand-2.2"))
        elif path == "/insecure":
            self.send(version("2.2", program.replace("https:", "http:"), "velmorand-2.2"))
        elif path == "/broken":
            self.send(version("2.2", here + "/cut", "velmorand-2.2"))
        elif path == "/redirect":
            self.send(b"", 302, [("Location", here.replace("https:", "http:") + "/newer")])
        elif path == "/hang":
            time.sleep(300)
        elif path == "/program":
            self.send(PROGRAM)
        elif path == "/cut":
            # Promises more than it sends, then hangs up.
            self.send_response(200)
            self.send_header("Content-Length", str(len(PROGRAM) * 2))
            self.end_headers()
            self.wfile.write(PROGRAM)
            self.wfile.flush()
            self.close_connection = True
        else:
            self.send(b"not here", 404)


def serve(name):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(folder, name + ".pem"), os.path.join(folder, name + ".key"))
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


ports = [serve("host"), serve("other")]
print(*ports, flush=True)
while True:
    time.sleep(3600)
