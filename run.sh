#!/usr/bin/env bash
# Sets up, builds a release build and starts Lumetra.
#   ./run.sh [project.lmx]
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
for step in tools/setup.d/*.sh; do
    [ -e "$step" ] || continue
    bash "$step" >/dev/null
done
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" >/dev/null
exec build/release/bin/lumetra "$@"
