#!/usr/bin/env bash
# Picture pipeline benchmark. Makes the standard set if needed, builds the
# benchmark program, then measures on 1 core and on all cores: our conversion
# to fit 1024 x 768, libjpeg-turbo's pure decode (djpeg), ImageMagick and
# vipsthumbnail on the same files, plus size reading and preview decoding.
# Usage: bench/run.sh [set-folder]   (needs the tools in bench/packages.txt)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
set_dir=${1:-"$root/build/picture-set"}
build="$root/build/picture-bench"

missing=()
for p in $(sed 's/#.*//' "$root/bench/packages.txt"); do
    dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -q '^installed$' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Install first: apt-get install ${missing[*]}" >&2
    exit 1
fi

"$root/bench/make-set.sh" "$set_dir"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMETRA_CORE_ONLY=ON >/dev/null
cmake --build "$build" --target picture_bench >/dev/null
bench="$build/bin/picture_bench"
jpegs=("$set_dir"/*.jpg)
all=("$set_dir"/*.jpg "$set_dir"/*.png)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/jpegs" "$work/vips"
ln -s "${jpegs[@]}" "$work/jpegs/"

printf '%s\n' "${jpegs[@]}" >"$work/list"

# median wall-clock seconds of $runs runs of a command and its peak memory
# (largest process) in MB
runs=${BENCH_RUNS:-3}
measure() {
    : >"$work/all"
    for _ in $(seq "$runs"); do
        /usr/bin/time -f "%e %M" -o "$work/t" "$@" >/dev/null 2>&1
        cat "$work/t" >>"$work/all"
    done
    sort -n "$work/all" | awk '{t[NR] = $1; if ($2 > m) m = $2}
        END {printf "%7.2f s %6.0f MB", t[int((NR + 1) / 2)], m / 1024}'
}
row() {  # row <label> <command...>
    local label=$1; shift
    printf '%-46s %s\n' "$label" "$(measure "$@")"
}
one="taskset -c 0"
per_file="xargs -a $work/list -d \n -I{}"

echo "JPEG set: ${#jpegs[@]} files; whole set: ${#all[@]} files; $(nproc) cores;" \
    "median of $runs runs; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
row "lumetra, JPEG set, 1 core" $one "$bench" convert "$work/jpegs"
row "lumetra, JPEG set, all cores" "$bench" convert "$work/jpegs"
row "lumetra, whole set (with PNGs), all cores" "$bench" convert "$set_dir"
row "djpeg pure decode, JPEG set, 1 core" $one $per_file -P 1 djpeg -outfile /dev/null {}
row "djpeg pure decode, JPEG set, all cores" $per_file -P "$(nproc)" djpeg -outfile /dev/null {}
row "ImageMagick box resize, JPEG set, 1 core" $one $per_file -P 1 \
    convert {} -filter box -resize 1024x768 -quality 100 jpg:/dev/null
row "ImageMagick box resize, JPEG set, all cores" $per_file -P "$(nproc)" \
    convert {} -filter box -resize 1024x768 -quality 100 jpg:/dev/null
row "vipsthumbnail, JPEG set, 1 core" $one $per_file -P 1 \
    vipsthumbnail {} -s 1024x768 -o "$work/vips/%s.jpg[Q=100]"
row "vipsthumbnail, JPEG set, all cores" $per_file -P "$(nproc)" \
    vipsthumbnail {} -s 1024x768 -o "$work/vips/%s.jpg[Q=100]"
echo "details, 1 core:   $($one "$bench" convert "$work/jpegs")"
echo "details, all cores: $("$bench" convert "$work/jpegs")"
echo "sizes of all pictures (GetImageSize), 1 core: $($one "$bench" sizes "$set_dir")"
echo "preview decoding (LoadPicture thumbnail into 201 x 196), JPEG set, 1 core: $($one "$bench" thumbnails "$work/jpegs")"
# The same smooth photo nine times: the first decode is cold (libraries, fresh
# pages), the median is what selecting slide after slide in the window costs.
mkdir -p "$work/smooth"
for i in $(seq 1 9); do ln -s "$set_dir/preview/smooth-6000.jpg" "$work/smooth/$i.jpg"; done
echo "preview decoding, smooth 24 MP photo, 1 core: $($one "$bench" thumbnails "$work/smooth")"
echo "djpeg -scale 1/8, smooth 24 MP photo, 1 core: $(measure $one djpeg -scale 1/8 -outfile /dev/null "$set_dir/preview/smooth-6000.jpg")"
echo "djpeg -scale 1/8, noisy 24 MP picture of the set, 1 core: $(measure $one djpeg -scale 1/8 -outfile /dev/null "$set_dir/photo-6000-1.jpg")"
