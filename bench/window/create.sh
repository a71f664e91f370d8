#!/usr/bin/env bash
# Opening the create page for 50 photographic 12-megapixel JPEGs (fitting
# 1024 x 768) under a virtual display, against lumetra-make on the same
# project in the same run: time until the preview's first picture is on the
# screen, until the last picture is ready, and the window's paints meanwhile.
# Usage: bench/window/create.sh [ROUNDS]   (needs the tools in bench/packages.txt)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-"$root/build/release"}
set_dir="$root/build/picture-set"
work="$root/build/create-set"

# An existing build (BUILD=build/test) is used as it is configured.
[ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target lumetra lumetra-make create_bench copy_data copy_lng >/dev/null
"$root/bench/make-set.sh" "$set_dir"
rm -rf "$work"
mkdir -p "$work/pictures"
# 50 pictures: the set's 40 and ten of them once more under other names.
for n in $(seq 1 40); do ln "$set_dir/photo-4000-$n.jpg" "$work/pictures/a$n.jpg"; done
for n in $(seq 1 10); do ln "$set_dir/photo-4000-$n.jpg" "$work/pictures/b$n.jpg"; done

# Chromium refuses to run as root with its sandbox.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export XDG_CONFIG_HOME="$work/config"
xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bin/create_bench" "$work/pictures" "$work" "${1:-2}"
