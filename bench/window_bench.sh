#!/usr/bin/env bash
# The real window under Xvfb: the memory the editor holds once its window shows the start-up
# model with the default settings (resident and peak, from /proc), then the latency from a mouse
# drag to the presented frame, in the real window under Xvfb, with the
# 1,000,000-triangle torus open: the view is dragged (orbit) in single pointer steps, each
# after the editor has gone idle, and each step's latency is the time from the pointer warp
# to the end of the first frame presented after it that saw the motion (the editor logs its
# presents with KOVRIN_PRESENT_LOG; both clocks are CLOCK_MONOTONIC). The conversion of the
# screen memory, the texture upload and the scaling are included.
# Prints median, 90th percentile and maximum per screen mode (19 = 800x600, 21 = 1280x1024).
# Usage: bench/window_bench.sh [BUILD_DIR] [STEPS]
set -u
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build/release}"
steps="${2:-40}"
work="${KOVRIN_BENCH_DIR:-${TMPDIR:-/tmp}/kovrin_bench}"
mkdir -p "$work"
torus="$work/torus1000000_natural.stl"
[ -f "$torus" ] || "$build/bench/kovrin_stltool" make 1000000 natural "$torus" >/dev/null
[ -x "$build/bench/kovrin_drag_probe" ] || { echo "build kovrin_drag_probe first (needs libx11-dev)"; exit 1; }

measure_mode() {
  local mode=$1
  export E2E_SCREEN=2560x2048x24
  source "$here/tests/e2e/lib.bash"
  e2e_start_display
  e2e_make_workdir
  printf 'mode = %s\r\nmaxv = 2000000\r\nmaxt = 2000000\r\n' "$mode" >"$E2E_WORKDIR/KOVRIN.INI"
  export KOVRIN_PRESENT_LOG="$E2E_WORKDIR/presents.log"
  e2e_start_editor "$build/kovrin" --scale 1 "$torus"
  e2e_wait_title "KOVRIN - ${torus%.stl}.rq" 30
  e2e_focus
  local geometry w h
  geometry=$(e2e_window_size "$E2E_WINDOW")
  w=${geometry%x*}
  h=${geometry#*x}
  # Press in the middle of the view (below the menu bar) and hold: every motion orbits.
  xdotool mousemove --window "$E2E_WINDOW" $((w / 2)) $((h / 2))
  sleep 0.5
  xdotool mousedown 1
  sleep 0.5
  "$build/bench/kovrin_drag_probe" "$E2E_WINDOW" $((w / 2)) $((h / 2)) "$steps" 6 150 \
    >"$E2E_WORKDIR/warps.log"
  xdotool mouseup 1
  sleep 0.3
  e2e_keys alt+F4
  e2e_wait_exit 10 || true
  # For each warp, the first present at or after it that saw motion.
  awk 'FNR == NR { if ($2 > 0) pt[++np] = $1; next }
       { before[++nw] = $1 }
       END {
         j = 1
         for (i = 1; i <= nw; ++i) {
           while (j <= np && pt[j] < before[i]) ++j
           if (j <= np) printf "%.2f\n", (pt[j] - before[i]) / 1e6
         }
       }' "$E2E_WORKDIR/presents.log" "$E2E_WORKDIR/warps.log" | sort -g >"$E2E_WORKDIR/latency.txt"
  awk -v mode="$mode" -v size="$geometry" '{ a[NR] = $1 }
    END {
      if (NR == 0) { printf "mode %s: no frames matched\n", mode; exit 1 }
      printf "mode %s (%s window): %d drags, latency median %.1f ms, p90 %.1f ms, max %.1f ms\n",
        mode, size, NR, a[int((NR + 1) / 2)], a[int(NR * 0.9 + 0.5)], a[NR]
    }' "$E2E_WORKDIR/latency.txt"
}

start_memory() {
  source "$here/tests/e2e/lib.bash"
  e2e_start_display
  e2e_make_workdir
  e2e_start_editor "$build/kovrin"
  e2e_wait_title "KOVRIN - default.rq" 10
  sleep 1
  awk '/^VmRSS|^VmHWM/ { printf "%s %.1f MB  ", $1, $2 / 1024 } END { print "" }' \
    "/proc/$E2E_PID/status" | sed 's/^/start-up, default settings: /'
  e2e_keys alt+F4
  e2e_wait_exit 10 || true
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)   cores: $(nproc)"
(start_memory)
for mode in 19 21; do
  (measure_mode "$mode")
done
