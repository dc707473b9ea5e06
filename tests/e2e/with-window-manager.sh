#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Face Morvelin developers
# SPDX-License-Identifier: MIT
# A person's use of the program on a desktop with a window manager (openbox) and a tray (trayer),
# with the pointer moved in small steps and real clicks. Each way of giving a face - "Select a photo
# with a face to search..." after the welcome window (three faces of one man, Ctrl-clicked), F12, a
# click on the tray icon - is followed by a click on Search, and the search must run and list rows.
# Then a longer search is stopped with the Stop of a scan window: it must end with the rows found so
# far. Last, clicks that follow a button's appearance with the pointer held still: Stop right after
# Search at the same spot, Search right after Stop, and Search after the features check box's tooltip
# came up over it; every one of them must count. Runs inside xvfb-run; a screenshot of every step
# goes to OUT.
#
# Usage: with-window-manager.sh PROGRAM HELPER PHOTOS OUT
#   PROGRAM  face-morvelin, with the detector's files beside it
#   HELPER   e2e_helper (shows the photo, takes the drop, grabs the screen, reads a pixel)
#   PHOTOS   the test photos: astronaut.png and faces/*.jpg
# Exit status 77 (skipped) when the model, the photos or a desktop tool is missing.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/e2e-common.sh" "$@" openbox trayer xdotool xwininfo xprop
# The X11 tray, not a desktop bus one; the first start, with the welcome window.
unset DBUS_SESSION_BUS_ADDRESS

