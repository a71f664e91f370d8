#!/usr/bin/env bash
# Sets up, builds and runs every test: the full build (g++), the core again
# under AddressSanitizer and UndefinedBehaviorSanitizer with the fuzzers
# (clang), a bounded fuzzing run, the source format check, and the Debian
# package made from the full build and checked without installing it.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
jobs=$(nproc)

quiet() {  # run a step, show its output only when it fails
    local log; log=$(mktemp)
    if ! "$@" >"$log" 2>&1; then cat "$log"; rm -f "$log"; echo "FAILED: $*" >&2; return 1; fi
    rm -f "$log"
}

tools/install-deps.sh
# Further set-up steps (for example the browser tests' npm packages).
for step in tools/setup.d/*.sh; do
    [ -e "$step" ] && quiet bash "$step"
done


# Formatting: clang-format's dry run on our own C++ sources.
mapfile -t sources < <(git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 2>/dev/null || true)
if [ ${#sources[@]} -gt 0 ]; then
    quiet clang-format --dry-run --Werror "${sources[@]}"
fi

quiet cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
quiet cmake --build build/test -j "$jobs"

quiet cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DLUMETRA_CORE_ONLY=ON -DLUMETRA_SANITIZE=ON -DLUMETRA_FUZZ=ON
quiet cmake --build build/sanitize -j "$jobs"

# Runs ctest in a build folder; prints its whole output on failure, else only
# the closing summary.
run_ctest() {
    local dir=$1; shift
    local log; log=$(mktemp)
    if (cd "$dir" && ctest -j "$jobs" --output-on-failure --no-tests=error "$@") >"$log" 2>&1; then
        sed -n '/tests passed/,$p' "$log"
        rm -f "$log"
    else
        cat "$log"; rm -f "$log"
        return 1
    fi
}

status=0
export QT_QPA_PLATFORM=offscreen
echo "== Tests"
run_ctest build/test || status=1
echo "== Debian package"
tools/check-package.sh build/test || status=1
echo "== Core tests and fuzzers under AddressSanitizer and UndefinedBehaviorSanitizer"
# No single allocation may exceed what a picture may decode to (1 GiB): a
# larger one is a size taken from a file without a check.
ASAN_OPTIONS=detect_leaks=1:max_allocation_size_mb=1100 UBSAN_OPTIONS=print_stacktrace=1 \
    run_ctest build/sanitize -L 'core|fuzz' || status=1
exit $status
