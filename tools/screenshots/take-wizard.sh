#!/usr/bin/env bash
# Takes the README's screenshots of the publishing wizard while it publishes
# the example show to the local test servers (pyftpdlib and Python's web
# server on 127.0.0.1, a slowed-down upload so the transfer page can be
# caught): docs/screenshots/wizard-*.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
cmake --build "$build" --target lumetra-wizard-screenshots >/dev/null
tools/make-example-pictures examples/pictures >/dev/null
work=$(mktemp -d)
server=
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/ftp/photos/2023" "$work/ftp/photos/2024" "$work/ftp/photos/summer"
/usr/bin/python3 tests/publish/servers/test_servers.py --root "$work/ftp" --ftp --http \
    --throttle 150000 --ready "$work/ready.json" >"$work/servers.log" 2>&1 &
server=$!
for _ in $(seq 100); do [ -s "$work/ready.json" ] && break; sleep 0.1; done
port() { /usr/bin/python3 -c "import json,sys; print(json.load(open(sys.argv[1]))[sys.argv[2]])" "$work/ready.json" "$1"; }
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen "$build/bin/lumetra-wizard-screenshots" examples/pictures \
    docs/screenshots English "$(port ftp)" "$(port http)"
