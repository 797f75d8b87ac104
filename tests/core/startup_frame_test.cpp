// The editor's first frame with default settings, pixel for pixel against the picture kept in
// tests/data. KOVRIN_UPDATE_GOLDEN=1 rewrites that picture (look at it before committing).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "io/png_file.h"
#include "support/editor_fixture.h"
#include "support/frame_compare.h"

namespace {

class StartupFrame : public EditorFixture {};

TEST_F(StartupFrame, MatchesTheKeptPicture) {
  writeSettings("");  // every setting at its default
  start();
  ASSERT_TRUE(run(1));
  const ScreenInfo info = platform_.screenInfo();
  FramePicture shown{info.width, info.height, {}, {}};
  for (int y = 0; y < info.height; ++y)
    for (int x = 0; x < info.width; ++x) shown.pixels.push_back(platform_.rgbAt(x, y));
  const std::string golden = std::string(KOVRIN_SOURCE_DIR) + "/tests/data/startup_frame.png";
  if (const char* update = std::getenv("KOVRIN_UPDATE_GOLDEN");
      update && std::string(update) == "1") {
    ASSERT_TRUE(writePng(golden, shown.pixels.data(), shown.width, shown.height));
    GTEST_SKIP() << "rewrote " << golden;
  }
  const FramePicture kept = readPngPicture(golden);
  ASSERT_GT(kept.width, 0) << "cannot read " << golden << " (KOVRIN_UPDATE_GOLDEN=1 writes it)";
  EXPECT_TRUE(framesMatch("startup_frame", shown, kept));
}

}  // namespace
