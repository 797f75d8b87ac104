#include "core/platform/present_log.h"

#include <chrono>
#include <cinttypes>

PresentLog openPresentLog(const char* path) {
  PresentLog log;
  if (path == nullptr || path[0] == '\0') return log;
  log.file.reset(std::fopen(path, "a"));
  if (!log.file) std::fprintf(stderr, "kovrin: cannot write the present log %s\n", path);
  return log;
}

namespace {

int64_t steadyNs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
}

}  // namespace

void PresentLog::noteMotion() {
  if (file && motions++ == 0) firstMotionNs = steadyNs();
}

void PresentLog::presented() {
  if (!file) return;
  std::fprintf(file.get(), "%" PRId64 " %d %" PRId64 "\n", steadyNs(), motions, firstMotionNs);
  std::fflush(file.get());
  motions = 0;
}
