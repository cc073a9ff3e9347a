#!/usr/bin/env python3
"""An RFC 3161 time-stamping authority over HTTP on 127.0.0.1, for the signing check: each
request posted to it is answered by `openssl ts -reply` with the configuration given. Prints
"port N" once it listens; ends after SECONDS.
    tests/windows/timestamp-authority.py CONFIG SECONDS"""
import subprocess
import sys
import time
from http.server import BaseHTTPRequestHandler, HTTPServer


class Authority(BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", sys.argv[1], "-queryfile", "/dev/stdin",
             "-out", "/dev/stdout"], input=query, capture_output=True)
        if reply.returncode != 0:
            sys.stderr.write(reply.stderr.decode())
            self.send_error(500)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)


server = HTTPServer(("127.0.0.1", 0), Authority)
server.timeout = 1
print(f"port {server.server_port}", flush=True)
end = time.monotonic() + float(sys.argv[2])
while time.monotonic() < end:
    server.handle_request()
