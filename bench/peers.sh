#!/usr/bin/env bash
# Times the import of the same torus STL files (1,000,000 and 10,000,000 facets, natural and
# shuffled facet order) by admesh (exact edge check, its default work on a file), by
# `assimp info`, and by our import (read + weld + store), in one run, and prints the ratios;
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

# Median wall seconds of a command run $repeats times (output discarded).
median_seconds() {
  local times=()
  for _ in $(seq "$repeats"); do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    t1=$(date +%s.%N)
    times+=("$(echo "$t1 - $t0" | bc -l)")
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)   cores: $(nproc)"
printf '%-10s %-10s %10s %10s %10s %12s %12s %14s\n' facets order ours_ms admesh_ms assimp_ms \
  admesh/ours assimp/ours ours_extra_MB
for facets in $sizes; do
  capacities=""
  [ "$facets" -gt 1000000 ] && capacities="5000001 10000000"
  for order in natural shuffled; do
    file="$work/torus${facets}_${order}.stl"
    [ -f "$file" ] || "$tool" make "$facets" "$order" "$file" >/dev/null
    cat "$file" >/dev/null  # page cache warm for everyone
    # shellcheck disable=SC2086  # the capacities are two words or none
    ours=$("$tool" import "$file" "$repeats" $capacities)
    ours_ms=$(echo "$ours" | awk '{print $2}')
    extra_mb=$(echo "$ours" | awk '{printf "%.1f", $10 / 1024}')
    admesh_s=$(median_seconds admesh "$file")
    assimp_s=$(median_seconds assimp info "$file")
    admesh_ms=$(echo "$admesh_s * 1000" | bc -l)
    assimp_ms=$(echo "$assimp_s * 1000" | bc -l)
    printf '%-10s %-10s %10.1f %10.1f %10.1f %12.1f %12.1f %14s\n' "$facets" "$order" \
      "$ours_ms" "$admesh_ms" "$assimp_ms" "$(echo "$admesh_ms / $ours_ms" | bc -l)" \
      "$(echo "$assimp_ms / $ours_ms" | bc -l)" "$extra_mb"
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
  assimp_ms=$(echo "$(median_seconds assimp info "$file") * 1000" | bc -l)
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
run_timed() {  # prints "seconds peak_kib"
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$@" >/dev/null 2>&1 || true
  cat "$work/time.txt"
}
ours=() f3d=()
for _ in $(seq "$repeats"); do
  ours+=("$(unset DISPLAY; run_timed "$kovrin" --render "$stl" -o "$work/ours.png")")
  f3d+=("$(DISPLAY="$display" run_timed f3d --output "$work/f3d.png" --resolution 800,600 "$stl")")
done
median_of() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$0} END {print a[int((NR+1)/2)]}'; }
o=$(median_of "${ours[@]}") f=$(median_of "${f3d[@]}")
echo
printf '%-10s %10s %10s %12s %12s %10s %10s\n' render ours_s f3d_s f3d/ours ours_MB f3d_MB mem_ratio
read -r os om <<< "$o"
read -r fs fm <<< "$f"
printf '%-10s %10.3f %10.3f %12.1f %12.1f %10.1f %10.2f\n' torus1m "$os" "$fs" \
  "$(echo "$fs / $os" | bc -l)" "$(echo "$om / 1024" | bc -l)" "$(echo "$fm / 1024" | bc -l)" \
  "$(echo "$om / $fm" | bc -l)"