# A small folder for the three ways in, and a large one (links to the same photos) to stop.
small=$work/photos
large=$work/many
mkdir -p "$small" "$large"
cp "$photos"/faces/*.jpg "$photos/astronaut.png" "$small/"
for copy in $(seq 1 40); do
    # The astronaut is the face searched for: each round of copies holds her once.
    for photo in "$photos"/faces/*.jpg "$photos/astronaut.png"; do
        # Files of their own (hard links where they can be): the face index keeps symbolic links to
        # one photo as that photo, and would answer all but the first without a scan window.
        ln "$photo" "$large/$copy-$(basename "$photo")" 2>/dev/null || cp "$photo" "$large/$copy-$(basename "$photo")"
    done
done
large_count=$(find "$large" -type f | wc -l)

# The main window alone, as the README shows it: OUT/$1.png.
window_shot() {
    main_position
    "$helper" grab "$out/$1.png" "$X" "$Y" "$W" "$H"
}

# The pointer travels to the point in small steps, as a hand moves it.
glide() {
    local from
    from=$(xdotool getmouselocation --shell)
    local fx fy
    fx=$(sed -n 's/^X=//p' <<<"$from")
    fy=$(sed -n 's/^Y=//p' <<<"$from")
    for i in 1 2 3 4 5 6 7 8 9 10 11 12; do
        xdotool mousemove $((fx + ($1 - fx) * i / 12)) $((fy + ($2 - fy) * i / 12))
        sleep 0.02
    done
}

click() {
    glide "$1" "$2"
    sleep 0.2
    xdotool click 1
}

steel_blue='#396998'
pixel_is() { [[ $("$helper" pixel "$1" "$2") == "$3" ]]; }
pixel_is_not() { ! pixel_is "$@"; }

# Thumbnail $1 of the gallery's first line (48 x 48 in a 64-pixel grid from the gallery's top left),
# as FX and FY; FRAME_X is the left edge of the white frame a chosen face wears.
cell_of() {
    FX=$((X + 250 + 4 + 32 + 64 * $1))
    FY=$((Y + 125 + 4 + 32))
    FRAME_X=$((X + 250 + 64 * $1 + 5))
}

# Waits for thumbnail $2 - the first of the new picture's, after the faces still chosen - and
# clicks it.
choose_face() {
    main_position
    cell_of "$2"
    # Drawn first (its background at the top left), then the thumbnail in place.
    wait_until 10 pixel_is "$((X + 5))" "$((Y + 5))" "$steel_blue" || fail "the main window is not drawn"
    wait_until 30 pixel_is_not "$FX" "$FY" "$steel_blue" || fail "no face came into the gallery"
    shot "gallery-$1"
    click "$FX" "$FY"
    sleep 0.3
}

ctrl_click() {
    glide "$1" "$2"
    sleep 0.2
    xdotool keydown ctrl click 1 keyup ctrl
}

# The folder: "Browse..." is the picker's last entry; the dialog takes a typed path.
choose_folder() {
    main_position
    click $((X + 10 + 100)) $((Y + 232 + 10))
    sleep 0.5
    xdotool key End Return
    local dialog
    dialog=$(window_named '^Choose folder$' 20) || fail "the folder dialog did not open"
    sleep 0.5
    xdotool key --window "$dialog" ctrl+a
    xdotool type --delay 10 "$1"
    xdotool key Return
    wait_until 5 gone '^Choose folder$' || xdotool key Return
    wait_until 5 gone '^Choose folder$' || fail "the folder dialog did not take the folder"
}

# Every way in searches the same folder: without emptying the face index the later searches would be
# answered from it, and show no scan window to tell that they ran.
forget_faces() {
    "$program" index --clear >/dev/null || fail "the face index could not be emptied"
}

# Search, and Stop in its place: the middle of the button, as SX and SY.
search_spot() {
    main_position
    SX=$((X + 115 + 62))
    SY=$((Y + 316 + 12))
}

click_search() {
    forget_faces
    main_position
    click $((X + 115 + 62)) $((Y + 316 + 12))
    window_named '^Face Morvelin$' 20 >/dev/null || fail "Search did not start a search after $1"
}

# Whether the search ended within $1 seconds: no scan window seen for two seconds.
ended_within() {
    local quiet=0 tries=$(($1 * 10))
    for ((i = 0; i < tries && quiet < 20; i++)); do
        if gone '^Face Morvelin$'; then quiet=$((quiet + 1)); else quiet=0; fi
        sleep 0.1
    done
    ((quiet >= 20))
}

wait_for_the_end() {
    ended_within 180 || fail "the search did not end"
}

# Every row of the result list, selected and dragged onto the photo viewer: prints how many came.
rows_listed() {
    main_position
    local row_x=$((X + 250 + 90)) row_y=$((Y + 125 + 24 + 8))
    : >"$drops"
    click "$row_x" "$row_y"
    xdotool key ctrl+a
    sleep 0.3
    xdotool mousedown 1
    sleep 0.2
    for dx in 10 20 40 80; do
        xdotool mousemove $((row_x - dx)) "$row_y"
        sleep 0.1
    done
    glide 120 320
    sleep 0.4
    xdotool mousemove 130 330
    sleep 0.4
    xdotool mouseup 1
    wait_until 5 test -s "$drops" || true
    grep -c '^file' "$drops" || true
}

# 1. The desktop: a window manager, a tray, a photo with a face; the program's first start.
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_until 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "openbox did not start"
trayer --edge top --align right --widthtype request --height 26 >/dev/null 2>&1 &
pids+=($!)
"$helper" show "$photos/astronaut.png" "$drops" &
pids+=($!)
viewer=$(window_named '^Photo viewer$' 20) || fail "the photo is not on the screen"
"$program" 2>"$out/program.log" &
pids+=($!)
welcome=$(window_named '^Face Morvelin$' 20) || fail "the welcome window did not come up"
sleep 1
shot welcome

# 2. The welcome window closed, "Select a photo with a face to search..." in the middle of the
# gallery, a photo chosen, its face chosen, a folder chosen, Search.
xdotool windowactivate --sync "$welcome"
xdotool key alt+F4
wait_until 10 gone '^Face Morvelin$' || fail "the welcome window did not close"
main_position
# In the middle of the gallery, which ends 55 pixels above the window's outer bottom edge.
frame=$(xprop -id "$main" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ' ')
IFS=, read -r left right top bottom <<<"${frame:-0,0,0,0}"
click $((X + (250 + W + left + right - 30) / 2)) $((Y + (125 + H + top + bottom - 55) / 2))
dialog=$(window_named '^Choose the image file$' 20) || fail "\"Select a photo...\" did not open the photo dialog"
sleep 0.5
xdotool type --delay 10 "$small/bald_guys.jpg"
xdotool key Return
wait_until 10 gone '^Choose the image file$' || fail "the photo dialog did not take the photo"
main_position
cell_of 0
wait_until 30 pixel_is_not "$FX" "$FY" "$steel_blue" || fail "no face came into the gallery"
shot gallery-photo
# Faces 1, 3 and 6 are the same man's.
for cell in 0 2 5; do
    cell_of $cell
    ctrl_click "$FX" "$FY"
    wait_until 5 pixel_is "$FRAME_X" "$FY" '#ffffff' || fail "a Ctrl-click did not add face $((cell + 1))"
done
sleep 0.3
shot gallery-several-faces
window_shot gallery-several-faces
choose_folder "$small"
# Compared as brightness grids this once: many photos match, each by a face of its own, and the list
# shows which.
features_box() {
    main_position
    click $((X + 17)) $((Y + 297))
}
features_box
click_search "a chosen photo"
shot searching-photo
wait_for_the_end
# The second row previewed, its face framed on the photo (rows of 52 pixels under an 18-pixel heading).
main_position
click $((X + 250 + 150)) $((Y + 125 + 18 + 52 + 26))
sleep 1
shot results-face-thumbnails
window_shot results-face-thumbnails
rows=$(rows_listed)
features_box
echo "after a chosen photo: $rows rows"
((rows >= 1)) || fail "the search after a chosen photo listed no rows"

# 3. F12 while the photo viewer, clicked, has the focus.
click 200 300
xdotool key F12
wait_until 5 gone '^Face Morvelin Version' || fail "the window did not step aside for F12"
# After the three faces still chosen.
choose_face f12 3
click_search "F12"
wait_for_the_end
rows=$(rows_listed)
echo "after F12: $rows rows"
((rows >= 1)) || fail "the search after F12 listed no rows"

# 4. A click on the tray icon.
icon=$(xwininfo -root -tree | grep -A8 '"panel"' | grep '"Face Morvelin"' | awk '{print $1}' | head -n 1)
[[ -n $icon ]] || fail "no tray icon in the tray"
origin_of "$icon"
click $((X + W / 2)) $((Y + H / 2))
wait_until 5 gone '^Face Morvelin Version' || fail "the window did not step aside for the tray click"
choose_face tray 1
click_search "a tray click"
wait_for_the_end
rows=$(rows_listed)
echo "after a tray click: $rows rows"
((rows >= 1)) || fail "the search after a tray click listed no rows"

# 5. A long search, stopped with a scan window's Stop once some rows are in.
choose_folder "$large"
click_search "choosing a large folder"
main_position
# The first row's file icon on the list's white: gone with the last search's rows, then this one's.
wait_until 5 pixel_is $((X + 250 + 11)) $((Y + 125 + 18 + 9)) '#ffffff' || true
wait_until 60 pixel_is_not $((X + 250 + 11)) $((Y + 125 + 18 + 9)) '#ffffff' || fail "no row came in"
scan=$(window_named '^Face Morvelin$' 5) || fail "no scan window stayed on the screen"
origin_of "$scan"
shot scan-window
# The scan window's Stop: 1920, 3600, 1935 x 375 twips of 5820 x 4200, in a window that may be shown smaller.
click $((X + W * 192 / 388)) $((Y + H * 252 / 280))
wait_until 30 gone '^Face Morvelin$' || fail "the scan windows did not go after their Stop"
shot stopped
rows=$(rows_listed)
echo "stopped: $rows rows of $large_count photos"
((rows >= 1)) || fail "the stopped search kept no rows"
((rows < large_count * 3 / 4)) || fail "the scan window's Stop did not stop the search"

# 6-8. Clicks at a pointer held still since the button under it appeared. The whole folder takes
# minutes to scan; stopped, the scan windows go within seconds.
# Search's caption on its hot face, inside where a focus mark would be.
caption_shot() { "$helper" grab "$work/$1.png" $((SX - 40)) $((SY - 5)) 80 10; }
# The pointer is on Search and has been clicked ($1: after what, $2: the screenshot's name); Stop
# takes its place, and is clicked without a move.
stop_where_search_was() {
    window_named '^Face Morvelin$' 20 >/dev/null || fail "Search did not search $1"
    sleep 1
    shot "$2"
    xdotool click 1
    ended_within 20 || fail "Stop, right after Search under a pointer that did not move, did not stop the search $1"
}

# 6. Stop right after Search; 7. Search right after Stop, and Stop again, at the same spot.
search_spot
glide "$SX" "$SY"
sleep 0.5
caption_shot search-under-pointer
forget_faces
xdotool click 1
stop_where_search_was "after the pointer came to it" stop-under-still-pointer
shot stopped-under-still-pointer
caption_shot search-again
cmp -s "$work/search-under-pointer.png" "$work/search-again.png" || fail "Search did not come back in Stop's place"
forget_faces
xdotool click 1
stop_where_search_was "right after Stop" stop-again-under-still-pointer

# 8. Search after the features check box's tooltip, which comes up below the pointer, over Search:
# clicked at once where the tooltip lies, then after a hand's glide.
for way in jump glide; do
    main_position
    glide $((X + 17)) $((Y + 297))
    sleep 2
    shot "features-tooltip-$way"
    # The tooltip is the program's one window the window manager does not frame.
    tip_width=$(xwininfo -root -children | grep '("face-morvelin"' | grep -o ' [0-9]*x[0-9]*+' | cut -dx -f1 | head -n 1)
    ((${tip_width:-0} > 0 && tip_width <= 480)) || fail "the features tooltip is not a readable width: ${tip_width:-not shown}"
    search_spot
    forget_faces
    if [[ $way == jump ]]; then
        xdotool mousemove "$SX" "$SY" click 1
    else
        glide "$SX" "$SY"
        sleep 0.2
        xdotool click 1
    fi
    stop_where_search_was "after the tooltip ($way)" "search-after-tooltip-$way"
done
rows=$(rows_listed)
echo "stopped at the same spot: $rows rows of $large_count photos"
((rows < large_count * 3 / 4)) || fail "Stop at the same spot did not stop the search"
echo "every way in led to a search, a scan window's Stop stopped one, and every click at a still pointer counted"

# 9. Placed once: ten photos chosen with the header's "Select a photo..." (left of "Check for
# updates") leave the window where it stood; maximised, it takes the screen.
main_position
placed="$X $Y"
for round in $(seq 1 10); do
    click $((X + W + left + right - 224)) $((Y + 15))
    window_named '^Choose the image file$' 20 >/dev/null || fail "\"Select a photo...\" did not open the photo dialog"
    sleep 0.5
    xdotool type --delay 10 "$small/astronaut.png"
    xdotool key Return
    wait_until 10 gone '^Choose the image file$' || fail "the photo dialog did not take the photo"
    sleep 0.5
    main_position
    [[ "$X $Y" == "$placed" ]] || fail "photo $round moved the window from $placed to $X $Y"
done
xdotool mousemove $((X + W / 2)) $((Y - top / 2)) click --repeat 2 --delay 80 1
wait_until 5 sh -c "xwininfo -id $main | grep -q 'Width: 12[0-9][0-9]'" || fail "the window did not grow when maximised"
shot maximised
echo "ten chosen photos left the window in its place; maximised, it took the screen"
