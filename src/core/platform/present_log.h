// For measuring input-to-screen latency from outside: with KOVRIN_PRESENT_LOG=FILE the window
// appends one line per presented frame: "<steady clock ns> <mouse motions since the last
// frame> <ns when the first of them was read>" (the steady clock is CLOCK_MONOTONIC, which
// another process can read too).
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

struct PresentLog {
  struct Close {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Close> file;  // empty: not logging
  int motions = 0;
  int64_t firstMotionNs = 0;

  void noteMotion();
  void presented();
};

// Opens the log when `path` names one (appending), else returns a log that does nothing.
PresentLog openPresentLog(const char* path);
