#!/usr/bin/env bash
# Sets up, builds a release build and starts Lumetra.
#   ./run.sh [project.lmx]
# Until the main window exists, this runs the start-up on the console (it
# prints the settings file, language and project it found) and then builds a
# show with lumetra-make: from the project when one is given, else from the
# example pictures in examples/pictures. It prints where the show page is.
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
bin=build/release/bin

"$bin/lumetra" "$@"

if [ $# -ge 1 ] && [ -n "$1" ]; then
    source=$1
    page=examples/show/$(basename "${1%.*}").html
else
    tools/make-example-pictures examples/pictures >/dev/null
    source=examples/pictures
    page=examples/show/example.html
fi
echo
echo "Building a show from $source ..."
"$bin/lumetra-make" --seed 1 --output "$page" "$source"
