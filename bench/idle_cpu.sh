#!/usr/bin/env bash
# CPU share of the real program left idle: runs the built binary in a window under Xvfb
# for SECONDS (default 60) with the default settings, then reads its user and system
# time from /proc and prints the percentage of one core.
# Usage: bench/idle_cpu.sh [BINARY] [SECONDS]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
binary="$(realpath "${1:-$here/build/release/kovrin}")"
seconds="${2:-60}"
[ -x "$binary" ] || { echo "build $binary first"; exit 1; }
work="$(mktemp -d)"
display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
sleep 1
(cd "$work" && DISPLAY="$display" SDL_AUDIODRIVER=dummy exec "$binary") >/dev/null 2>&1 &
app=$!
sleep 3  # start-up and the first renders are not idle time
read -r -a before <"/proc/$app/stat"
sleep "$seconds"
read -r -a after <"/proc/$app/stat"
ticks=$(getconf CLK_TCK)
used=$(((after[13] + after[14]) - (before[13] + before[14])))
echo "idle ${seconds}s: $used ticks of 1/${ticks}s -> $(echo "scale=3; 100 * $used / $ticks / $seconds" | bc -l) % of one core"
