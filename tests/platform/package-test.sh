#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# The Debian package, packed by CPack from the built tree: its control fields, a stripped binary and
# the models inside, no lintian error; then installed here with apt-get, run, its manual page and
# completions where man and the shells look, and removed without a trace.
# Usage: package-test.sh BUILD_DIR     (exit 77: skipped, when not root, without apt-get, without the
#                                       models, or when a face-morvelin package is installed already)
set -euo pipefail

fail() {
    echo "package-test: $*" >&2
    exit 1
}
skip() {
    echo "package-test: $*: skipped"
    exit 77
}

build=$(realpath "$1")
[ "$(id -u)" -eq 0 ] || skip "not root"
command -v apt-get >/dev/null || skip "no apt-get"
compgen -G "$build/models/*.onnx" >/dev/null || skip "no face model in $build/models"
if dpkg-query -W -f='${Status}' face-morvelin 2>/dev/null | grep -q 'ok installed'; then
    skip "face-morvelin is installed; removing it is not this test's to do"
fi

work=$(mktemp -d)
installed=false
cleanup() {
    if $installed; then
        apt-get remove -y -qq -o DPkg::Lock::Timeout=300 face-morvelin >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G DEB --config CPackConfig.cmake -B "$work") >"$work/cpack.log" 2>&1 \
    || fail "cpack failed: $(tail -n 30 "$work/cpack.log")"
deb=$(echo "$work"/face-morvelin_*.deb)
[ -f "$deb" ] || fail "cpack made no package: $(ls "$work")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Section)" = graphics ] || fail "section $(field Section)"
[[ $(field Maintainer) == *@* ]] || fail "no maintainer"
[[ $(field Depends) == *libqt6widgets6* && $(field Depends) == *libopencv-dnn* ]] \
    || fail "the libraries are missing from Depends: $(field Depends)"
dpkg-deb --extract "$deb" "$work/root"
file "$work/root/usr/bin/face-morvelin" | grep -q ', stripped' || fail "the binary is not stripped"
for file in face-morvelin/fr_feature.onnx face-morvelin/data.xml doc/face-morvelin/copyright \
    doc/face-morvelin/changelog.Debian.gz man/man1/face-morvelin.1.gz; do
    [ -s "$work/root/usr/share/$file" ] || fail "the package has no /usr/share/$file"
done

if command -v lintian >/dev/null; then
    lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
    cat "$work/lintian.log"
    ! grep -q '^E:' "$work/lintian.log" || fail "lintian reports errors"
fi

apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=300 "$deb" >"$work/apt.log" 2>&1 \
    || fail "apt-get install failed: $(tail -n 20 "$work/apt.log")"
installed=true
version=$(env HOME="$work" TMPDIR="$work" QT_QPA_PLATFORM=offscreen face-morvelin --version) \
    || fail "the installed program does not run"
[[ $(field Version) == "${version#face-morvelin }"-* ]] || fail "$version in package $(field Version)"
[ "$(man -w face-morvelin)" = /usr/share/man/man1/face-morvelin.1.gz ] || fail "man does not find the page"
for file in bash-completion/completions/face-morvelin zsh/vendor-completions/_face-morvelin \
    fish/vendor_completions.d/face-morvelin.fish metainfo/io.github.facemorvelin.FaceMorvelin.metainfo.xml; do
    [ -s "/usr/share/$file" ] || fail "/usr/share/$file is not installed"
done

apt-get remove -y -qq -o DPkg::Lock::Timeout=300 face-morvelin >"$work/apt.log" 2>&1 || fail "apt-get remove failed"
installed=false
[ ! -e /usr/bin/face-morvelin ] && [ ! -e /usr/share/face-morvelin ] || fail "apt-get remove left files behind"
echo "package-test: $(basename "$deb") packed, installed, run and removed"
