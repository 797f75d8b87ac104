# Helpers for the real-window tests: a private Xvfb display, the editor started in a fresh
# folder, its window found with xdotool, screenshots, and clean-up on every way out.
# Source this file; it is named .bash so the test glob (*.sh) does not run it on its own.
#
#   e2e_start_display            starts Xvfb on a free display, exports DISPLAY (screen size
#                                E2E_SCREEN, default 1280x1024x24)
#   e2e_make_workdir             fresh temporary folder in $E2E_WORKDIR (removed at exit)
#   e2e_start_editor BIN [ARGS]  starts BIN in $E2E_WORKDIR, waits for its window:
#                                sets E2E_PID and E2E_WINDOW (retries a start without window);
#                                its recovery files go to $E2E_WORKDIR/.state/kovrin
#   e2e_wait_exit SECONDS        waits for the editor to end, sets E2E_STATUS
#   e2e_screenshot FILE          saves the whole display as a PNG
#   e2e_focus                    gives the editor's window the keyboard focus
#   e2e_keys KEY...              xdotool key names, one after the other with a short pause
#   e2e_type TEXT                types the text (characters) into the window
#   e2e_alt                      presses and releases Alt slowly enough for one pass to see it
#   e2e_wait_file FILE SECS [N]  waits until FILE exists (and has N bytes), or fails
#   e2e_wait_title TEXT SECS     waits until the window title is TEXT, or fails
#   e2e_fail MESSAGE             prints the message and the editor's errors, saves a picture
#                                of the display to $E2E_ARTIFACTS (default /tmp), exits 1

E2E_XVFB_PID=""
E2E_PID=""
E2E_WINDOW=""
E2E_STATUS=""
E2E_WORKDIR=""
E2E_TMPDIRS=()

e2e_cleanup() {
  if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
    kill -KILL "$E2E_PID" 2>/dev/null || true
    wait "$E2E_PID" 2>/dev/null || true
  fi
  if [ -n "$E2E_XVFB_PID" ] && kill -0 "$E2E_XVFB_PID" 2>/dev/null; then
    kill -TERM "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
  fi
  local d
  for d in "${E2E_TMPDIRS[@]}"; do rm -rf "$d"; done
}
trap e2e_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

e2e_fail() {
  echo "FAIL: $*" >&2
  if [ -n "$E2E_XVFB_PID" ] && command -v import >/dev/null 2>&1; then
    local shot
    shot="${E2E_ARTIFACTS:-/tmp}/kovrin-e2e-$(basename "$0" .sh)-$$.png"
    import -window root "$shot" 2>/dev/null && echo "display saved as $shot" >&2
  fi
  if [ -n "$E2E_WORKDIR" ] && [ -s "$E2E_WORKDIR/.stderr" ]; then
    echo "--- editor stderr:" >&2
    cat "$E2E_WORKDIR/.stderr" >&2
  fi
  exit 1
}

e2e_require() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || e2e_fail "$tool is not installed (scripts/install-deps.sh)"
  done
}

