#!/usr/bin/python3
# Test servers for the update check, on 127.0.0.1 with ports chosen by the
# system: a web server on a folder with a few odd addresses besides, and an
# HTTP proxy that answers every request itself with a version file naming
# what it was asked. When both listen, their ports are written as JSON to the
# --ready file. SIGTERM ends them.
import argparse
import http.server
import json
import os
import signal
import threading
import time
import urllib.parse

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--ready", required=True)
args = parser.parse_args()

root = os.path.realpath(args.root)


class WebHandler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *a, **kw):
        super().__init__(*a, directory=root, **kw)

    def log_message(self, *a):
        pass

    def answer(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        if path.startswith("/status/"):
            self.answer(int(path[len("/status/"):]), b"<html>status</html>")
        elif path == "/loop":
            self.answer(302, headers=[("Location", "/loop")])
        elif path == "/headers":
            lines = ["9.0", "User-Agent: " + self.headers.get("User-Agent", "-"),
                     "Accept: " + self.headers.get("Accept", "-")]
            self.answer(200, "\r\n".join(lines).encode())
        elif path == "/set-cookie":
            self.answer(302, headers=[("Set-Cookie", "visit=1; Path=/"),
                                      ("Location", "/needs-cookie")])
        elif path == "/needs-cookie":
            if "visit=1" in self.headers.get("Cookie", ""):
                self.answer(200, b"2.2\n")
            else:
                self.answer(403, b"no cookie")
        elif path == "/slow":
            time.sleep(0.3)
            self.answer(200, b"2.2\n")
        elif path == "/silent":
            time.sleep(60)
        elif path == "/huge":
            # 100 MB announced and sent until the client hangs up.
            total = 100 * 1024 * 1024
            chunk = b"9" * 65536
            self.send_response(200)
            self.send_header("Content-Length", str(total))
            self.end_headers()
            try:
                for _ in range(total // len(chunk)):
                    self.wfile.write(chunk)
            except OSError:
                pass
        else:
            super().do_GET()


class ProxyHandler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *a):
        pass

    def do_GET(self):
        if "/refuse" in self.path:
            body = b"refused"
            self.send_response(403)
        else:
            lines = ["7.7", self.path, self.headers.get("Proxy-Authorization", "-")]
            body = "\n".join(lines).encode()
            self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def serve(server):
    server.daemon_threads = True
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


signal.signal(signal.SIGTERM, lambda *a: os._exit(0))
ports = {
    "http": serve(http.server.ThreadingHTTPServer(("127.0.0.1", 0), WebHandler)),
    "proxy": serve(http.server.ThreadingHTTPServer(("127.0.0.1", 0), ProxyHandler)),
}
with open(args.ready + ".part", "w") as ready:
    json.dump(ports, ready)
os.rename(args.ready + ".part", args.ready)
threading.Event().wait()
