#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# The search's peak memory on a folder of 10 decompression bombs and hostile files (make_photo_bombs)
# beside 40 camera-sized photos, with --jobs 1, 2, 8 and 32; and whether the 40 photos' results are
# the same as those of a search of the 40 photos alone. Builds nothing: run ./test.sh first.
#
# Usage: bench/bomb-benchmark.sh [JOBS...]     (default: 1 2 8 32)
# BUILD=FOLDER measures another build than build/; BENCH_PHOTO_SIZE=WxH makes smaller photos.
# Exit status 3 when a result differs, 77 when the test photos are missing.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${BUILD:-$root/build}")"
app="$build/app/face-morvelin"
make_corpus="$build/bench/make_photo_corpus"
make_bombs="$build/bench/make_photo_bombs"
face="$build/testdata/astronaut.png"
size="${BENCH_PHOTO_SIZE:-4000x3000}"
jobs=("$@")
[ ${#jobs[@]} -eq 0 ] && jobs=(1 2 8 32)

for needed in "$app" "$make_corpus" "$make_bombs" /usr/bin/time; do
    if [ ! -e "$needed" ]; then
        echo "bomb-benchmark: $needed is missing; run ./test.sh first" >&2
        exit 1
    fi
done
if [ ! -e "$face" ]; then
    echo "bomb-benchmark: no test photos in $build/testdata (scripts/fetch-test-photos.sh)" >&2
    exit 77
fi

photos="$build/bench-corpus/photos-40-$size"
if [ ! -f "$photos/.complete" ]; then
    rm -rf "$photos"
    echo "Making 40 photos of $size in $photos ..." >&2
    "$make_corpus" --count 40 --distinct 40 --size "$size" "$photos" >&2
    touch "$photos/.complete"
fi
mixed="$build/bench-corpus/bombs-and-40-$size"
if [ ! -f "$mixed/.complete" ] || [ ! -f "$mixed/deep-grey-10000.png" ]; then
    rm -rf "$mixed"
    mkdir -p "$mixed"
    "$make_bombs" "$mixed"
    for photo in "$photos"/photo_*; do
        ln -s "$photo" "$mixed/"
    done
    touch "$mixed/.complete"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Every search scans: a face index of its own, emptied before each, and the user's never touched.
export XDG_CACHE_HOME="$work/cache"
# Results as "xscore name", so the two folders compare.
results() { awk -F'\t' '{ n = split($2, part, "/"); print $1, part[n] }' "$1" | sort; }

echo "Searching the 40 photos alone ..." >&2
"$app" search --face "$face" "$photos" >"$work/alone.out" 2>"$work/alone.err"
results "$work/alone.out" >"$work/alone.sorted"

status=0
printf '%-8s %14s %10s %8s  %s\n' "--jobs" "peak memory MB" "wall s" "results" "the search says"
for count in "${jobs[@]}"; do
    rm -rf "$XDG_CACHE_HOME"
    /usr/bin/time -f '%e %M' -o "$work/time" "$app" search --face "$face" --jobs "$count" "$mixed" \
        >"$work/mixed.out" 2>"$work/mixed.err" || true
    read -r seconds kb <"$work/time"
    right=right
    if ! results "$work/mixed.out" | cmp -s - "$work/alone.sorted"; then
        right=WRONG
        status=3
    fi
    printf '%-8s %14s %10s %8s  %s\n' "$count" "$((kb / 1024))" "$seconds" "$right" "$(tail -n 1 "$work/mixed.err" | tr -d '\r')"
done
echo "(goal: at most 1200 MB of peak memory for every --jobs, with the 40 photos' results right)"
exit "$status"
