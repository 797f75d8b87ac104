#!/usr/bin/env bash
# Makes the README's picture of the editor: the real window under Xvfb, the cube of the
# first session built, "create Primitive" and "new cUbe" open, cropped to the window.
#   scripts/docs-screenshot.sh path/to/kovrin docs/screenshot.png
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/lib.bash"

bin=${1:?usage: docs-screenshot.sh path/to/kovrin OUTPUT.png}
out=${2:?usage: docs-screenshot.sh path/to/kovrin OUTPUT.png}
e2e_require import convert
e2e_start_display
e2e_make_workdir
e2e_start_editor "$bin"
e2e_wait_title "KOVRIN - default.rq" 5
e2e_focus

e2e_keys F2 F2    # "create Primitive" with the focus
e2e_type u        # "new cUbe"
e2e_type 1
e2e_type 60
e2e_keys Tab
e2e_type 0
e2e_keys Tab
e2e_type 0
e2e_keys Tab
e2e_type 30
e2e_keys Return
e2e_type .        # create
e2e_keys F3       # "Selection..." replaces "create Primitive"; "new cUbe" stays beside it
# A short left drag in the view turns the model a little.
xdotool mousemove --window "$E2E_WINDOW" 600 520
sleep 0.15
xdotool mousedown 1
sleep 0.15
xdotool mousemove --window "$E2E_WINDOW" 640 505
sleep 0.3
xdotool mouseup 1
xdotool mousemove --window "$E2E_WINDOW" 790 590
sleep 0.5

read -r x y < <(xdotool getwindowgeometry "$E2E_WINDOW" |
  sed -n 's/^ *Position: *\([0-9]*\),\([0-9]*\).*/\1 \2/p')
read -r w h < <(e2e_window_size "$E2E_WINDOW" | tr x ' ')
e2e_screenshot "$E2E_WORKDIR/.root.png"
convert "$E2E_WORKDIR/.root.png" -crop "${w}x${h}+${x}+${y}" +repage -strip "$out" ||
  e2e_fail "could not crop the picture"
xdotool key alt+F4
e2e_wait_exit 5 || true
echo "wrote $out (${w}x${h})"
