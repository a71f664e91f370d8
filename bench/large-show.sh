#!/usr/bin/env bash
# Times lumetra-make on a show of many slides that all show one 64 x 48
# picture (default 10,000): naming, converting, copying and describing must
# grow linearly with the number of slides. Builds its own release tree.
#
#   bench/large-show.sh [slides]
set -euo pipefail
cd "$(dirname "$0")/.."
slides=${1:-10000}
build=build/bench-large
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target lumetra-make large_show_project >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/large_show_project" "$work" "$slides"
for run in 1 2 3; do
    rm -rf "$work/out"
    /usr/bin/time -f "run $run: %e s wall, %U s user, %S s system, %M KB peak" \
        "$build/bin/lumetra-make" "$work/show.lmx" >/dev/null 2>"$work/err" || { cat "$work/err"; exit 1; }
    tail -1 "$work/err"
done
