#!/usr/bin/env bash
# Takes the README's screenshots of the image and create pages in German and
# English under a virtual display: docs/screenshots/{image,create}-page-{de,en}.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
cmake --build "$build" --target lumetra-screenshots >/dev/null
tools/make-example-pictures examples/pictures >/dev/null
mkdir -p docs/screenshots
# Chromium refuses to run as root with its sandbox.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
for lang in Deutsch:de English:en; do
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/bin/lumetra-screenshots" \
        examples/pictures "docs/screenshots/image-page-${lang#*:}.png" "${lang%%:*}"
    xvfb-run -a -s "-screen 0 1024x768x24" "$build/bin/lumetra-screenshots" \
        examples/pictures "docs/screenshots/create-page-${lang#*:}.png" "${lang%%:*}" create
done
