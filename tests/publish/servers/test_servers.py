#!/usr/bin/python3
# Test servers for the publishing tests, all on 127.0.0.1 with ports chosen by
# the system: an FTP server (pyftpdlib, plain or with TLS) on a folder, a web
# server on the same folder, and an HTTP proxy that names itself. When they
# listen, their ports are written as JSON to the --ready file. SIGTERM ends
# them; the tests also kill them hard to drop a connection.
import argparse
import http.server
import json
import os
import signal
import sys
import threading
import ssl
import urllib.parse

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--ready", required=True)
parser.add_argument("--user", default="lumetra")
parser.add_argument("--password", default="secret")
parser.add_argument("--ftp", action="store_true")
parser.add_argument("--tls", help="PEM file with certificate and key")
parser.add_argument("--no-mlst", action="store_true")
parser.add_argument("--deny-enter", action="append", default=[])
parser.add_argument("--deny-create", action="append", default=[])
parser.add_argument("--perm", default="elradfmwMT", help="the user's rights (pyftpdlib letters)")
parser.add_argument("--throttle", type=int, default=0, help="upload bytes per second")
parser.add_argument("--idle-timeout", type=int, default=0)
parser.add_argument("--log", help="file that gets every command received")
parser.add_argument("--size-junk", action="store_true")
parser.add_argument("--long-messages", action="store_true")
parser.add_argument("--http", action="store_true")
parser.add_argument("--http-status", action="append", default=[], help="PATH=CODE")
parser.add_argument("--http-always-200", action="store_true")
parser.add_argument("--http-hide", action="append", default=[], help="path suffix answered 404")
parser.add_argument("--http-redirect", action="append", default=[], help="PATH=ADDRESS")
parser.add_argument("--https", help="PEM file: a second web server on the folder, with TLS")
parser.add_argument("--http-to-https", action="store_true",
                    help="the plain web server sends every request on to the TLS one")
parser.add_argument("--proxy", action="store_true")
args = parser.parse_args()

ports = {}
root = os.path.realpath(args.root)


def start_ftp():
    from pyftpdlib import handlers
    from pyftpdlib.authorizers import DummyAuthorizer
    from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
    from pyftpdlib.servers import FTPServer

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, root, perm=args.perm)
    for folder in args.deny_enter:
        authorizer.override_perm(args.user, os.path.join(root, folder.strip("/")), "lr")
    for folder in args.deny_create:
        authorizer.override_perm(args.user, os.path.join(root, folder.strip("/")), "elr")

    base = FTPHandler
    if args.tls:
        from pyftpdlib.handlers import TLS_FTPHandler
        base = TLS_FTPHandler

    class Handler(base):
        def pre_process_command(self, line, cmd, arg):
            if args.log:
                with open(args.log, "a") as log:
                    log.write(line.split(" ")[0] + ("" if cmd == "PASS" else line[len(cmd):]) + "\n")
            return super().pre_process_command(line, cmd, arg)

        def ftp_SIZE(self, path):
            if args.size_junk:
                self.respond("213 about a megabyte")
                return
            return super().ftp_SIZE(path)

    Handler.authorizer = authorizer
    Handler.auth_failed_timeout = 0.1  # a wrong password answers at once
    if args.tls:
        from OpenSSL import SSL
        context = SSL.Context(SSL.TLS_SERVER_METHOD)
        context.use_certificate_chain_file(args.tls)
        context.use_privatekey_file(args.tls)
        # Data connections resume the control connection's session, which
        # OpenSSL allows only with a session id context.
        context.set_session_id(b"lumetra-test")
        Handler.ssl_context = context

        # pyftpdlib drops a data connection that is readable before the
        # transfer command, which the client's early TLS handshake makes it.
        class SecureData(handlers.TLS_DTPHandler):
            def readable(self):
                if self._ssl_accepting or self._ssl_want_read:
                    return True
                return super().readable()
        Handler.dtp_handler = SecureData
    if args.no_mlst:
        Handler.proto_cmds = {k: v for k, v in base.proto_cmds.items() if k not in ("MLSD", "MLST")}
    if args.idle_timeout:
        Handler.timeout = args.idle_timeout
    if args.long_messages:
        Handler.banner = "Welcome to the test server of the publishing tests. " * 3
        Handler.msg_login = "You are logged in to the test server of the publishing tests. " * 3
    if args.throttle:
        class Throttled(ThrottledDTPHandler):
            read_limit = args.throttle
        Handler.dtp_handler = Throttled
    server = FTPServer(("127.0.0.1", 0), Handler)
    ports["ftp"] = server.socket.getsockname()[1]
    return server


class WebHandler(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *a, **kw):
        super().__init__(*a, directory=root, **kw)

    def log_message(self, *a):
        pass

    def override(self):
        path = urllib.parse.urlsplit(self.path).path
        if args.http_to_https and not isinstance(self.connection, ssl.SSLSocket):
            self.send_response(301)
            self.send_header("Location", "https://127.0.0.1:%d%s" % (ports["https"], self.path))
            self.send_header("Content-Length", "0")
            self.end_headers()
            return True
        for rule in args.http_redirect:
            where, target = rule.split("=", 1)
            if path == where:
                self.send_response(302)
                self.send_header("Location", target)
                self.send_header("Content-Length", "0")
                self.end_headers()
                return True
        for rule in args.http_status:
            where, code = rule.split("=", 1)
            if path == where:
                body = b"<html>status</html>"
                self.send_response(int(code))
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                if self.command == "GET":
                    self.wfile.write(body)
                return True
        if any(path.endswith(s) for s in args.http_hide):
            self.send_error(404)
            return True
        if args.http_always_200:
            body = b"<html><body>This page does not exist.</body></html>"
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            if self.command == "GET":
                self.wfile.write(body)
            return True
        return False

    def do_GET(self):
        if not self.override():
            super().do_GET()

    def do_HEAD(self):
        if not self.override():
            super().do_HEAD()


class ProxyHandler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *a):
        pass

    def do_GET(self):
        body = ("proxied %s %s" % (self.path, self.headers.get("Proxy-Authorization", "-"))).encode()
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def serve(server):
    threading.Thread(target=server.serve_forever, daemon=True).start()


signal.signal(signal.SIGTERM, lambda *a: os._exit(0))
ftp = start_ftp() if args.ftp else None
if args.http:
    web = http.server.ThreadingHTTPServer(("127.0.0.1", 0), WebHandler)
    ports["http"] = web.server_address[1]
    serve(web)
if args.https:
    secure = http.server.ThreadingHTTPServer(("127.0.0.1", 0), WebHandler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.https)
    secure.socket = context.wrap_socket(secure.socket, server_side=True)
    ports["https"] = secure.server_address[1]
    serve(secure)
if args.proxy:
    proxy = http.server.ThreadingHTTPServer(("127.0.0.1", 0), ProxyHandler)
    ports["proxy"] = proxy.server_address[1]
    serve(proxy)
with open(args.ready + ".part", "w") as ready:
    json.dump(ports, ready)
os.rename(args.ready + ".part", args.ready)
if ftp:
    ftp.serve_forever(handle_exit=False)
else:
    threading.Event().wait()