# Starts Xvfb on the first display from :90 whose socket and lock file are free.
e2e_start_display() {
  e2e_require Xvfb xdotool
  local n tries
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${E2E_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
    E2E_XVFB_PID=$!
    for tries in $(seq 1 100); do
      if [ -S "/tmp/.X11-unix/X$n" ] && DISPLAY=":$n" xdotool getmouselocation >/dev/null 2>&1; then
        export DISPLAY=":$n"
        return 0
      fi
      kill -0 "$E2E_XVFB_PID" 2>/dev/null || break  # lost the race for this display
      sleep 0.1
    done
    kill -TERM "$E2E_XVFB_PID" 2>/dev/null || true
    wait "$E2E_XVFB_PID" 2>/dev/null || true
    E2E_XVFB_PID=""
  done
  e2e_fail "could not start Xvfb on any display :90..:140"
}

e2e_make_workdir() {
  E2E_WORKDIR=$(mktemp -d "${TMPDIR:-/tmp}/kovrin-e2e.XXXXXX")
  E2E_TMPDIRS+=("$E2E_WORKDIR")
}

# Starts the editor and waits for its window. Xvfb now and then refuses a client that
# connects while others come and go, and SDL then quietly ends up without a window:
# such a start is killed and made again, up to three tries.
e2e_start_editor() {
  local bin
  bin=$(realpath -e "$1" 2>/dev/null) || e2e_fail "no editor binary at '$1'"
  shift
  [ -x "$bin" ] || e2e_fail "'$bin' is not executable"
  [ -n "$E2E_WORKDIR" ] || e2e_make_workdir
  local try i
  for try in 1 2 3; do
    # Recovery files go to a folder of the test, never into the user's own.
    (cd "$E2E_WORKDIR" && exec env SDL_VIDEODRIVER=x11 XDG_STATE_HOME="$E2E_WORKDIR/.state" \
      "$bin" "$@" 2>"$E2E_WORKDIR/.stderr") &
    E2E_PID=$!
    E2E_WINDOW=""
    for i in $(seq 1 150); do
      E2E_WINDOW=$(xdotool search --onlyvisible --pid "$E2E_PID" --name '^KOVRIN' 2>/dev/null | head -n 1)
      [ -n "$E2E_WINDOW" ] && return 0
      kill -0 "$E2E_PID" 2>/dev/null || break
      sleep 0.1
    done
    echo "retry $try: window did not appear" >&2
    kill -KILL "$E2E_PID" 2>/dev/null || true
    wait "$E2E_PID" 2>/dev/null || true
    E2E_PID=""
  done
  e2e_fail "the editor's window did not appear in 3 tries"
}

# Waits up to SECONDS for the editor to end; E2E_STATUS gets its exit code ("" if it runs on).
e2e_wait_exit() {
  local seconds=$1 i
  E2E_STATUS=""
  for i in $(seq 1 $((seconds * 10))); do
    if ! kill -0 "$E2E_PID" 2>/dev/null; then
      wait "$E2E_PID"
      E2E_STATUS=$?
      E2E_PID=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Saves the whole display as a PNG (for looking at what the window shows).
e2e_screenshot() {
  e2e_require import
  import -window root "$1"
}

# With E2E_KEEP set to a folder, copies a picture there for looking at afterwards.
e2e_keep() {
  [ -n "${E2E_KEEP:-}" ] || return 0
  mkdir -p "$E2E_KEEP" && cp "$1" "$E2E_KEEP/$(basename "$0" .sh)-$(basename "$1" | sed 's/^\.//')"
}

# Window size as "WIDTHxHEIGHT".
e2e_window_size() {
  xdotool getwindowgeometry "$1" | sed -n 's/^ *Geometry: *//p'
}

e2e_focus() {
  xdotool windowfocus --sync "$E2E_WINDOW" 2>/dev/null || true
  sleep 0.1
}

# The editor takes one key per pass; a pause between keys keeps the test independent of
# how the key buffer and the modal waits share the keys.
e2e_keys() {
  xdotool key --delay 90 "$@"
  sleep 0.15
}

e2e_type() {
  xdotool type --delay 90 -- "$1"
  sleep 0.15
}

# The editor samples the held state of Alt once a pass and acts on the press edge.
e2e_alt() {
  xdotool keydown Alt_L
  sleep 0.2
  xdotool keyup Alt_L
  sleep 0.2
}

e2e_wait_file() {
  local file=$1 seconds=$2 size=${3:-} i
  for i in $(seq 1 $((seconds * 10))); do
    if [ -f "$file" ] && { [ -z "$size" ] || [ "$(stat -c %s "$file")" = "$size" ]; }; then
      return 0
    fi
    sleep 0.1
  done
  if [ -f "$file" ]; then
    e2e_fail "$file has $(stat -c %s "$file") bytes after ${seconds}s, expected $size"
  fi
  e2e_fail "$file did not appear within ${seconds}s"
}

e2e_wait_title() {
  local want=$1 seconds=$2 i title=""
  for i in $(seq 1 $((seconds * 10))); do
    title=$(xdotool getwindowname "$E2E_WINDOW" 2>/dev/null)
    [ "$title" = "$want" ] && return 0
    sleep 0.1
  done
  e2e_fail "window title is '$title', expected '$want'"
}

# Runs directly, this file only checks that it parses.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  exit 0
fi
