#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Builds the engine and search tests, the program and its verbs' tests with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ (override with ASAN_BUILD=...) and runs them; non-zero on
# any failure or sanitizer report. The verbs' tests run the sanitized program itself, so a report in
# any verb fails its test.
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
cmake --build "$build" --target engine_tests search_tests imagex_tests detector_tests face-morvelin app_tests -j "$jobs"

# Leaks are not looked for: Qt and the image libraries keep caches until the process ends.
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:halt_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --output-on-failure --test-dir "$build/tests/engine" "$@"
# The sanitizers' red zones and shadow memory count as the process's own: the tests of memory and
# descriptor limits would measure the sanitizers, not the program.
ctest --output-on-failure --test-dir "$build/tests/search" -E 'DecodingMemory' "$@"
ctest --output-on-failure --test-dir "$build/tests/app" -R '^(CommandLine|FacesCommand|SearchCommand|SearchSafety|FaceIndexSearch|InspectCommand|IdentifyCommand)Test' \
    -E 'Bombs|LimitOfOpenFiles' "$@"
