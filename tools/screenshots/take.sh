#!/usr/bin/env bash
# Takes the README's screenshots of a page of the window in German and English
# under a virtual display: docs/screenshots/<page>-page-{de,en}.png.
#   tools/screenshots/take.sh [BUILD_DIR] [image|settings|create]   (default: build/release image)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
page=${2:-image}
cmake --build "$build" --target lumetra-screenshots >/dev/null
tools/make-example-pictures examples/pictures >/dev/null
mkdir -p docs/screenshots
# Chromium refuses to run as root with its sandbox.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
for lang in Deutsch:de English:en; do
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/bin/lumetra-screenshots" \
        examples/pictures "docs/screenshots/${page}-page-${lang#*:}.png" "${lang%%:*}" "$page"
done
