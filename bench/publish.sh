#!/usr/bin/env bash
# Publishing benchmark: a 50-picture show (about 15 MB) sent to pyftpdlib on
# loopback by lumetra-make --publish, next to lftp's "mirror -R" of the same
# folder in the same run; a synchronised second publication; and the
# commands the server received per file, from its own log.
# Usage: bench/publish.sh [work-folder]   (packages: tools/packages/publish.txt)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:-"$root/build/publish-bench-work"}
build="$root/build/publish-bench"
runs=${BENCH_RUNS:-5}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMETRA_CORE_ONLY=ON >/dev/null
cmake --build "$build" --target lumetra-make >/dev/null
make="$build/bin/lumetra-make"

rm -rf "$work"
mkdir -p "$work/pics" "$work/ftp" "$work/home"
/usr/bin/python3 - "$work/pics" <<'PY'
import sys
from PIL import Image
for i in range(50):
    noise = Image.effect_noise((600, 450), 40 + i % 7).convert("RGB")
    gradient = Image.linear_gradient("L").rotate(i * 7).resize((600, 450)).convert("RGB")
    Image.blend(noise, gradient, 0.5).save("%s/p%02d.jpg" % (sys.argv[1], i), quality=90)
PY
export HOME="$work/home" LUMETRA_FTP_PASSWORD=secret
"$make" --seed 1 --output "$work/show/Bench.html" "$work/pics" >/dev/null 2>&1
page="$work/show/Bench.html"
files=$(find "$work/show" -type f | wc -l)
bytes=$(du -sb "$work/show" | cut -f1)
echo "show: $files files, $((bytes / 1024)) KB"

/usr/bin/python3 "$root/tests/publish/servers/test_servers.py" --root "$work/ftp" \
    --ready "$work/ready.json" --ftp --log "$work/commands.log" >"$work/server.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null || true' EXIT
for _ in $(seq 200); do [ -e "$work/ready.json" ] && break; sleep 0.05; done
port=$(/usr/bin/python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["ftp"])' "$work/ready.json")
address="ftp://lumetra@127.0.0.1:$port"

echo "== first publication: lumetra-make (A) against lftp mirror -R (B), $runs pairs"
farm-bench -n "$runs" --timeout 600 \
    --vs "sh -c 'rm -rf $work/ftp/b && lftp -p $port -u lumetra,secret -e \"mirror -R $work/show /b; quit\" 127.0.0.1 >/dev/null 2>&1'" \
    -- sh -c "rm -rf $work/ftp/a && '$make' --publish $address/a '$page' >/dev/null 2>&1"

echo "== second publication, everything held (synchronised)"
farm-bench -n "$runs" --timeout 300 -- sh -c "'$make' --publish $address/a '$page' >/dev/null 2>&1"

# Commands per file, from the server's log of one run of each kind.
count() {  # count <label>
    local other data
    data=$(grep -cE '^(STOR|EPSV|PASV|TYPE)' "$work/commands.log" || true)
    other=$(grep -cvE '^(STOR|EPSV|PASV|TYPE)' "$work/commands.log" || true)
    printf '%s: %d commands besides STOR/EPSV/PASV/TYPE for %d files (%.2f per file), %d STOR\n' \
        "$1" "$other" "$files" "$(echo "$other / $files" | bc -l)" \
        "$(grep -c '^STOR' "$work/commands.log" || true)"
    grep -vE '^(STOR|EPSV|PASV|TYPE)' "$work/commands.log" | cut -d' ' -f1 | sort | uniq -c |
        sort -rn | awk '{printf "   %s %d", $2, $1} END {print ""}'
}
rm -rf "$work/ftp/c"
: >"$work/commands.log"
"$make" --publish "$address/c" "$page" >/dev/null 2>&1
count "first publication"
: >"$work/commands.log"
"$make" --publish "$address/c" "$page" >/dev/null 2>&1
count "second publication"
