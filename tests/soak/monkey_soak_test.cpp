// The monkey soak: 20 000 seeded random events in the ordinary run; more with
// KOVRIN_SOAK_EVENTS, KOVRIN_SOAK_SEED and KOVRIN_SOAK_SEEDS (consecutive seeds), which is
// what `make soak` sets.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "soak/monkey_session.h"

namespace {

int64_t envNumber(const char* name, int64_t fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtoll(v, nullptr, 10) : fallback;
}

TEST(MonkeySoak, RandomSessionsKeepTheModelSound) {
  const int64_t events = envNumber("KOVRIN_SOAK_EVENTS", 20000);
  const int64_t firstSeed = envNumber("KOVRIN_SOAK_SEED", 20240611);
  const int64_t seeds = envNumber("KOVRIN_SOAK_SEEDS", 1);
  const auto folder =
      std::filesystem::temp_directory_path() / ("kovrin_monkey_soak_" + std::to_string(::getpid()));
  for (int64_t s = firstSeed; s < firstSeed + seeds; ++s) {
    std::filesystem::remove_all(folder);
    const MonkeyReport r = runMonkey(static_cast<uint64_t>(s), events, folder);
    EXPECT_EQ(r.fault, "") << "replay with KOVRIN_SOAK_SEED=" << s
                           << " KOVRIN_SOAK_EVENTS=" << r.events;
    EXPECT_EQ(r.events, events);
    // The session really ran: every event led to at least one pass.
    EXPECT_GT(r.passes, events);
    // Undo and redo really ran and were compared against earlier states.
    EXPECT_GT(r.undos, events / 100);
    EXPECT_GT(r.redos, events / 200);
    std::printf("soak seed %lld: %lld events, %lld passes, %lld sessions, %lld undos, %lld redos\n",
                static_cast<long long>(s), static_cast<long long>(r.events),
                static_cast<long long>(r.passes), static_cast<long long>(r.sessions),
                static_cast<long long>(r.undos), static_cast<long long>(r.redos));
    if (!r.fault.empty()) break;
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
