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

void drawPanelFrame(Platform& p, uint32_t foreground, uint32_t background, int topRow,
                    int bottomRow) {
  const std::string frameRow(28, ' ');
  p.setTextColors(foreground, background);
  p.setTextCursor(topRow, 6);
  p.print(frameRow);
  for (int row = topRow + 1; row < bottomRow; ++row) {
    p.setTextCursor(row, 6);
    p.print(" ");
    p.setTextCursor(row, 33);
    p.print(" ");
  }
  p.setTextCursor(bottomRow, 6);
  p.print(frameRow);
}
