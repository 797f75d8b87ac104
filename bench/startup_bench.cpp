// Start-up to the first present with the default capacities over the headless platform,
// an idle pass of the real loop (its sleep is virtual there: the CPU it uses is what counts),
// and an STL import through the editor with its progress line.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <memory>

#include "app/loop.h"
#include "bench_setup.h"
#include "core/editor.h"
#include "core/open_model.h"
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

// A settings file with maxv = maxt = 10,000,000 (the rest as the defaults).
std::string tenMillionSettingsPath() {
  const std::string path = benchPath("KOVRIN-10M.INI");
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "mode = 19\r\ncdep = 32\r\nrdet = 1\r\nmaxv = 10000000\r\nmaxt = 10000000\r\n"
         "maxl = 1000\r\n";
  return path;
}

// Pages of this process in memory now, in MB.
double residentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Argument: 0 the default capacities, 1 maxv = maxt = 10,000,000. The counter is the memory
// the started editor holds (resident pages after the first present less those before).
void startToFirstPresent(benchmark::State& state) {
  const std::string settings = state.range(0) != 0 ? tenMillionSettingsPath() : settingsPath();
  double startedMegabytes = 0.0;
  for (auto _ : state) {
    const double before = residentMegabytes();
    HeadlessPlatform platform;
    auto ed = std::make_unique<Editor>(platform);
    std::string messages;
    if (!startEditor(*ed, "", settings, messages)) {
      state.SkipWithError("start-up failed");
      break;
    }
    runPass(*ed);
    if (platform.presents() < 1) state.SkipWithError("no present in the first pass");
    benchmark::DoNotOptimize(platform.presents());
    state.PauseTiming();
    startedMegabytes = residentMegabytes() - before;
    ed.reset();  // freeing the arrays is not part of the start-up
    state.ResumeTiming();
  }
  state.counters["startedMB"] = startedMegabytes;
}

// One iteration is 1500 idle passes, a minute of the real loop (40 ms of sleep each, which
// is virtual here, so only the work counts). The counter extrapolates the CPU share.
void idleMinute(benchmark::State& state) {
  HeadlessPlatform platform;
  platform.setIdleCloseAfter(1 << 30);
  Editor ed(platform);
  std::string messages;
  startEditor(ed, "", settingsPath(), messages);
  runPass(ed);  // serves the start-up requests
  runPass(ed);
  const double cpu0 = cpuSeconds();
  int64_t minutes = 0;
  for (auto _ : state) {
    for (int i = 0; i < 1500; ++i)
      if (!runPass(ed)) state.SkipWithError("the loop ended");
    ++minutes;
  }
  const double perMinute = (cpuSeconds() - cpu0) / static_cast<double>(minutes);
  state.counters["cpu%"] = 100.0 * perMinute / 60.0;
  state.counters["presents"] = platform.presents();
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

BENCHMARK(startToFirstPresent)
    ->ArgName("tenMillion")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(idleMinute)->Unit(benchmark::kMillisecond);
BENCHMARK(importWithProgress)->ArgName("shuffled")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
