#!/usr/bin/env bash
# Rubber-band selection: with "[_] select Tool" on (F3, "t"), a left drag over empty view
# selects nothing and a drag around the pyramid of the start-up model selects its six
# triangles; the selection bits are read back from the saved model.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

bin=${1:?usage: journey_rubber_band.sh path/to/kovrin}
e2e_start_display
e2e_make_workdir
e2e_start_editor "$bin"
e2e_wait_title "KOVRIN - default.rq" 5
e2e_focus

band() {  # window-relative corners
  xdotool mousemove --window "$E2E_WINDOW" "$1" "$2"
  sleep 0.15
  xdotool mousedown 1
  sleep 0.15
  xdotool mousemove --window "$E2E_WINDOW" "$(((${1} + ${3}) / 2))" "$(((${2} + ${4}) / 2))"
  sleep 0.1
  xdotool mousemove --window "$E2E_WINDOW" "$3" "$4"
  sleep 0.15
  xdotool mouseup 1
  sleep 0.3
}

# Saves the model under its current name and prints how many triangles are selected.
selected_after_save() {
  local file="$E2E_WORKDIR/default.rq"
  rm -f "$file"
  e2e_alt
  e2e_keys Down    # "  File" opens on the anchor of "Selection..." and replaces it
  e2e_type s
  e2e_wait_file "$file" 5 $((1221 + 12 * 9 + 15 * 6 + 8 * 4))
  python3 - "$file" <<'PY'
import struct, sys
d = open(sys.argv[1], "rb").read()
v, t = struct.unpack_from("<2i", d, 5)
flags = d[21 + 12 * v + 12 * t: 21 + 12 * v + 13 * t]
print(sum(1 for f in flags if f & 0x80))
PY
}

e2e_keys F3 F3   # "Selection..." with the focus
e2e_type t       # [_] select Tool
band 560 120 760 260           # empty view, right of the model
n=$(selected_after_save)
[ "$n" = 0 ] || e2e_fail "a band over empty view selected $n triangles"

e2e_keys F3 F3
e2e_type t       # the box was on; the menu reopened shows it, "t" turns it off ...
e2e_type t       # ... and on again
band 330 320 470 410           # around the pyramid in the middle of the view
e2e_screenshot "$E2E_WORKDIR/.band.png"
e2e_keep "$E2E_WORKDIR/.band.png"
n=$(selected_after_save)
[ "$n" = 6 ] || e2e_fail "a band around the pyramid selected $n triangles, expected 6"

e2e_type q
e2e_wait_exit 5 || e2e_fail "Quit did not end the editor"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after Quit"
echo "PASS: rubber band selects 0 triangles over empty view and all 6 around the pyramid"
