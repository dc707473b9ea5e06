#!/usr/bin/env bash
# The search's speed on a corpus of camera-sized photos, measured in one run, one program after another:
# photos per second of `face-morvelin search`, of the floor (decoding at the scan's size plus detection
# alone, on all cores: search_floor) and of the plain sequential OpenCV script a user would write
# (plain_search.py); the two ratios; and the search's peak memory. Builds nothing: run ./run.sh --version
# or ./test.sh first. The corpus is made once, under the build folder, and kept.
#
# Usage: bench/search-benchmark.sh [COUNT]            every figure on COUNT distinct photos (default 200)
#        bench/search-benchmark.sh --memory [COUNT]   the search's speed and peak memory on COUNT photos
#                                                     (default 1000): 200 distinct, the rest symbolic links
# BUILD=FOLDER measures another build than build/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(realpath -m "${BUILD:-$root/build}")"
app="$build/app/face-morvelin"
make_corpus="$build/bench/make_photo_corpus"
floor="$build/bench/search_floor"
face="$build/testdata/astronaut.png"

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

for needed in "$app" "$make_corpus" "$floor" "$face" /usr/bin/time; do
    if [ ! -e "$needed" ]; then
        echo "search-benchmark: $needed is missing; run ./run.sh --version (or ./test.sh) first" >&2
        exit 1
    fi
done
if ! /usr/bin/python3 -c 'import cv2' 2>/dev/null; then
    echo "search-benchmark: Debian's python3-opencv is missing (it is in debian-packages.txt)" >&2
    exit 1
fi

corpus="$build/bench-corpus/photos-$count"
[ "$distinct" -lt "$count" ] && corpus="$corpus-of-$distinct"
if [ ! -f "$corpus/.complete" ]; then
    rm -rf "$corpus"
    echo "Making the corpus: $count photos of 4000 x 3000 in $corpus ..." >&2
    "$make_corpus" --count "$count" --distinct "$distinct" "$corpus" >&2
    touch "$corpus/.complete"
fi
astronaut="$(awk -F'\t' '/astronaut\.png/ { print $1; exit }' "$corpus/corpus.tsv")"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Every program starts with the photos in the page cache, as the first one would after the corpus was made.
cat "$corpus"/photo_* >/dev/null

seconds_now() { date +%s.%N; }
rate_of() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.2f", n / s }'; }
ratio_of() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

echo "Running face-morvelin search ..." >&2
start="$(seconds_now)"
/usr/bin/time -v -o "$work/time.txt" "$app" search --face "$face" "$corpus" >"$work/search.txt" 2>"$work/search.err" || {
    cat "$work/search.err" >&2
    exit 1
}
search_seconds="$(awk -v a="$start" -v b="$(seconds_now)" 'BEGIN { print b - a }')"
search_rate="$(rate_of "$count" "$search_seconds")"
peak_kb="$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")"
peak_mb="$(awk -v k="$peak_kb" 'BEGIN { printf "%.0f", k / 1024 }')"
best="$(head -n 1 "$work/search.txt")"
best_photo="$(basename "$(printf '%s' "$best" | cut -f 2)")"
best_score="$(printf '%s' "$best" | cut -f 1 | awk '{ printf "%.1f", $1 / 1000 }')"

echo
echo "Corpus: $count photos ($distinct distinct), 4000 x 3000, in $corpus"
echo "  the astronaut is in $astronaut; the search's best match: $best_photo ($best_score %)"
echo "  the search says: $(tail -n 1 "$work/search.err" | tr -d '\r')"
printf '%-28s %8s photos/s  (%.1f s)\n' "face-morvelin search" "$search_rate" "$search_seconds"

if [ "$mode" = speed ]; then
    echo "Running the floor and the plain script ..." >&2
    floor_line="$("$floor" "$corpus")"
    floor_rate="$(printf '%s' "$floor_line" | awk -F', ' '{ print $3 + 0 }')"
    plain_line="$(/usr/bin/python3 "$root/bench/plain_search.py" --face "$face" "$corpus" | tail -n 1)"
    plain_rate="$(printf '%s' "$plain_line" | awk -F', ' '{ print $3 + 0 }')"
    printf '%-28s %8s photos/s  (%s)\n' "floor: decode + detect" "$floor_rate" "$floor_line"
    printf '%-28s %8s photos/s  (%s)\n' "plain OpenCV script" "$plain_rate" "$plain_line"
    printf '%-28s %8s           (goal: at least 0.8)\n' "search / floor" "$(ratio_of "$search_rate" "$floor_rate")"
    printf '%-28s %8s           (goal: at least 3)\n' "search / plain" "$(ratio_of "$search_rate" "$plain_rate")"
fi
printf '%-28s %8s MB        (goal: under 400 MB for 1000 photos)\n' "search peak memory" "$peak_mb"
