#!/usr/bin/env python3
"""An https server on 127.0.0.1 whose certificate nobody trusts, for the
Windows-side tests of the number file: a certificate error must fail the
download. ctest starts it before those tests and stops it after them.

  self_signed_https_server.py start DIR   makes a self-signed certificate in
      DIR, serves in the background and writes DIR/port; returns once the
      server listens.
  self_signed_https_server.py stop DIR    ends the server started for DIR.

Every path answers "5559876" and a line break: a number the tests never
store, so a download that wrongly trusted the server shows at once. DIR/served
counts the requests answered (none, while certificates are checked).
"""
import http.server
import os
import signal
import ssl
import subprocess
import sys

NUMBER_FILE = b"5559876\r\n"


class NumberFileHandler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(NUMBER_FILE)))
        self.end_headers()
        self.wfile.write(NUMBER_FILE)
        served = os.path.join(self.server.folder, "served")
        with open(served, "a") as counter:
            counter.write("1")

    def log_message(self, *args):
        pass


def make_certificate(folder):
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
         "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
         "-keyout", os.path.join(folder, "key.pem"), "-out", os.path.join(folder, "cert.pem")],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def start(folder):
    os.makedirs(folder, exist_ok=True)
    for name in ("port", "pid", "served"):
        if os.path.exists(os.path.join(folder, name)):
            os.remove(os.path.join(folder, name))
    make_certificate(folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), NumberFileHandler)
    server.folder = folder
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem"))
    server.socket = context.wrap_socket(server.socket, server_side=True)
    ready_read, ready_write = os.pipe()
    if os.fork() != 0:
        # The parent returns to ctest once the child has written the port.
        os.close(ready_write)
        os.read(ready_read, 1)
        return
    os.setsid()
    os.close(ready_read)
    with open(os.path.join(folder, "pid"), "w") as pid:
        pid.write(str(os.getpid()))
    with open(os.path.join(folder, "port"), "w") as port:
        port.write(str(server.server_address[1]))
    devnull = os.open(os.devnull, os.O_RDWR)
    for stream in (0, 1, 2):
        os.dup2(devnull, stream)
    os.write(ready_write, b"1")
    os.close(ready_write)
    server.serve_forever()


def stop(folder):
    try:
        with open(os.path.join(folder, "pid")) as pid:
            os.kill(int(pid.read()), signal.SIGTERM)
    except (FileNotFoundError, ProcessLookupError, ValueError):
        pass


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "stop"):
        sys.exit(__doc__)
    (start if sys.argv[1] == "start" else stop)(sys.argv[2])
