#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# cmake --install into a temporary prefix: every file where the desktop looks for it, the desktop
# file and metainfo valid, the manual page and the completions usable, a program that
# starts from there (under Xvfb with Debian's trayer as the tray: tray icon, welcome window, a capture
# answered), and an uninstall that leaves nothing behind. Screenshots go to <build>/screenshots/.
# Usage: install-test.sh BUILD_DIR SOURCE_DIR [TEST_PHOTOS_DIR]        (exit 77: skipped)
set -euo pipefail

id=io.github.facemorvelin.FaceMorvelin

fail() {
    echo "install-test: $*" >&2
    exit 1
}

wait_for() {
    local tries=100
    until eval "$1"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

end_cleanly() {
    local program=$1 user=$2 status=0
    kill -TERM "$program"
    wait "$program" || status=$?
    [ "$status" -eq 0 ] || fail "SIGTERM ended the program with status $status: $(cat "$user/program.log")"
    [ -z "$(ls -A "$TMPDIR")" ] || fail "temporary files left behind: $(ls -A "$TMPDIR")"
}

# Inside Xvfb: the installed program in a fresh user's session with a tray.
session() {
    local prefix=$1 user=$2 shots=$3 photo=$4 language=$5
    export HOME=$user/home XDG_CONFIG_HOME=$user/config XDG_RUNTIME_DIR=$user/runtime TMPDIR=$user/tmp
    export LC_ALL=$language LANGUAGE=${language%%_*}
    unset DBUS_SESSION_BUS_ADDRESS
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$TMPDIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    convert -size 1024x640 gradient:'#5d7183-#27313b' "$user/desktop.png"
    # ImageMagick reports failure after setting a root background; the picture is there all the same.
    display -window root "$user/desktop.png" || true
    trayer --edge top --align right --widthtype percent --width 100 --height 26 --tint 0x1d252d \
        --transparent true --alpha 0 &
    local trayer_pid=$!
    sleep 1

    # A plain start: the welcome window and the tray icon.
    "$prefix/bin/face-morvelin" 2>"$user/program.log" &
    local program=$!
    wait_for "[ -S '$XDG_RUNTIME_DIR/face-morvelin.socket' ]" || fail "the installed program did not start"
    sleep 2
    xwininfo -root -tree | grep -A8 '"panel"' | grep -q '"Face Morvelin"' || fail "no tray icon in the tray"
    import -window root "$shots/tray-welcome-$language.png"
    end_cleanly "$program" "$user"

    # A photo on the desktop, and the program started by the desktop's "Search for faces on screen".
    convert "$photo" -resize x600 -background '#27313b' -gravity west -extent 1024x640 "$user/photo-desktop.png"
    display -window root "$user/photo-desktop.png" || true
    "$prefix/bin/face-morvelin" --capture 2>"$user/program.log" &
    program=$!
    wait_for "[ -S '$XDG_RUNTIME_DIR/face-morvelin.socket' ]" || fail "--capture did not start the program"
    sleep 6
    import -window root "$shots/tray-capture-$language.png"
    # Asked again from outside, the running program answers.
    "$prefix/bin/face-morvelin" --capture || fail "the running program did not answer --capture"
    sleep 1
    end_cleanly "$program" "$user"
    kill "$trayer_pid" 2>/dev/null || true
}

if [ "${1:-}" = "--session" ]; then
    shift
    session "$@"
    exit 0
fi

build=$(realpath "$1")
source=$(realpath "$2")
photos=${3:-$build/testdata}
compgen -G "$build/models/*.onnx" >/dev/null || { echo "install-test: no face model in $build/models"; exit 77; }

work=$(mktemp -d)
manifest=$build/install_manifest.txt
# A real install's manifest must survive this test, or its uninstall would remove the wrong files.
[ -f "$manifest" ] && cp "$manifest" "$work/manifest.saved"
restore() {
    if [ -f "$work/manifest.saved" ]; then cp "$work/manifest.saved" "$manifest"; else rm -f "$manifest"; fi
    rm -rf "$work"
}
trap restore EXIT

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "install failed: $(cat "$work/install.log")"

expected=(
    bin/face-morvelin
    share/applications/$id.desktop
    share/bash-completion/completions/face-morvelin
    share/doc/face-morvelin/LICENSE
    share/doc/face-morvelin/README.md
    share/doc/face-morvelin/changelog.Debian.gz
    share/doc/face-morvelin/copyright
    share/face-morvelin/LICENSE-BlazeFace
    share/face-morvelin/LICENSE-fr_feature
    share/face-morvelin/data.xml
    share/face-morvelin/face_detection_back_256x256_barracuda.onnx
    share/face-morvelin/face_detection_front_128x128_barracuda.onnx
    share/face-morvelin/fr_feature.onnx
    share/fish/vendor_completions.d/face-morvelin.fish
    share/icons/hicolor/scalable/apps/$id.svg
    share/man/man1/face-morvelin.1.gz
    share/metainfo/$id.metainfo.xml
    share/zsh/vendor-completions/_face-morvelin
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | sed 's|^\./||' | sort) \
    || fail "the installed files differ from the expected ones (< expected, > installed)"

desktop=$prefix/share/applications/$id.desktop
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "the desktop file is not valid"
fi
grep -qx "Icon=$id" "$desktop" || fail "the desktop file names another icon"
grep -qx "Exec=face-morvelin %f" "$desktop" || fail "the desktop file starts something else"
grep -qx "Exec=face-morvelin --capture" "$desktop" || fail "the desktop file has no capture action"
grep -qx "Name=Search for faces on screen" "$desktop" || fail "the capture action is not named as the tray's entry"

"$prefix/bin/face-morvelin" --version >/dev/null || fail "the installed program does not run"

if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "the metainfo is not valid"
fi
# The manual page without a roff warning, naming every verb the help names.
page=$prefix/share/man/man1/face-morvelin.1.gz
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$work/man.txt") || fail "man cannot show the page"
[ -z "$warnings" ] || fail "the manual page has roff warnings: $warnings"
verbs=$(QT_QPA_PLATFORM=offscreen HOME=$work TMPDIR=$work "$prefix/bin/face-morvelin" --help | sed -n '/^Verbs:/,/^$/s/^  \([a-z]\+\).*/\1/p')
[ -n "$verbs" ] || fail "no verbs in the help"
for verb in $verbs; do
    grep -q "^   $verb\$" "$work/man.txt" || fail "the manual page has no section on $verb"
done
# The completions parse in their shells; bash's offers the verbs and the matchers.
completions=$prefix/share/bash-completion/completions/face-morvelin
offered() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _face_morvelin; echo "${COMPREPLY[*]}"' \
        - "$completions" "$@"
}
[ "$(offered face-morvelin "")" = "$(echo $verbs) --capture --face --help --version" ] || fail "bash does not complete the verbs"
[ "$(offered face-morvelin search --matcher "")" = "$(echo $("$build/tools/matcher_names"))" ] || fail "bash does not complete the matchers"
if command -v zsh >/dev/null; then
    zsh -n "$prefix/share/zsh/vendor-completions/_face-morvelin" || fail "zsh's completion does not parse"
fi
if command -v fish >/dev/null; then
    fish -n "$prefix/share/fish/vendor_completions.d/face-morvelin.fish" || fail "fish's completion does not parse"
fi

if command -v xvfb-run >/dev/null && command -v trayer >/dev/null && command -v import >/dev/null; then
    shots=$build/screenshots
    mkdir -p "$shots"
    photo=$photos/astronaut.png
    [ -f "$photo" ] || photo=$source/data/welcome/welcome-background.png
    for language in C de_DE.UTF-8; do
        xvfb-run --auto-servernum --server-args="-screen 0 1024x640x24" \
            bash "$0" --session "$prefix" "$work/user-$language" "$shots" "$photo" "$language" \
            || fail "the installed program's desktop session failed ($language)"
    done
else
    echo "install-test: no xvfb-run, trayer or ImageMagick: the desktop session is not tried"
fi

cmake --build "$build" --target uninstall >"$work/uninstall.log" || fail "uninstall failed"
left=$(cd "$prefix" && find . -mindepth 1 ! -path ./bin ! -path ./share)
[ -z "$left" ] || fail "uninstall left: $left"
echo "install-test: installed, started, captured, uninstalled"
