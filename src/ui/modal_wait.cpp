#include "ui/modal_wait.h"

namespace {
constexpr int kPollMs = 10;
constexpr double kRefreshInterval = 1.0 / 30.0;
}  // namespace

std::string waitForKey(Platform& p) {
  double lastRefresh = p.seconds();
  for (;;) {
    std::string key = p.readKey();
    if (!key.empty()) return key;
    p.sleepMs(kPollMs);
    const double now = p.seconds();
    if (now - lastRefresh >= kRefreshInterval) {
      p.refresh();
      lastRefresh = now;
    }
  }
}
