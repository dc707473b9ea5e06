#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# The search's speed on a corpus of camera-sized photos, measured in one run, one program after another:
# photos per second of `face-morvelin search` with each matcher (grid and facial features, with the
# features' cost per face), of the floor (decoding at the scan's size plus detection
# alone, on all cores: search_floor) and of the plain sequential OpenCV script a user would write
# (plain_search.py); the two ratios; and the search's peak memory. Builds nothing: run ./run.sh --version
# or ./test.sh first. The corpus is made once, under the build folder, and kept.
#
# Usage: bench/search-benchmark.sh [COUNT]            every figure on COUNT distinct photos (default 200)
#        bench/search-benchmark.sh --memory [COUNT]   the search's speed and peak memory on COUNT photos
#                                                     (default 1000): 200 distinct, the rest symbolic links
# BUILD=FOLDER measures another build than build/; REPEAT=N runs every program N times, in turns, and
# keeps its fastest run; BENCH_PHOTO_SIZE=WxH makes smaller photos (a quick check of the benchmark itself). Exit status 3 when the search's best match is not the photo that holds
# the searched face; 77 when python3-opencv or the test photos are missing.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${BUILD:-$root/build}")"
app="$build/app/face-morvelin"
make_corpus="$build/bench/make_photo_corpus"
floor="$build/bench/search_floor"
face="$build/testdata/astronaut.png"
size="${BENCH_PHOTO_SIZE:-4000x3000}"
repeat="${REPEAT:-1}"

usage() {
    echo "usage: $0 [COUNT] | --memory [COUNT]" >&2
    exit 2
}

mode=speed
if [ "${1:-}" = "--memory" ]; then
    mode=memory
    shift
fi
default_count=200
[ "$mode" = memory ] && default_count=1000
count="${1:-$default_count}"
[[ "$count" =~ ^[1-9][0-9]*$ ]] || usage
distinct="$count"
if [ "$mode" = memory ] && [ "$count" -gt 200 ]; then
    distinct=200
fi

[[ "$size" =~ ^[1-9][0-9]*x[1-9][0-9]*$ ]] || usage
[[ "$repeat" =~ ^[1-9][0-9]*$ ]] || usage

for needed in "$app" "$make_corpus" "$floor" /usr/bin/time; do
    if [ ! -e "$needed" ]; then
        echo "search-benchmark: $needed is missing; run ./run.sh --version (or ./test.sh) first" >&2
        exit 1
    fi
done
if [ ! -e "$face" ]; then
    echo "search-benchmark: no test photos in $build/testdata (scripts/fetch-test-photos.sh)" >&2
    exit 77
fi
if ! /usr/bin/python3 -c 'import cv2' 2>/dev/null; then
    echo "search-benchmark: Debian's python3-opencv is missing (it is in debian-packages.txt)" >&2
    exit 77
fi

corpus="$build/bench-corpus/photos-$count"
[ "$distinct" -lt "$count" ] && corpus="$corpus-of-$distinct"
[ "$size" != 4000x3000 ] && corpus="$corpus-$size"
if [ ! -f "$corpus/.complete" ]; then
    rm -rf "$corpus"
    echo "Making the corpus: $count photos of $size in $corpus ..." >&2
    "$make_corpus" --count "$count" --distinct "$distinct" --size "$size" "$corpus" >&2
    touch "$corpus/.complete"
fi
astronaut="$(awk -F'\t' '/astronaut\.png/ { print $1; exit }' "$corpus/corpus.tsv")"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Every program starts with the photos in the page cache, as the first one would after the corpus was made.
cat "$corpus"/photo_* >/dev/null

