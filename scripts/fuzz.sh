#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Fuzzes the image loader or the face index for SECONDS (default 60) with libFuzzer.
#   scripts/fuzz.sh image|index [SECONDS] [extra libFuzzer options...]
# image: every decoder, from the seed corpus in tests/data/fuzz-corpus. index: changes to the bytes of
# a valid face index; each photo must then be answered as its scan stored it, or not at all.
# Builds with clang into build-fuzz/ (override with FUZZ_BUILD=...). New inputs go to
# build-fuzz/corpus-TARGET, so the committed corpus stays as it is; a crash is written to
# build-fuzz/artifacts/ and ends the run with a non-zero status. Keep a crashing image under
# tests/data/ with a name that says what it broke, so ctest replays it.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
target="${1:-}"
case "$target" in
    image) fuzzer=imagex_fuzzer seeds=("$root/tests/data/fuzz-corpus") max_len=16384 ;;
    index) fuzzer=face_index_fuzzer seeds=() max_len=4096 ;;
    *) echo "usage: scripts/fuzz.sh image|index [SECONDS] [libFuzzer options...]" >&2; exit 2 ;;
esac
shift
seconds="${1:-60}"
shift || true
build="${FUZZ_BUILD:-$root/build-fuzz}"
jobs="${FUZZ_BUILD_JOBS:-2}"

if ! command -v clang++ >/dev/null; then
    echo "clang++ is needed (Debian: clang libclang-rt-14-dev)" >&2
    exit 2
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DMORVELIN_FUZZ=ON \
        -DCMAKE_CXX_FLAGS="-g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >&2
fi
cmake --build "$build" --target "$fuzzer" -j "$jobs" >&2

corpus="$build/corpus-$target"
mkdir -p "$corpus" "$build/artifacts"
# The fuzzer's scratch files live here, in memory when /dev/shm is there, and go with the script
# however the fuzzer ends.
scratch="$(mktemp -d /dev/shm/morvelin-fuzz-XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Decoding a picture near the size limit legitimately takes a while under the sanitizers; a run that
# takes longer than the timeout counts as a hang.
"$build/tests/fuzz/$fuzzer" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len="$max_len" \
    -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 -close_fd_mask=2 "$@" \
    "$corpus" "${seeds[@]}"
