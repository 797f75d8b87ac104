#include <cstdio>

#include "core/loop.h"
#include "core/platform/sdl_platform.h"

int main(int argc, char** argv) {
  const std::string commandLine = joinCommandLine(argc, argv);
  std::unique_ptr<Platform> platform = makeSdlPlatform();
  if (!platform) {
    std::fputs("kovrin: could not start the window system\n", stderr);
    return 1;
  }
  return runEditor(*platform, commandLine);
}
