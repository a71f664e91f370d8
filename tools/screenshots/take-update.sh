#!/usr/bin/env bash
# Takes the README's screenshots of the update window after a check that
# found a new version, in German and English: docs/screenshots/update-{de,en}.png.
# The version file comes from the update tests' server on 127.0.0.1.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
cmake --build "$build" --target lumetra-update-screenshot >/dev/null
work=$(mktemp -d)
server=
cleanup() {
    [ -n "$server" ] && kill "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
printf '3.4\r\n' >"$work/version.dat"
/usr/bin/python3 tests/update/servers/version_server.py --root "$work" --ready "$work/ready" &
server=$!
for _ in $(seq 100); do
    [ -f "$work/ready" ] && break
    sleep 0.1
done
port=$(/usr/bin/python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["http"])' "$work/ready")
export LUMETRA_UPDATE_URL="http://127.0.0.1:$port/version.dat"
mkdir -p docs/screenshots
for lang in Deutsch:de English:en; do
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/bin/lumetra-update-screenshot" \
        "docs/screenshots/update-${lang#*:}.png" "${lang%%:*}"
done
