#include "render/render_threads.h"

#include "model/parallel_for.h"

// The renderer shares the one pool of the program (model/parallel_for), so the cores are never
// asked for more threads than they have.
int renderThreadCount() {
  return parallelThreadCount();
}

void setRenderThreadCount(int n) {
  setParallelThreadCount(n);
}

void runRenderParts(int parts, const std::function<void(int)>& part) {
  runParallelParts(parts, part);
}
