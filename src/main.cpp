#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/loop.h"
#include "app/tool_commands.h"
#include "core/platform/exit_signals.h"
#include "core/platform/sdl_platform.h"
#include "core/usage.h"

namespace {

int runProgram(int argc, char** argv) {
  // The tools run without a window: no display, no settings file.
  const std::vector<std::string> toolArgs(argv + (argc > 0 ? 1 : 0), argv + argc);
  if (isToolCommand(toolArgs)) return runToolCommand(toolArgs, stdout, stderr);
  const LaunchArgs args = parseLaunchArgs(argc, argv);
  if (!args.error.empty()) {
    std::fputs(args.error.c_str(), stderr);
    return 2;
  }
  const std::string& commandLine = args.commandLine;
  if (const auto info = commandLineInfo(commandLine)) {
    std::fputs(info->c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::unique_ptr<Platform> platform = makeSdlPlatform(args.windowScale);
  if (!platform) {
    std::fputs("kovrin: could not start the window system\n", stderr);
    return 1;
  }
  // After the window system, whose own SIGTERM handler this replaces.
  installExitSignals();
  return runEditor(*platform, commandLine);
}

}  // namespace

int main(int argc, char** argv) {
  // Nothing may end the program with an uncaught exception: say what happened, exit 1.
  try {
    return runProgram(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fputs("kovrin: out of memory\n", stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kovrin: %s\n", e.what());
  } catch (...) {
    std::fputs("kovrin: stopped by an unexpected error\n", stderr);
  }
  return 1;
}
