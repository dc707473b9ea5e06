#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Installs the missing Debian packages, then configures (once) and builds into build/: everything,
# or only the targets named (setup.sh [TARGET...]). Quiet and quick when nothing changed.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build"

missing_packages() {
    local pkg
    grep -v -E '^\s*(#|$)' "$root/debian-packages.txt" | while read -r pkg; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$pkg"
        fi
    done
}

install_missing() {
    local missing
    mapfile -t missing < <(missing_packages)
    [ "${#missing[@]}" -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}" >&2
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}

configure() {
    [ -f "$build/CMakeCache.txt" ] && return 0
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >&2
}

install_missing
configure
"$root/scripts/fetch-test-photos.sh" "$build/testdata"
"$root/scripts/fetch-face-model.sh" "$build/models"
"$root/scripts/fetch-features-model.sh" "$build/models"
build_quietly() {
    # The build's own chatter goes to a log so that a verb's output stays clean; a failure shows it.
    local targets=()
    [ "$#" -eq 0 ] || targets=(--target "$@")
    if ! cmake --build "$build" --parallel "$(nproc)" "${targets[@]}" >"$build/build.log" 2>&1; then
        tail -n 60 "$build/build.log" >&2
        echo "Build failed; the whole log is $build/build.log" >&2
        exit 1
    fi
}

build_quietly "$@"
