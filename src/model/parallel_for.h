// Work over many rows split between the cores. KOVRIN_THREADS=N (1 to 16) sets how many
// threads take part, 1 being the plain single-threaded path; without it, one per core (at
// most 16). Each row is worked on exactly as by one thread, so results never depend on the
// split.
#pragma once

#include <cstdint>
#include <functional>

// How many threads a split uses.
int parallelThreadCount();
// For tests and benchmarks: use n threads from now on (1 to 16).
void setParallelThreadCount(int n);

// Runs part(0) .. part(parts - 1), each on its own thread (part 0 on the caller's), and returns
// when all are done; parts beyond the threads started, or a call from inside another split, run
// on the caller's thread.
void runParallelParts(int parts, const std::function<void(int)>& part);
// Runs body(begin, end) over consecutive ranges that together cover rows 0 .. n - 1, one range
// per thread (the first on the caller's) and each at least `grain` rows long, and returns when
// all are done. Fewer rows than two grains, or a call from inside another split: body(0, n) on
// the caller's thread. One thread at a time may split (the editor's own thread).
void parallelFor(int64_t n, int64_t grain, const std::function<void(int64_t, int64_t)>& body);
