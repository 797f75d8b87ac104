#include "core/platform/exit_signals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t exitSignal = 0;

void onExitSignal(int) {
  exitSignal = 1;
}

}  // namespace

void installExitSignals() {
  struct sigaction action {};
  action.sa_handler = onExitSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

bool exitSignalPending() {
  return exitSignal != 0;
}

void clearExitSignal() {
  exitSignal = 0;
}
