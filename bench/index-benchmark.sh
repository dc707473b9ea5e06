#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# What the face index buys: on COUNT distinct generated photos (default 10000, 800 x 600 so that a first
# search of them all fits in a coffee break), for each matcher, the wall time and peak memory of
#   - a first search without the index (--no-index),
#   - a first search that fills the index (an empty index),
#   - a repeat search answered from it,
# and the index's size per photo and per face; then, with the features matcher, how many photos a
# search answers from the index after the folder was renamed, copied with `cp -a` and (as root, on an
# ext4 image attached through a loop device, detached and attached again) remounted, and whether its
# list is the `--no-index` list; last, one pass of a features search over FACES synthetic faces
# (default 1000000) on one core. Each run gets a cache folder of its own; the user's index is never
# touched. Builds nothing: run ./test.sh (or ./run.sh --version) first.
#
# Usage: bench/index-benchmark.sh [COUNT]
# BUILD=FOLDER measures another build than build/; BENCH_PHOTO_SIZE=WxH another photo size;
# MATCHERS="grid" measures one matcher only; FACES=N the synthetic index's size (0 skips it).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${BUILD:-$root/build}")"
app="$build/app/face-morvelin"
make_corpus="$build/bench/make_photo_corpus"
face="$build/testdata/astronaut.png"
count="${1:-10000}"
size="${BENCH_PHOTO_SIZE:-800x600}"
matchers="${MATCHERS:-grid features}"
faces="${FACES:-1000000}"
scale_bench="$build/bench/index_scale_bench"

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
loop_mount=""
cleanup() {
    if [ -n "$loop_mount" ]; then
        umount "$loop_mount" 2>/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# Runs one search with its own cache folder; prints "seconds peak_MB photos_from_index".
run_search() {
    local cache="$1" matcher="$2"
    shift 2
    XDG_CACHE_HOME="$cache" /usr/bin/time -f '%e %M' -o "$scratch/time" \
        "$app" search --face "$face" --matcher "$matcher" --json --recursive "$@" "${folder:-$corpus}" >"$scratch/out.json" 2>/dev/null
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

# The list as sorted photo names with their scores: the same photos under another folder compare equal.
listed() {
    python3 -c 'import json,os,sys
print("\n".join(sorted("%s %s" % (os.path.basename(p["path"]), p["xscore"]) for p in json.load(open(sys.argv[1]))["photos"])))' "$1"
}

# Searches `folder` with the features matcher from the index in `cache`, then without the index;
# prints the photos answered from the index and whether both lists agree.
moved_case() {
    local label="$1" cache="$2"
    read -r s _ f < <(run_search "$cache" features)
    listed "$scratch/out.json" >"$scratch/with"
    run_search "$cache" features --no-index >/dev/null
    listed "$scratch/out.json" >"$scratch/without"
    local same=no
    cmp -s "$scratch/with" "$scratch/without" && same=yes
    printf '%-28s %10s s %6s of %s photos from the index, same list as --no-index: %s\n' "$label" "$s" "$f" "$count" "$same"
}

echo
echo "the same photos elsewhere (features):"
cache="$scratch/cache-moved"
mkdir -p "$cache"
folder="$scratch/library"
cp -a "$corpus" "$folder"
run_search "$cache" features >/dev/null
mv "$folder" "$scratch/renamed"
folder="$scratch/renamed"
moved_case 'renamed folder' "$cache"
cp -a "$folder" "$scratch/copied"
folder="$scratch/copied"
moved_case 'copied with cp -a' "$cache"
rm -rf "$scratch/renamed" "$scratch/copied"
if [ "$(id -u)" -eq 0 ] && command -v mkfs.ext4 >/dev/null; then
    image="$scratch/disk.img"
    truncate -s "$(( $(du -sm "$corpus" | cut -f1) * 2 + 64 ))M" "$image"
    mkfs.ext4 -q -F "$image"
    loop_mount="$scratch/disk"
    mkdir -p "$loop_mount"
    mount -o loop "$image" "$loop_mount"
    cp -a "$corpus" "$loop_mount/photos"
    folder="$loop_mount/photos"
    run_search "$cache" features >/dev/null
    umount "$loop_mount"
    # A device of another number: a loop device taken first, so the image gets the next one.
    holder="$scratch/holder.img"
    truncate -s 8M "$holder"
    held=$(losetup -f --show "$holder")
    mount -o loop "$image" "$loop_mount"
    moved_case 'remounted (another device)' "$cache"
    umount "$loop_mount"
    losetup -d "$held"
    loop_mount=""
else
    echo "remounted: skipped (needs root and mkfs.ext4)"
fi
folder=""

if [ "$faces" -gt 0 ] && [ -x "$scale_bench" ]; then
    echo
    synthetic="$build/bench-corpus/synthetic-$faces.sqlite"
    mkdir -p "$(dirname "$synthetic")"
    echo "a features search of $faces synthetic faces, one pass on one core ($synthetic):"
    taskset -c 0 "$scale_bench" --faces "$faces" "$synthetic"
fi
