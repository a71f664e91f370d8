#!/usr/bin/env bash
# Sets up, builds a release build and starts Lumetra.
#   ./run.sh [project.lmx]
# The window needs a display (X11 or Wayland). Without one, run it under a
# virtual display: xvfb-run ./run.sh
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
for step in tools/setup.d/*.sh; do
    [ -e "$step" ] || continue
    bash "$step" >/dev/null
done
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release &&
       cmake --build build/release -j "$(nproc)"; } >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: start Lumetra from a desktop session, or try: xvfb-run ./run.sh" >&2
    exit 1
fi
# The web views' sandbox refuses to run as root.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
exec build/release/bin/lumetra "$@"
