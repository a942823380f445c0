#!/usr/bin/env python3
"""A time-stamping server (RFC 3161 over HTTP) on a free local port, for the signing test:
openssl ts answers every request, signed with the certificate NAME.pem and its key NAME.key
of the current folder.

    timestamp_server.py NAME     prints the port, then serves until it is ended
"""
import http.server
import subprocess
import sys

name = sys.argv[1]
with open(name + ".cnf", "w") as config:
    config.write("[tsa]\ndefault_tsa = answer\n[answer]\nserial = %s.serial\n"
                 "signer_digest = sha256\ndigests = sha256\ndefault_policy = 1.2.3.4.1\n"
                 "ess_cert_id_alg = sha256\n" % name)
with open(name + ".serial", "w") as serial:
    serial.write("01\n")


class Answer(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", name + ".cnf", "-queryfile", "/dev/stdin",
             "-signer", name + ".pem", "-inkey", name + ".key", "-out", "/dev/stdout"],
            input=query, capture_output=True, check=True).stdout
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)

    def log_message(self, *_):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), Answer)
print(server.server_address[1], flush=True)
server.serve_forever()
