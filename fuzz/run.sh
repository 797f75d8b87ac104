#!/usr/bin/env bash
# Builds the fuzz preset and runs every libFuzzer target for the given seconds each
# (default 600). Usage: fuzz/run.sh [seconds] [target...]   (targets: model stl part settings prompt obj ply)
# Findings are kept as build/fuzz/artifacts/<target>-crash-*; the script then fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(model stl part settings prompt obj ply)

cmake --preset fuzz >/dev/null
cmake --build build/fuzz -j "${JOBS:-2}" --target kovrin_fuzz_seeds \
  $(printf '%s_fuzz ' "${targets[@]}") >/dev/null

work=build/fuzz/work
rm -rf build/fuzz/seeds
./build/fuzz/fuzz/kovrin_fuzz_seeds build/fuzz/seeds
mkdir -p build/fuzz/artifacts
status=0
for t in "${targets[@]}"; do
  mkdir -p "$work/$t"
  echo "fuzz: $t for ${seconds}s"
  # The first folder collects new inputs; the seeds and the committed corpus are read only.
  if ! ASAN_OPTIONS=detect_leaks=0 ./build/fuzz/fuzz/"${t}_fuzz" -max_total_time="$seconds" \
      -dict=fuzz/kovrin.dict -max_len=4096 -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
      -artifact_prefix="build/fuzz/artifacts/$t-" \
      "$work/$t" build/fuzz/seeds/"$t" fuzz/corpus/"$t" 2> "build/fuzz/$t.log"; then
    echo "fuzz: $t FOUND A FAULT (see build/fuzz/$t.log and build/fuzz/artifacts/)" >&2
    tail -n 40 "build/fuzz/$t.log" >&2
    status=1
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "build/fuzz/$t.log" || true
done
exit $status
