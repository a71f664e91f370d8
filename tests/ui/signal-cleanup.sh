#!/usr/bin/env bash
# lumetra stopped by a termination signal removes its temporary folder and
# ends with 128 + the signal's number.
set -euo pipefail
bin=$1
run=$(mktemp -d)
trap 'rm -rf "$run"' EXIT
chmod 700 "$run"
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
mkdir -p "$run/config/Tesmor/Lumetra"
printf '[Main]\nLanguage=English\nFlashWarning=1\n' >"$run/config/Tesmor/Lumetra/Settings.ini"
for signal in TERM INT HUP; do
    XDG_RUNTIME_DIR=$run XDG_CONFIG_HOME=$run/config QT_QPA_PLATFORM=offscreen "$bin" &
    pid=$!
    for _ in $(seq 100); do [ -e "$run/LMT3TMP/$pid/preview.xml" ] && break; sleep 0.1; done
    [ -e "$run/LMT3TMP/$pid/preview.xml" ] || { echo "no demonstration files"; kill -9 $pid; exit 1; }
    kill -s $signal $pid
    status=0
    wait $pid || status=$?
    expected=$((128 + $(kill -l $signal)))
    [ $status -eq $expected ] || { echo "SIG$signal: exit $status, not $expected"; exit 1; }
    [ ! -e "$run/LMT3TMP/$pid" ] || { echo "SIG$signal: $run/LMT3TMP/$pid left"; exit 1; }
done
echo "1 passed, 0 failed"
