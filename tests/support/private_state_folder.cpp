// Recovery files written by the tests go to a folder of this test process, removed at exit,
// never into the user's own state folder.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::filesystem::path& stateFolder() {
  static std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kovrin_test_state_" + std::to_string(::getpid()));
  return folder;
}

void removeStateFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(stateFolder(), ignored);
}

const bool kPrivateStateFolder = [] {
  setenv("XDG_STATE_HOME", stateFolder().c_str(), 1);
  std::atexit(removeStateFolder);
  return true;
}();

}  // namespace
