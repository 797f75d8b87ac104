#include <cstdio>

#include "core/exit_signals.h"
#include "core/loop.h"
#include "core/platform/sdl_platform.h"
#include "core/usage.h"

int main(int argc, char** argv) {
  const std::string commandLine = joinCommandLine(argc, argv);
  if (const auto info = commandLineInfo(commandLine)) {
    std::fputs(info->c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::unique_ptr<Platform> platform = makeSdlPlatform();
  if (!platform) {
    std::fputs("kovrin: could not start the window system\n", stderr);
    return 1;
  }
  // After the window system, whose own SIGTERM handler this replaces.
  installExitSignals();
  return runEditor(*platform, commandLine);
}
