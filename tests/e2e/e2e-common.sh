# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# What both desktop scripts share, sourced after `set -euo pipefail`: their arguments, the checks
# that skip them, a user of their own, screenshots and waiting for windows.
# Usage: source e2e-common.sh PROGRAM HELPER PHOTOS OUT TOOL...
#   TOOL  the desktop tools the script needs; a missing one skips it (exit status 77)

program=$(realpath "$1")
helper=$(realpath "$2")
photos=$(realpath -m "$3")
out=$(realpath -m "$4")
shift 4
skipped=77

data_folder=$(dirname "$program")/../share/face-morvelin
if [[ ! -f $data_folder/data.xml ]] || ! compgen -G "$data_folder/*.onnx" >/dev/null \
    || [[ ! -f $photos/astronaut.png ]] || ! compgen -G "$photos/faces/*.jpg" >/dev/null; then
    echo "skipped: the detector's model or the test photos are missing"
    exit $skipped
fi
for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit $skipped
    fi
done

work=$(mktemp -d)
pids=()
finish() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

# A user of our own, English texts, nothing of the real user's touched; a desktop Qt knows, for its
# icon theme.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp
export LANG=C.UTF-8 LC_ALL=C.UTF-8 LANGUAGE=
export XDG_CURRENT_DESKTOP=GNOME
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$TMPDIR"
chmod 700 "$XDG_RUNTIME_DIR"

drops=$work/drops.txt
mkdir -p "$out"
rm -f "$out"/*.png

step=0
shot() {
    step=$((step + 1))
    "$helper" grab "$(printf '%s/%02d-%s.png' "$out" "$step" "$1")"
    echo "step $step: $1"
}

fail() {
    shot failure || true
    echo "FAILED: $*" >&2
    exit 1
}

# Polls a command every tenth of a second, up to $1 seconds.
wait_until() {
    local tries=$(($1 * 10))
    shift
    for ((i = 0; i < tries; i++)); do
        if "$@"; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
gone() { ! visible "$1"; }

# The id of the first visible window whose name matches, waiting up to $2 seconds.
window_named() {
    wait_until "$2" visible "$1" || return 1
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# The client area's top left corner on the screen, as X and Y (a window manager's frame excluded),
# and its size, as W and H.
origin_of() {
    local info
    info=$(xwininfo -id "$1")
    X=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    Y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    W=$(awk '/^ *Width:/ {print $2}' <<<"$info")
    H=$(awk '/^ *Height:/ {print $2}' <<<"$info")
}

# The main window's id and place. Asked afresh each time: the window may come back as a new X window.
main_position() {
    main=$(window_named '^Face Morvelin Version' 20) || fail "the main window is not on the screen"
    origin_of "$main"
}
