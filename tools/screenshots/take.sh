#!/usr/bin/env bash
# Takes the README's screenshots of a page of the window in German and English
# under a virtual display: docs/screenshots/<page>-page-{de,en}.png; the
# completion dialog as completion-dialog-{de,en}.png, and the please-wait
# window while pictures are added as please-wait-en.png (English only).
#   tools/screenshots/take.sh [BUILD_DIR] [image|settings|create|dialog|waiting]
#   (default: build/release image)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
page=${2:-image}
cmake --build "$build" --target lumetra-screenshots >/dev/null
tools/make-example-pictures examples/pictures >/dev/null
mkdir -p docs/screenshots
# Chromium refuses to run as root with its sandbox.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
languages="Deutsch:de English:en"
name="${page}-page"
case "$page" in
    dialog) name=completion-dialog ;;
    waiting) name=please-wait languages=English:en ;;
esac
for lang in $languages; do
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/bin/lumetra-screenshots" \
        examples/pictures "docs/screenshots/${name}-${lang#*:}.png" "${lang%%:*}" "$page"
done
