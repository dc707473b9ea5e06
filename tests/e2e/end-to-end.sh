#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# A user's whole errand, on a real X display: a face is on the screen, F12 captures it, a click in
# the gallery chooses it, "Browse..." picks a folder of photos, Search finds them, a click previews
# the best one and a drag hands it to another program. That photo must be the one the face came
# from. Runs inside xvfb-run; a screenshot of every step goes to OUT.
#
# Usage: end-to-end.sh PROGRAM HELPER PHOTOS OUT [SHOWN]
#   PROGRAM  face-morvelin, with the detector's files beside it
#   HELPER   e2e_helper (shows the photo, takes the drop, grabs the screen)
#   PHOTOS   the test photos: astronaut.png and faces/*.jpg
#   SHOWN    the photo on the screen, within PHOTOS (astronaut.png); its first face is searched
# Exit status 77 (skipped) when the model, the photos or xdotool are missing.
set -euo pipefail

shown=${5:-astronaut.png}
set -- "${@:1:4}"
source "$(dirname "${BASH_SOURCE[0]}")/e2e-common.sh" "$@" xdotool xwininfo
# A user who switched the welcome window off.
mkdir -p "$XDG_CONFIG_HOME/Face Morvelin"
printf '[Welcome]\nShowTip=0\n' >"$XDG_CONFIG_HOME/Face Morvelin/Face Morvelin.conf"

folder=$work/photos
mkdir -p "$folder"
cp "$photos"/faces/*.jpg "$photos/astronaut.png" "$folder/"
# More photos than scans in parallel, so that the search is still under way for its screenshot.
for photo in "$photos"/faces/*.jpg; do
    cp "$photo" "$folder/copy-$(basename "$photo")"
done

click() {
    xdotool mousemove "$1" "$2"
    sleep 0.2
    xdotool click 1
}

# 1. A photo with a face on the screen, and the program started.
"$helper" show "$photos/$shown" "$drops" &
pids+=($!)
viewer=$(window_named '^Photo viewer$' 20) || fail "the photo is not on the screen"
"$program" 2>"$out/program.log" &
pids+=($!)
main=$(window_named '^Face Morvelin Version' 20) || fail "the main window did not come up"
sleep 1
shot start

# 2. F12 while another program has the focus: the window steps aside, the screen is captured,
# faces are found.
xdotool windowfocus --sync "$viewer"
xdotool key F12
sleep 0.1
gone '^Face Morvelin Version' || fail "the window did not step aside for the capture"
window_named '^Face Morvelin Version' 20 >/dev/null || fail "the main window did not come back after F12"
sleep 3
main_position
shot gallery

# 3. The first face of the gallery (48 x 48 in a 64-pixel grid at the gallery's top left) is chosen.
click $((X + 250 + 4 + 32)) $((Y + 125 + 4 + 32))
sleep 0.5
shot face-chosen

# 4. The folder: "Browse..." is the picker's last entry; the dialog takes a typed path.
click $((X + 10 + 100)) $((Y + 232 + 10))
sleep 0.5
xdotool key End Return
dialog=$(window_named '^Choose folder$' 20) || fail "the folder dialog did not open"
sleep 0.5
xdotool key --window "$dialog" ctrl+a
xdotool type --delay 10 "$folder"
sleep 0.3
shot folder-dialog
xdotool key Return
sleep 0.5
if ! gone '^Choose folder$'; then
    xdotool key Return
fi
sleep 0.5
gone '^Choose folder$' || fail "the folder dialog did not take the folder"

# 5. Search: a scan window per scan under way. Without a window manager nothing activates the window
# on the click, and the button still answers it.
main_position
click $((X + 115 + 62)) $((Y + 316 + 12))
window_named '^Face Morvelin$' 20 >/dev/null || fail "no scan window appeared"
sleep 0.2
shot searching

# The search is over when no scan window has been seen for two seconds.
quiet=0
for ((i = 0; i < 1200 && quiet < 20; i++)); do
    if gone '^Face Morvelin$'; then quiet=$((quiet + 1)); else quiet=0; fi
    sleep 0.1
done
((quiet >= 20)) || fail "the search did not end"

# 6. The best result previewed, then dragged onto the photo viewer.
main_position
row_x=$((X + 250 + 90))
row_y=$((Y + 125 + 24 + 8))
click "$row_x" "$row_y"
sleep 1.5
shot results-preview

xdotool mousemove "$row_x" "$row_y" mousedown 1
sleep 0.3
for dx in 10 20 40 80; do
    xdotool mousemove $((row_x - dx)) "$row_y"
    sleep 0.1
done
xdotool mousemove 120 320
sleep 0.4
xdotool mousemove 130 330
sleep 0.4
xdotool mouseup 1
sleep 1
shot dropped

[[ -s $drops ]] || fail "nothing was dropped on the photo viewer"
echo "dropped:"
cat "$drops"
expected=$folder/$(basename "$shown")
[[ $(grep -c '^file' "$drops") == 1 ]] || fail "one photo was expected to be dragged"
grep -qxF "file	$expected" "$drops" || fail "the best result is not the photo the face came from"
grep -qxF "text	$expected|" "$drops" || fail "the dragged text is not the path followed by |"
echo "the face on the screen was found in $expected, listed first"
