#!/usr/bin/env bash
# Keys and mouse as users of other programs expect, with real X events: on a desktop twice
# the mode's size the window opens at twice its size; the wheel zooms; a press made right
# after a long move does not turn the view; a larger window shows the same picture centred;
# Esc closes the focused menu; Ctrl+S saves, Ctrl+Shift+S saves as, Esc cancels Ctrl+O.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

bin=${1:?usage: journey_keys_and_wheel.sh path/to/kovrin}
e2e_require import convert
E2E_SCREEN=1920x1440x24
e2e_start_display
e2e_make_workdir
e2e_start_editor "$bin"
e2e_wait_title "KOVRIN - default.rq" 5
e2e_focus

# The window's picture as a checksum of its pixels, optionally cropped to GEOMETRY.
picture() {
  local shot="$E2E_WORKDIR/.$1.png"
  sleep 0.3
  import -window "$E2E_WINDOW" "$shot"
  e2e_keep "$shot"
  convert "$shot" ${2:+-crop "$2" +repage} rgb:- | md5sum | cut -c1-32
}

size=$(e2e_window_size "$E2E_WINDOW")
[ "$size" = 1600x1200 ] || e2e_fail "window is $size on a 1920x1440 desktop, expected 1600x1200"
start=$(picture start)

# Three notches up zoom in.
xdotool mousemove --window "$E2E_WINDOW" 800 600
sleep 0.2
xdotool click --repeat 3 --delay 80 4
zoomed=$(picture zoomed)
[ "$zoomed" != "$start" ] || e2e_fail "the wheel did not change the view"

# A press in the same instant as a 600-pixel move, then the release: the view stays.
xdotool mousemove --window "$E2E_WINDOW" 200 900 mousedown 1
sleep 0.2
xdotool mouseup 1
[ "$(picture pressed)" = "$zoomed" ] || e2e_fail "a press right after a move turned the view"

# A larger window: the same picture at the largest whole multiple (2), centred.
xdotool windowsize "$E2E_WINDOW" 1700 1300
sleep 0.3
[ "$(e2e_window_size "$E2E_WINDOW")" = 1700x1300 ] || e2e_fail "the window could not be resized"
[ "$(picture resized 1600x1200+50+50)" = "$zoomed" ] ||
  e2e_fail "the resized window does not show the picture centred at twice its size"

# Esc closes the menu that has the focus (F4 opens "Actions", F4 again focuses it).
e2e_keys F4 F4
[ "$(picture menu 1600x1200+50+50)" != "$zoomed" ] || e2e_fail "F4 showed no menu"
e2e_keys Escape
[ "$(picture closed 1600x1200+50+50)" = "$zoomed" ] || e2e_fail "Esc did not close the menu"

# Ctrl+S saves under the current name, Ctrl+Shift+S asks for one; Esc cancels Ctrl+O.
e2e_keys ctrl+s
e2e_wait_file "$E2E_WORKDIR/default.rq" 5
e2e_keys ctrl+shift+s
e2e_type 'b.rq'
e2e_keys Return
e2e_wait_file "$E2E_WORKDIR/b.rq" 5
e2e_wait_title "KOVRIN - b.rq" 5
e2e_keys ctrl+o
e2e_type 'default.rq'
e2e_keys Escape
sleep 0.3
e2e_wait_title "KOVRIN - b.rq" 5

e2e_keys alt+F4
e2e_wait_exit 5 || e2e_fail "Alt+F4 did not end the editor"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after Alt+F4"

echo "PASS: 2x window, wheel zoom, no jump on press, centred resize, Esc, Ctrl+S, Ctrl+Shift+S, Ctrl+O"
