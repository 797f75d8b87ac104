// Start-up to the first present with the default capacities over the headless platform,
// an idle pass of the real loop (its sleep is virtual there: the CPU it uses is what counts),
// and an STL import through the editor with its progress line.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <memory>

#include "bench_setup.h"
#include "core/editor.h"
#include "core/loop.h"
#include "core/platform/headless_platform.h"
#include "io/model_file.h"

namespace {

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

// The settings file is left out so the defaults (and 1,000,000-row arrays) are used.
std::string settingsPath() {
  return benchPath("no-such-KOVRIN.INI");
}

void startToFirstPresent(benchmark::State& state) {
  for (auto _ : state) {
    HeadlessPlatform platform;
    auto ed = std::make_unique<Editor>(platform);
    std::string messages;
    if (!startEditor(*ed, "", settingsPath(), messages)) {
      state.SkipWithError("start-up failed");
      break;
    }
    runPass(*ed);
    if (platform.presents() < 1) state.SkipWithError("no present in the first pass");
    benchmark::DoNotOptimize(platform.presents());
    state.PauseTiming();
    ed.reset();  // freeing the arrays is not part of the start-up
    state.ResumeTiming();
  }
}

void idlePass(benchmark::State& state) {
  HeadlessPlatform platform;
  Editor ed(platform);
  std::string messages;
  startEditor(ed, "", settingsPath(), messages);
  runPass(ed);  // serves the start-up requests
  runPass(ed);
  const double cpu0 = cpuSeconds();
  int64_t passes = 0;
  for (auto _ : state) {
    runPass(ed);
    ++passes;
  }
  const double perPass = (cpuSeconds() - cpu0) / static_cast<double>(passes);
  // 40 ms of sleep per idle pass: 1500 passes a minute.
  state.counters["cpu%/idle-minute"] = 100.0 * perPass * 1500.0 / 60.0;
}

void importWithProgress(benchmark::State& state) {
  const std::string path = torusStl(state.range(0) != 0);
  HeadlessPlatform platform;
  Editor ed(platform);
  std::string messages;
  startEditor(ed, "", settingsPath(), messages);
  runPass(ed);
  for (auto _ : state) {
    loadModelFile(ed, path);
    benchmark::ClobberMemory();
  }
  state.counters["refreshes"] = platform.refreshes();
}

}  // namespace

BENCHMARK(startToFirstPresent)->Unit(benchmark::kMillisecond);
BENCHMARK(idlePass)->Unit(benchmark::kMicrosecond);
BENCHMARK(importWithProgress)->ArgName("shuffled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
