#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Builds the Debian package build/face-morvelin_VERSION_ARCH.deb: sets up what is missing (the models
# included), builds what the package holds, then lets CPack (cmake/Package.cmake) pack what
# cmake --install installs.
#   ./scripts/make-package.sh && sudo apt-get install ./build/face-morvelin_*.deb
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh" face-morvelin help_pages changelog
cd "$root/build"
cpack -G DEB --config CPackConfig.cmake >cpack.log 2>&1 || {
    cat cpack.log >&2
    exit 1
}
ls "$root"/build/face-morvelin_*.deb
