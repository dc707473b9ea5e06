#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Builds the engine and search tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ (override with ASAN_BUILD=...) and runs them; non-zero on any failure or sanitizer report.
#   scripts/sanitize-tests.sh [ctest options...]
# Uses the photos and the face model the normal set-up fetched into build/ (run ./test.sh once first).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ASAN_BUILD:-$root/build-asan}"
jobs="${ASAN_BUILD_JOBS:-2}"
flags="-g -O1 -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DMORVELIN_TEST_PHOTOS="$root/build/testdata"
fi
# The face model is fetched once, into the normal build folder.
if [ -d "$root/build/models" ] && [ ! -e "$build/models" ]; then
    ln -s "$root/build/models" "$build/models"
fi
cmake --build "$build" --target engine_tests search_tests imagex_tests detector_tests -j "$jobs"

# Leaks are not looked for: Qt and the image libraries keep caches until the process ends.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:halt_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --output-on-failure --test-dir "$build/tests/engine" "$@"
ctest --output-on-failure --test-dir "$build/tests/search" "$@"
