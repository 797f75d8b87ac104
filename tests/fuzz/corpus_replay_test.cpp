// Replays every committed fuzz input (past findings and edge cases) through the same checks
// the fuzzers run, so a fault once found stays fixed in the ordinary test run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_checks.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzCorpus, EveryCommittedInputPassesItsTargetsCheck) {
  const fs::path root = fs::path(KOVRIN_SOURCE_DIR) / "fuzz" / "corpus";
  ASSERT_TRUE(fs::is_directory(root)) << root;
  int files = 0;
  for (const auto& dir : fs::directory_iterator(root)) {
    if (!dir.is_directory()) continue;
    FuzzTarget target;
    ASSERT_TRUE(fuzzTargetByName(dir.path().filename().string(), target)) << dir.path();
    for (const auto& f : fs::directory_iterator(dir.path())) {
      if (!f.is_regular_file()) continue;
      const std::vector<uint8_t> b = bytesOf(f.path());
      EXPECT_EQ(runFuzzCheck(target, b.data(), b.size()), "") << f.path();
      ++files;
    }
  }
  EXPECT_GT(files, 20);  // the corpus is really there
}

}  // namespace
