#!/usr/bin/env bash
# Times the import of the same torus STL files (1,000,000 and 10,000,000 facets, natural and
# shuffled facet order) by admesh (exact edge check, its default work on a file), by
# `assimp info`, and by our import (read + weld + store), in one run with the three
# interleaved, and prints medians of wall and CPU (user + system) time and the ratios;
# then the OBJ and PLY import of the 1M torus against `assimp info`, and `kovrin --render`
# against `f3d --output`.
# The 10M files are 500 MB each; our import of them uses maxv = 5,000,001, maxt = 10,000,000.
# Usage: bench/peers.sh [BUILD_DIR] [REPEATS] [FACET COUNTS]
#   (BUILD_DIR defaults to build/release, REPEATS to 5, FACET COUNTS to "1000000 10000000")
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build/release}"
repeats="${2:-5}"
sizes="${3:-1000000 10000000}"
tool="$build/bench/kovrin_stltool"
[ -x "$tool" ] || { echo "build $tool first (make bench or cmake --build --preset release)"; exit 1; }
work="${KOVRIN_BENCH_DIR:-${TMPDIR:-/tmp}/kovrin_bench}"
mkdir -p "$work"

# "wall_seconds cpu_seconds peak_kib" of one run of a command (output discarded).
run_timed() {
  /usr/bin/time -f '%e %U %S %M' -o "$work/time.txt" "$@" >/dev/null 2>&1 || true
  awk '{printf "%s %.3f %s\n", $1, $2 + $3, $4}' "$work/time.txt"
}
# The median of one column (1-based) of the lines given.
median_col() {
  local col=$1
  shift
  printf '%s\n' "$@" | awk -v c="$col" '{print $c}' | sort -g |
    awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)   cores: $(nproc)"
echo "(runs interleaved: ours, admesh, assimp, $repeats times; medians; cpu = user + system)"
printf '%-10s %-9s %9s %9s %10s %10s %10s %10s %9s %9s %11s\n' facets order ours_ms ours_cpu \
  admesh_ms admesh_cpu assimp_ms assimp_cpu ad/ours as/ours ours_xtraMB
for facets in $sizes; do
  capacities=""
  [ "$facets" -gt 1000000 ] && capacities="5000001 10000000"
  for order in natural shuffled; do
    file="$work/torus${facets}_${order}.stl"
    [ -f "$file" ] || "$tool" make "$facets" "$order" "$file" >/dev/null
    cat "$file" >/dev/null  # page cache warm for everyone
    ours=() admesh_runs=() assimp_runs=()
    for _ in $(seq "$repeats"); do
      # shellcheck disable=SC2086  # the capacities are two words or none
      ours+=("$("$tool" import "$file" 1 $capacities | awk '{print $2, $10, $8}')")
      admesh_runs+=("$(run_timed admesh "$file")")
      assimp_runs+=("$(run_timed assimp info "$file")")
    done
    ours_ms=$(median_col 1 "${ours[@]}")
    ours_cpu=$(median_col 2 "${ours[@]}")
    extra_mb=$(echo "$(median_col 3 "${ours[@]}") / 1024" | bc -l)
    admesh_ms=$(echo "$(median_col 1 "${admesh_runs[@]}") * 1000" | bc -l)
    admesh_cpu=$(echo "$(median_col 2 "${admesh_runs[@]}") * 1000" | bc -l)
    assimp_ms=$(echo "$(median_col 1 "${assimp_runs[@]}") * 1000" | bc -l)
    assimp_cpu=$(echo "$(median_col 2 "${assimp_runs[@]}") * 1000" | bc -l)
    printf '%-10s %-9s %9.1f %9.1f %10.1f %10.1f %10.1f %10.1f %9.1f %9.1f %11.1f\n' "$facets" \
      "$order" "$ours_ms" "$ours_cpu" "$admesh_ms" "$admesh_cpu" "$assimp_ms" "$assimp_cpu" \
      "$(echo "$admesh_ms / $ours_ms" | bc -l)" "$(echo "$assimp_ms / $ours_ms" | bc -l)" "$extra_mb"
  done
done

# The same torus as OBJ and PLY (written by our --convert): our import against `assimp info`.
kovrin="$build/kovrin"
[ -x "$kovrin" ] || { echo "build $kovrin first"; exit 1; }
stl="$work/torus1000000_natural.stl"
[ -f "$stl" ] || "$tool" make 1000000 natural "$stl" >/dev/null
echo
printf '%-10s %10s %10s %12s\n' format ours_ms assimp_ms assimp/ours
for fmt in obj ply; do
  file="$work/torus1m.$fmt"
  [ -f "$file" ] || "$kovrin" --convert "$stl" "$file"
  cat "$file" >/dev/null
  ours_ms=$("$tool" import "$file" "$repeats" | awk '{print $2}')
  runs=()
  for _ in $(seq "$repeats"); do runs+=("$(run_timed assimp info "$file")"); done
  assimp_ms=$(echo "$(median_col 1 "${runs[@]}") * 1000" | bc -l)
  printf '%-10s %10.1f %10.1f %12.1f\n' "$fmt" "$ours_ms" "$assimp_ms" \
    "$(echo "$assimp_ms / $ours_ms" | bc -l)"
done

# Picturing the torus STL as an 800x600 PNG: `kovrin --render` (no display) against
# `f3d --output` (under Xvfb), wall seconds (median) and peak resident memory, interleaved.
display=":$((100 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
sleep 1
ours=() f3d=()
for _ in $(seq "$repeats"); do
  ours+=("$(unset DISPLAY; run_timed "$kovrin" --render "$stl" -o "$work/ours.png")")
  f3d+=("$(DISPLAY="$display" run_timed f3d --output "$work/f3d.png" --resolution 800,600 "$stl")")
done
echo
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-9s %8s %8s %8s %8s %9s %8s %8s %9s\n' render ours_s ours_cpu f3d_s f3d_cpu f3d/ours \
  ours_MB f3d_MB mem_ratio
os=$(median_col 1 "${ours[@]}") oc=$(median_col 2 "${ours[@]}") om=$(median_col 3 "${ours[@]}")
fs=$(median_col 1 "${f3d[@]}") fc=$(median_col 2 "${f3d[@]}") fm=$(median_col 3 "${f3d[@]}")
printf '%-9s %8.3f %8.3f %8.3f %8.3f %9.1f %8.1f %8.1f %9.2f\n' torus1m "$os" "$oc" "$fs" "$fc" \
  "$(echo "$fs / $os" | bc -l)" "$(echo "$om / 1024" | bc -l)" "$(echo "$fm / 1024" | bc -l)" \
  "$(echo "$om / $fm" | bc -l)"
