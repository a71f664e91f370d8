#!/usr/bin/env bash
# Makes the standard picture set of the benchmark (idempotent): 40 JPEGs of
# 4000 x 3000 and 10 of 6000 x 4000 at quality 90, 10 PNGs of 3000 x 2000.
# The pictures are gradients with noise, so they compress like photographs.
set -euo pipefail
out=${1:-"$(dirname "$0")/../build/picture-set"}
mkdir -p "$out"
colors=("#203060" "#e0c080" "#406020" "#c04030" "#80a0e0" "#f0f0d0" "#302010" "#60c0a0")

make() {  # make <file> <width> <height> <seed>
    local file=$1 w=$2 h=$3 seed=$4
    [ -s "$file" ] && return 0
    local a=${colors[$((seed % 8))]} b=${colors[$(((seed * 3 + 1) % 8))]}
    convert -seed "$seed" -size "${w}x${h}" "gradient:$a-$b" -rotate $((seed * 37 % 360)) \
        -gravity center -extent "${w}x${h}" -attenuate 0.5 +noise Gaussian \
        -quality 90 "$file"
}

jobs=$(nproc)
i=0
for n in $(seq 1 40); do make "$out/photo-4000-$n.jpg" 4000 3000 "$n" & i=$((i + 1)); [ $((i % jobs)) -eq 0 ] && wait; done
for n in $(seq 1 10); do make "$out/photo-6000-$n.jpg" 6000 4000 "$((n + 40))" & i=$((i + 1)); [ $((i % jobs)) -eq 0 ] && wait; done
for n in $(seq 1 10); do make "$out/drawing-$n.png" 3000 2000 "$((n + 50))" & i=$((i + 1)); [ $((i % jobs)) -eq 0 ] && wait; done
wait

# A smooth 24-megapixel photograph (fractal clouds, blurred like a lens would)
# for the preview measurement. It compresses like a real photo, about 2.3 MB,
# where the noisy set above is 11 MB per picture; it is not part of the set.
mkdir -p "$out/preview"
[ -s "$out/preview/smooth-6000.jpg" ] ||
    convert -seed 7 -size 6000x4000 plasma:fractal -blur 0x3 -quality 90 "$out/preview/smooth-6000.jpg"
