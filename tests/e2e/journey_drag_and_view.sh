#!/usr/bin/env bash
# The mouse: a menu window dragged with the right button stays where it was dropped, a
# left drag orbits and a right drag zooms the view, so the editor's own screenshot after
# them differs from the one taken at start.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

bin=${1:?usage: journey_drag_and_view.sh path/to/kovrin}
e2e_require import convert cmp
e2e_start_display
e2e_make_workdir
e2e_start_editor "$bin"
e2e_wait_title "KOVRIN - default.rq" 5
e2e_focus

# Window-relative positions: text cells are 8 x 16 pixels, rows and columns from 1.
cell_x() { echo $(((($1) - 1) * 8 + 4)); }
cell_y() { echo $(((($1) - 1) * 16 + 8)); }
# The colour of a window pixel in a picture of the whole display, as RRGGBB.
pixel() {
  local x y
  read -r x y < <(xdotool getwindowgeometry "$E2E_WINDOW" |
    sed -n 's/^ *Position: *\([0-9]*\),\([0-9]*\).*/\1 \2/p')
  convert "$1" -format "%[hex:u.p{$((x + $2)),$((y + $3))}]" info: | tail -c 6
}

e2e_alt
e2e_keys Down     # "  File" with the focus, at column 2 from row 4
e2e_type r        # save scReenshot: the view as it starts
e2e_wait_file "$E2E_WORKDIR/imageAAA.bmp" 5

# " Open" (row 6) is an action: its blank cells are the action colour C08080.
e2e_screenshot "$E2E_WORKDIR/.before.png"
[ "$(pixel "$E2E_WORKDIR/.before.png" "$(cell_x 14)" "$(cell_y 6)")" = C08080 ] ||
  e2e_fail "the File menu is not at its anchor before the drag"

# Right drag on " New" (row 5) by 40 columns and 15 rows.
xdotool mousemove --window "$E2E_WINDOW" "$(cell_x 5)" "$(cell_y 5)"
sleep 0.2
xdotool mousedown 3
sleep 0.2
xdotool mousemove --window "$E2E_WINDOW" "$(cell_x 45)" "$(cell_y 20)"
sleep 0.3
xdotool mouseup 3
sleep 0.2

# Left drag in the view orbits, right drag in the view zooms.
xdotool mousemove --window "$E2E_WINDOW" 620 460
sleep 0.1
xdotool mousedown 1
sleep 0.1
xdotool mousemove --window "$E2E_WINDOW" 700 480
sleep 0.3
xdotool mouseup 1
sleep 0.1
xdotool mousemove --window "$E2E_WINDOW" 620 300
sleep 0.1
xdotool mousedown 3
sleep 0.1
xdotool mousemove --window "$E2E_WINDOW" 620 360
sleep 0.3
xdotool mouseup 3
sleep 0.2

e2e_type r
e2e_wait_file "$E2E_WORKDIR/imageAAB.bmp" 5
cmp -s "$E2E_WORKDIR/imageAAA.bmp" "$E2E_WORKDIR/imageAAB.bmp" &&
  e2e_fail "the view did not change after orbit and zoom"

e2e_screenshot "$E2E_WORKDIR/.after.png"
e2e_keep "$E2E_WORKDIR/.before.png"
e2e_keep "$E2E_WORKDIR/.after.png"
moved=$(pixel "$E2E_WORKDIR/.after.png" "$(cell_x 54)" "$(cell_y 21)")
[ "$moved" = C08080 ] || e2e_fail "no File menu where it was dropped (pixel $moved)"
old=$(pixel "$E2E_WORKDIR/.after.png" "$(cell_x 14)" "$(cell_y 6)")
[ "$old" != C08080 ] || e2e_fail "the File menu is still at its anchor after the drag"

e2e_keys alt+F4
e2e_wait_exit 5 || e2e_fail "Alt+F4 did not end the editor"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after Alt+F4"
echo "PASS: File menu dragged 40 columns, 15 rows; orbit and zoom changed the view"
