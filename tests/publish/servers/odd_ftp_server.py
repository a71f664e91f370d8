#!/usr/bin/python3
# A small FTP server that answers the way real servers sometimes do: a
# command that never gets an answer, a listing of garbage, replies spread
# over many lines. Port as JSON in the --ready file; SIGTERM ends it.
import argparse
import json
import os
import signal
import socket
import threading

parser = argparse.ArgumentParser()
parser.add_argument("--ready", required=True)
parser.add_argument("--stall", default="", help="command that is never answered")
parser.add_argument("--listing", help="file whose bytes are every listing")
parser.add_argument("--mlst", action="store_true")
args = parser.parse_args()


def session(conn):
    out = conn.makefile("wb", buffering=0)
    inp = conn.makefile("rb")
    data = None

    def say(text):
        out.write(text.encode() + b"\r\n")

    say("220-Odd test server\r\n220-second line\r\n220 ready")
    for raw in inp:
        line = raw.decode("utf-8", "replace").rstrip("\r\n")
        cmd, _, arg = line.partition(" ")
        cmd = cmd.upper()
        if args.stall and cmd == args.stall:
            threading.Event().wait()
        if cmd == "USER":
            say("331 password please")
        elif cmd == "PASS":
            say("230-Logged in.\r\n230-Nothing here is real.\r\n230 OK")
        elif cmd == "PWD":
            say('257 "/" is here')
        elif cmd == "FEAT":
            say("211-Features:\r\n EPSV\r\n SIZE\r\n" + (" MLST type*;\r\n" if args.mlst else "") + "211 End")
        elif cmd in ("CWD", "TYPE"):
            say("250 OK" if cmd == "CWD" else "200 OK")
        elif cmd == "EPSV":
            data = socket.socket()
            data.bind(("127.0.0.1", 0))
            data.listen(1)
            say("229 Entering Extended Passive Mode (|||%d|)" % data.getsockname()[1])
        elif cmd in ("LIST", "MLSD") and data:
            say("150 Here it comes")
            peer, _ = data.accept()
            with open(args.listing, "rb") as f:
                peer.sendall(f.read())
            peer.close()
            data.close()
            data = None
            say("226 Done")
        elif cmd == "SIZE":
            say("550 No such file")
        elif cmd == "QUIT":
            say("221 Bye")
            break
        else:
            say("502 Not here")
    conn.close()


signal.signal(signal.SIGTERM, lambda *a: os._exit(0))
server = socket.socket()
server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
server.bind(("127.0.0.1", 0))
server.listen(5)
with open(args.ready + ".part", "w") as ready:
    json.dump({"ftp": server.getsockname()[1]}, ready)
os.rename(args.ready + ".part", args.ready)
while True:
    conn, _ = server.accept()
    threading.Thread(target=session, args=(conn,), daemon=True).start()