# Runs a command under GNU time and keeps, per name, its fastest wall time with that run's CPU time
# (user + system), and its largest peak memory.
declare -A wall cpu peak_kb
measure() {
    local name="$1"
    shift
    echo "Running $name ..." >&2
    # Every run is a first search: a face index of its own, empty, and the user's never touched.
    rm -rf "$work/cache"
    mkdir -p "$work/cache"
    if ! XDG_CACHE_HOME="$work/cache" /usr/bin/time -f '%e %U %S %M' -o "$work/$name.time" "$@" >"$work/$name.out" 2>"$work/$name.err"; then
        tail -n 20 "$work/$name.err" >&2
        echo "search-benchmark: $name failed" >&2
        exit 1
    fi
    local seconds user system kb
    read -r seconds user system kb <"$work/$name.time"
    if [ -z "${wall[$name]:-}" ] || calc '%d' "$seconds < ${wall[$name]}" | grep -q 1; then
        wall[$name]="$seconds"
        cpu[$name]="$(calc %.2f "$user + $system")"
    fi
    if [ -z "${peak_kb[$name]:-}" ] || [ "$kb" -gt "${peak_kb[$name]}" ]; then
        peak_kb[$name]="$kb"
    fi
}
calc() { awk "BEGIN { printf \"$1\", $2 }"; }
row() { printf '%-26s %9s %14s %9s\n' "$1" "$(calc %.2f "$count / ${wall[$2]}")" \
    "$(calc %.0f "${cpu[$2]} * 1000 / $count")" "${wall[$2]}"; }

programs=(search)
[ "$mode" = speed ] && programs+=(features floor plain)
load_before="$(cut -d ' ' -f 1 /proc/loadavg)"
# Taken in turns, so a spell of other work on the machine does not fall on one program only.
for ((round = 1; round <= repeat; round++)); do
    for program in "${programs[@]}"; do
        case "$program" in
        search) measure search "$app" search --face "$face" "$corpus" ;;
        features) measure features "$app" search --matcher features --face "$face" "$corpus" ;;
        floor) measure floor "$floor" "$corpus" ;;
        plain) measure plain /usr/bin/python3 "$root/bench/plain_search.py" --face "$face" "$corpus" ;;
        esac
    done
done
load_after="$(cut -d ' ' -f 1 /proc/loadavg)"

best="$(head -n 1 "$work/search.out")"
best_photo="$(basename "$(printf '%s' "$best" | cut -f 2)")"
# Past the distinct photos the files are links, so the astronaut is in several of them.
best_original="$(basename "$(realpath -m "$corpus/$best_photo")")"
best_score="$(calc %.1f "0$(printf '%s' "$best" | cut -f 1) / 1000")"

echo
echo "Corpus: $count photos ($distinct distinct) of $size in $corpus"
echo "  the astronaut is in $astronaut; the search's best match: $best_photo ($best_score %)"
echo "  the search says: $(tail -n 1 "$work/search.err" | tr -d '\r')"
echo
printf '%-26s %9s %14s %9s\n' "" "photos/s" "CPU ms/photo" "wall s"
row "face-morvelin search" search
if [ "$mode" = speed ]; then
    row "search --matcher features" features
    row "floor: decode + detect" floor
    row "plain OpenCV script" plain
    echo
    printf '%-26s %9s   (goal: at least 0.9)\n' "search / floor" "$(calc %.2f "${wall[floor]} / ${wall[search]}")"
    printf '%-26s %9s   (goal: at least 3)\n' "search / plain" "$(calc %.2f "${wall[plain]} / ${wall[search]}")"
    # The faces the corpus placed; the detector finds about as many.
    faces="$(awk -F'\t' '!/^#/ { n += split($3, f, ";") } END { print n + 0 }' "$corpus/corpus.tsv")"
    printf '%-26s %9s   (goal: at least 0.8)\n' "features / grid speed" "$(calc %.2f "${wall[search]} / ${wall[features]}")"
    printf '%-26s %9s   (goal: at most 25; CPU time over grid, %d faces placed)\n' "features ms per face" \
        "$(calc %.1f "(${cpu[features]} - ${cpu[search]}) * 1000 / ($faces > 0 ? $faces : 1)")" "$faces"
    echo "  with features the best match: $(head -n 1 "$work/features.out" | cut -f 2 | xargs -r basename)"
fi
printf '%-26s %9s   (goal: under 400 MB for 1000 photos)\n' "search peak memory, MB" "$(calc %.0f "${peak_kb[search]} / 1024")"
# Throughputs are wall-clock figures: other work on the machine takes its share of the cores.
if calc '%d' "($load_before > 1.5 || $load_after > 1.5)" | grep -q 1; then
    echo "Note: the machine was busy (load $load_before before, $load_after after): the throughputs were shared with"
    echo "that work; REPEAT=3 keeps each program's fastest of three runs."
fi
if [ "$best_original" != "$astronaut" ]; then
    echo "search-benchmark: the best match should be $astronaut, the photo that holds the searched face" >&2
    exit 3
fi
