#include <cstdio>
#include <string>
#include <vector>

#include "core/loop.h"
#include "core/platform/sdl_platform.h"
#include "core/tool_commands.h"
#include "core/usage.h"

int main(int argc, char** argv) {
  // The tools run without a window: no display, no settings file.
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (isToolCommand(args)) return runToolCommand(args, stdout, stderr);
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
  return runEditor(*platform, commandLine);
}
