#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Fuzzes the image loader for SECONDS (default 60) with libFuzzer, starting from the seed corpus.
#   scripts/fuzz-image-loader.sh [SECONDS] [extra libFuzzer options...]
# Builds with clang into build-fuzz/ (override with FUZZ_BUILD=...). New inputs go to
# build-fuzz/corpus, so the committed corpus stays as it is; a crash is written to
# build-fuzz/artifacts/ and ends the run with a non-zero status. Keep a crashing input under
# tests/data/ with a name that says what it broke, so ctest replays it.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
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
cmake --build "$build" --target imagex_fuzzer -j "$jobs" >&2

mkdir -p "$build/corpus" "$build/artifacts"
# The fuzzer's scratch files live here, in memory when /dev/shm is there, and go with the script
# however the fuzzer ends.
scratch="$(mktemp -d /dev/shm/imagex-fuzz-XXXXXX 2>/dev/null || mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export TMPDIR="$scratch"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
# Decoding a picture near the size limit legitimately takes a while under the sanitizers; a run that
# takes longer than the timeout counts as a hang.
"$build/tests/fuzz/imagex_fuzzer" \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=16384 \
    -artifact_prefix="$build/artifacts/" -print_final_stats=1 -close_fd_mask=2 "$@" \
    "$build/corpus" "$root/tests/data/fuzz-corpus"
