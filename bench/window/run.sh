#!/usr/bin/env bash
# The window's benchmarks under a virtual display (Xvfb):
# - start-up: process start to the main window's first paint, 5 runs each of
#   lumetra and of an empty QWidget program built with the same Qt, interleaved;
# - adding a folder of 200 photographic 12-megapixel JPEGs, until the list is
#   complete and the last row previewed, with the process's RSS afterwards;
# - preview: selecting one 24-megapixel photograph (median of 15), and the
#   arrow key held through 100 of them (time from release to the last picture).
# Usage: bench/window/run.sh   (needs the tools in bench/packages.txt)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD:-"$root/build/release"}
set_dir="$root/build/picture-set"
work="$root/build/window-set"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target lumetra window_bench empty_window copy_data copy_lng >/dev/null
"$root/bench/make-set.sh" "$set_dir"
rm -rf "$work"
mkdir -p "$work/add200" "$work/preview100"
for copy in 1 2 3 4 5; do
    for n in $(seq 1 40); do ln "$set_dir/photo-4000-$n.jpg" "$work/add200/$copy-$n.jpg"; done
done
for n in $(seq -w 1 100); do ln "$set_dir/preview/smooth-6000.jpg" "$work/preview100/$n.jpg"; done

# Chromium refuses to run as root with its sandbox.
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
export XDG_CONFIG_HOME="$work/config" BUILD_BIN="$build/bin" WORK="$work"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
first_paint() {  # seconds from process start to the first paint
    local start end
    start=$(date +%s.%N)
    end=$(LUMETRA_REPORT_FIRST_PAINT=exit "$@" 2>&1 >/dev/null | sed -n "s/^first-paint //p" | head -1)
    echo "$end - $start" | bc
}
median() { sort -n | awk "{v[NR]=\$1} END {print v[int((NR+1)/2)]}"; }
: >"$WORK/lumetra.t"; : >"$WORK/empty.t"
first_paint "$BUILD_BIN/lumetra" >/dev/null  # warm the file cache
for i in 1 2 3 4 5; do
    first_paint "$BUILD_BIN/empty_window" >>"$WORK/empty.t"
    first_paint "$BUILD_BIN/lumetra" >>"$WORK/lumetra.t"
done
l=$(median <"$WORK/lumetra.t"); e=$(median <"$WORK/empty.t")
printf "start-up to first paint: lumetra %.3f s, empty QWidget %.3f s (median of 5), ratio %.2f\n" \
    "$l" "$e" "$(echo "$l / $e" | bc -l)"
"$BUILD_BIN/window_bench" add "$WORK/add200"
"$BUILD_BIN/window_bench" preview "$WORK/preview100" 15
"$BUILD_BIN/window_bench" hold "$WORK/preview100"
'
