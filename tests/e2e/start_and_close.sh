#!/usr/bin/env bash
# The real editor under Xvfb: its 800x600 window "KOVRIN - default.rq" appears, the missing
# settings file is created with the default text, and both the window's close request and
# Alt+F4 end the program with exit code 0.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/lib.bash"

bin=${1:?usage: start_and_close.sh path/to/kovrin}
e2e_start_display

# 1. Start in an empty folder, look at the window and the settings file.
e2e_make_workdir
e2e_start_editor "$bin"
size=$(e2e_window_size "$E2E_WINDOW")
[ "$size" = "800x600" ] || e2e_fail "window is $size, expected 800x600"
e2e_wait_title "KOVRIN - default.rq" 5

expected="$E2E_WORKDIR/.expected.ini"
printf '%s\r\n' \
  "'''' settings file for KOVRIN" \
  "''''" \
  "'''' screen modes:" \
  "''''" \
  "''''    13 - 320x200    14 - 320x240    15 - 400x300" \
  "''''    16 - 512x384    17 - 640x400    18 - 640x480" \
  "''''    19 - 800x600    20 - 1024x768   21 - 1280x1024" \
  "''''" \
  "mode = 19" \
  "" \
  "'''' color depth: 8,15,16, or 32" \
  "''''" \
  "cdep = 32" \
  "" \
  "'''' detail level: 0 = low, 1 = normal, 2 = antialiased" \
  "''''" \
  "rdet = 1" \
  "" \
  "'''' maxv, maxt, maxl" \
  "'''' the maximum numbers of verteces, triangles, and lines" \
  "'''' determines how much memory is allocated" \
  "''''" \
  "maxv = 1000000" \
  "maxt = 1000000" \
  "maxl = 1000" >"$expected"
[ -f "$E2E_WORKDIR/KOVRIN.INI" ] || e2e_fail "KOVRIN.INI was not created"
cmp -s "$expected" "$E2E_WORKDIR/KOVRIN.INI" || {
  diff <(od -c "$expected") <(od -c "$E2E_WORKDIR/KOVRIN.INI") | head -20 >&2
  e2e_fail "KOVRIN.INI differs from the default text"
}

# 2. The close request (SIGTERM reaches SDL as the same quit event as the close button).
kill -TERM "$E2E_PID"
e2e_wait_exit 5 || e2e_fail "the editor did not end within 5 s of the close request"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after the close request, expected 0"

# 3. Alt+F4 typed into the window, with the settings file now present.
e2e_start_editor "$bin"
xdotool windowfocus --sync "$E2E_WINDOW" 2>/dev/null || true
xdotool key --clearmodifiers alt+F4
e2e_wait_exit 5 || e2e_fail "the editor did not end within 5 s of Alt+F4"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit code $E2E_STATUS after Alt+F4, expected 0"

echo "PASS: window 800x600, default KOVRIN.INI, close request and Alt+F4 end with 0"
