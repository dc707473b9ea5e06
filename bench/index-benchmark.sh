#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# What the face index buys: on COUNT distinct generated photos (default 10000, 800 x 600 so that a first
# search of them all fits in a coffee break), for each matcher, the wall time and peak memory of
#   - a first search without the index (--no-index),
#   - a first search that fills the index (an empty index),
#   - a repeat search answered from it,
# and the index's size per photo and per face. Each run gets a cache folder of its own; the user's
# index is never touched. Builds nothing: run ./test.sh (or ./run.sh --version) first.
#
# Usage: bench/index-benchmark.sh [COUNT]
# BUILD=FOLDER measures another build than build/; BENCH_PHOTO_SIZE=WxH another photo size;
# MATCHERS="grid" measures one matcher only.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${BUILD:-$root/build}")"
app="$build/app/face-morvelin"
make_corpus="$build/bench/make_photo_corpus"
face="$build/testdata/astronaut.png"
count="${1:-10000}"
size="${BENCH_PHOTO_SIZE:-800x600}"
matchers="${MATCHERS:-grid features}"

[[ "$count" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [COUNT]" >&2; exit 2; }
for needed in "$app" "$make_corpus" "$face" /usr/bin/time; do
    if [ ! -e "$needed" ]; then
        echo "index-benchmark: $needed is missing; run ./test.sh first" >&2
        exit 1
    fi
done

corpus="$build/bench-corpus/index-$count-$size"
if [ ! -f "$corpus/corpus.tsv" ]; then
    rm -rf "$corpus"
    mkdir -p "$corpus"
    echo "index-benchmark: writing $count photos into $corpus ..." >&2
    "$make_corpus" --count "$count" --distinct "$count" --size "$size" "$corpus" >&2
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# Runs one search with its own cache folder; prints "seconds peak_MB photos_from_index".
run_search() {
    local cache="$1" matcher="$2"
    shift 2
    XDG_CACHE_HOME="$cache" /usr/bin/time -f '%e %M' -o "$scratch/time" \
        "$app" search --face "$face" --matcher "$matcher" --json "$@" "$corpus" >"$scratch/out.json" 2>/dev/null
    local from
    from=$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["photosFromIndex"])' "$scratch/out.json")
    read -r seconds kilobytes <"$scratch/time"
    echo "$seconds $((kilobytes / 1024)) $from"
}

printf 'photos: %s distinct, %s\n' "$count" "$size"
printf '%-9s %-28s %10s %10s %12s\n' matcher search seconds 'peak MB' 'from index'
for matcher in $matchers; do
    cache="$scratch/cache-$matcher"
    mkdir -p "$cache"
    read -r s m f < <(run_search "$cache" "$matcher" --no-index)
    printf '%-9s %-28s %10s %10s %12s\n' "$matcher" 'first, --no-index' "$s" "$m" "$f"
    read -r s m f < <(run_search "$cache" "$matcher")
    printf '%-9s %-28s %10s %10s %12s\n' "$matcher" 'first, filling the index' "$s" "$m" "$f"
    read -r s m f < <(run_search "$cache" "$matcher")
    printf '%-9s %-28s %10s %10s %12s\n' "$matcher" 'repeat, from the index' "$s" "$m" "$f"
    stats=$(XDG_CACHE_HOME="$cache" "$app" index --stats)
    photos=$(awk -F'\t' '$1 == "photos" {print $2}' <<<"$stats")
    faces=$(awk -F'\t' '$1 == "faces" {print $2}' <<<"$stats")
    bytes=$(awk -F'\t' '$1 == "bytes" {print $2}' <<<"$stats")
    printf '%-9s index: %s photos, %s faces, %s bytes: %s bytes per photo, %s per face\n' "$matcher" "$photos" \
        "$faces" "$bytes" "$((bytes / (photos > 0 ? photos : 1)))" "$((bytes / (faces > 0 ? faces : 1)))"
done
