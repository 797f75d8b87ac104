// The threads the renderer splits its work over: the program's one pool (model/parallel_for).
// KOVRIN_THREADS=N (1 to 16) sets how many take part, 1 being the plain single-threaded path;
// without it, one per core (at most 16).
#pragma once

#include <functional>

// The most threads the renderer ever splits a pass between.
constexpr int kMaxRenderThreads = 16;
// How many parts the renderer splits a pass into.
int renderThreadCount();
// For tests and benchmarks: use n threads from now on (1 to 16).
void setRenderThreadCount(int n);
// Runs part(0) .. part(parts - 1), each on its own thread (part 0 on the caller's), and
// returns when all are done. parts <= renderThreadCount().
void runRenderParts(int parts, const std::function<void(int)>& part);
