#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Real photos for the tests and benchmarks, taken from Debian packages without installing them:
# skimage's astronaut (one face) and dlib's example group photos with hand-marked faces.
# Usage: fetch-test-photos.sh DEST   (does nothing when DEST is already complete)
set -euo pipefail

dest="$(realpath -m "$1")"
[ -f "$dest/.complete" ] && exit 0

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get download python3-skimage libdlib19.1 >/dev/null 2>&1 || {
    # The package lists may be missing on a fresh machine.
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    apt-get download python3-skimage libdlib19.1 >/dev/null
}
for deb in *.deb; do
    dpkg-deb -x "$deb" unpacked
done

mkdir -p "$dest/faces"
cp unpacked/usr/lib/python3/dist-packages/skimage/data/astronaut.png "$dest/"
cp unpacked/usr/share/doc/libdlib19.1/examples/faces/*.jpg "$dest/faces/"
cp unpacked/usr/share/doc/libdlib19.1/examples/faces/*.xml "$dest/faces/"
touch "$dest/.complete"
