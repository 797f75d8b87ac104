// Screenshots: names from the counter, BMP bytes, failed writes, and an outside reader.
#include "io/screenshot.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "io/file_test_support.h"
#include "render/render_passes.h"
#include "support/test_dir.h"

namespace fs = std::filesystem;

namespace {

class ScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = testDirectory(std::string("shot_") + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::vector<uint8_t> read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
  }
  static uint32_t le16(const std::vector<uint8_t>& b, size_t at) { return b[at] | b[at + 1] << 8; }
  // Files in the folder other than `keep`.
  int otherFiles(const std::string& keep) const {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir_)) n += e.path().filename() != keep;
    return n;
  }

  fs::path dir_;
};

TEST(ScreenshotName, LettersCountInBaseSixteen) {
  EXPECT_EQ(screenshotName(0), "imageAAA.bmp");
  EXPECT_EQ(screenshotName(1), "imageAAB.bmp");
  EXPECT_EQ(screenshotName(15), "imageAAP.bmp");
  EXPECT_EQ(screenshotName(16), "imageABA.bmp");
  EXPECT_EQ(screenshotName(255), "imageAPP.bmp");
  EXPECT_EQ(screenshotName(256), "imageBAA.bmp");
  EXPECT_EQ(screenshotName(4095), "imagePPP.bmp");
  EXPECT_EQ(screenshotName(4096), "");
  EXPECT_EQ(screenshotName(-1), "");
}

TEST_F(ScreenshotTest, HeaderAndSizeAtFullDetail) {
  RenderBuffers rb;
  ASSERT_TRUE(allocateRenderBuffers(rb, 800, 600, 1));
  int counter = 0;
  const EditResult r = saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight,
                                      counter, dir_.string());
  EXPECT_EQ(r.message, kMsgScreenshotSaved);
  EXPECT_EQ(r.request, Request::Present);
  EXPECT_EQ(counter, 1);
  const auto b = read(dir_ / "imageAAA.bmp");
  ASSERT_EQ(b.size(), 54u + 1440000u);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(le32(b, 2), 54u + 1440000u);
  EXPECT_EQ(le32(b, 6), 0u);
  EXPECT_EQ(le32(b, 10), 54u);
  EXPECT_EQ(le32(b, 14), 40u);
  EXPECT_EQ(le32(b, 18), 800u);
  EXPECT_EQ(le32(b, 22), 600u);
  EXPECT_EQ(le16(b, 26), 1u);
  EXPECT_EQ(le16(b, 28), 24u);
  EXPECT_EQ(le32(b, 30), 0u);
  EXPECT_EQ(le32(b, 34), 1440000u);
  EXPECT_EQ(le32(b, 38), 3780u);
  EXPECT_EQ(le32(b, 42), 3780u);
  EXPECT_EQ(le32(b, 46), 0u);
  EXPECT_EQ(le32(b, 50), 0u);
  EXPECT_EQ(otherFiles("imageAAA.bmp"), 0);
}

TEST_F(ScreenshotTest, RowsBottomUpBlueGreenRedAtHalfDetail) {
  RenderBuffers rb;
  ASSERT_TRUE(allocateRenderBuffers(rb, 800, 600, 0));
  ASSERT_EQ(rb.renderWidth, 400);
  rb.frameBuffer[299 * 400 + 0] = 0x00FF8000;  // bottom-left: first in the file
  rb.frameBuffer[0 * 400 + 399] = 0x00123456;  // top-right: last in the file
  int counter = 16;
  saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight, counter, dir_.string());
  EXPECT_EQ(counter, 17);
  const auto b = read(dir_ / "imageABA.bmp");
  ASSERT_EQ(b.size(), 54u + 3u * 400u * 300u);
  EXPECT_EQ(le32(b, 18), 400u);
  EXPECT_EQ(le32(b, 22), 300u);
  EXPECT_EQ(b[54], 0x00);
  EXPECT_EQ(b[55], 0x80);
  EXPECT_EQ(b[56], 0xFF);
  EXPECT_EQ(b[b.size() - 3], 0x56);
  EXPECT_EQ(b[b.size() - 2], 0x34);
  EXPECT_EQ(b[b.size() - 1], 0x12);
}

TEST_F(ScreenshotTest, ReplacesAnOlderLongerFileWhole) {
  { std::ofstream(dir_ / "imageAAA.bmp", std::ios::binary) << std::string(100000, 'x'); }
  RenderBuffers rb;
  ASSERT_TRUE(allocateRenderBuffers(rb, 40, 30, 1));
  int counter = 0;
  EXPECT_EQ(
      saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight, counter, dir_.string())
          .message,
      kMsgScreenshotSaved);
  EXPECT_EQ(fs::file_size(dir_ / "imageAAA.bmp"), 54u + 3u * 40u * 30u);
}

TEST_F(ScreenshotTest, FailedWritesKeepTheOldFileAndLeaveNoTemporary) {
  RenderBuffers rb;
  ASSERT_TRUE(allocateRenderBuffers(rb, 40, 30, 1));
  int counter = 0;
  // A folder that does not exist.
  EditResult r = saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight, counter,
                                (dir_ / "missing").string());
  EXPECT_EQ(r.message, kMsgWriteFailed);
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  // The target is a directory: it stays, and no temporary is left beside it.
  fs::create_directory(dir_ / "imageAAB.bmp");
  r = saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight, counter,
                     dir_.string());
  EXPECT_EQ(r.message, kMsgWriteFailed);
  EXPECT_TRUE(fs::is_directory(dir_ / "imageAAB.bmp"));
  EXPECT_EQ(otherFiles("imageAAB.bmp"), 0);
  // The disk fills up half way: the old picture survives untouched.
  { std::ofstream(dir_ / "imageAAC.bmp", std::ios::binary) << "old picture"; }
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 1000;
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  r = saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight, counter,
                     dir_.string());
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(r.message, kMsgWriteFailed);
  const auto b = read(dir_ / "imageAAC.bmp");
  EXPECT_EQ(std::string(b.begin(), b.end()), "old picture");
  EXPECT_EQ(otherFiles("imageAAB.bmp"), 1);  // imageAAC.bmp only
  EXPECT_EQ(counter, 3);                     // each attempt used its name
}

// Whatever waits at the names the temporaries once had (a FIFO would block the write, a
// symlink would send it elsewhere) is not touched: the pictures still arrive.
TEST_F(ScreenshotTest, ThingsAtTheOldTemporaryNamesAreLeftAlone) {
  RenderBuffers rb;
  ASSERT_TRUE(allocateRenderBuffers(rb, 40, 30, 1));
  ASSERT_EQ(::mkfifo((dir_ / "imageAAA.bmp.tmp").c_str(), 0644), 0);
  { std::ofstream(dir_ / "elsewhere", std::ios::binary) << "other"; }
  fs::create_symlink(dir_ / "elsewhere", dir_ / "imageAAB.bmp.tmp");
  const int code = filetest::inChild([&] {
    int counter = 0;
    const bool a = saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight, counter,
                                  dir_.string())
                       .message == kMsgScreenshotSaved;
    const bool b = saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight, counter,
                                  dir_.string())
                       .message == kMsgScreenshotSaved;
    return a && b ? 0 : 1;
  });
  EXPECT_EQ(code, 0) << "142 is a write that blocked";
  EXPECT_EQ(read(dir_ / "imageAAB.bmp").size(), 54u + 3 * 40 * 30);
  EXPECT_TRUE(fs::is_fifo(dir_ / "imageAAA.bmp.tmp"));
  const auto other = read(dir_ / "elsewhere");
  EXPECT_EQ(std::string(other.begin(), other.end()), "other");
}

TEST_F(ScreenshotTest, NamesPastImagePPPAreRefused) {
  RenderBuffers rb;
  ASSERT_TRUE(allocateRenderBuffers(rb, 40, 30, 1));
  int counter = 4095;
  EXPECT_EQ(
      saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight, counter, dir_.string())
          .message,
      kMsgScreenshotSaved);
  EXPECT_TRUE(fs::exists(dir_ / "imagePPP.bmp"));
  const EditResult r = saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight,
                                      counter, dir_.string());
  EXPECT_EQ(r.message, kMsgWriteFailed);
  EXPECT_EQ(counter, 4096);
  EXPECT_EQ(otherFiles("imagePPP.bmp"), 0);
}

TEST_F(ScreenshotTest, IdentifyReadsA24BitBmp) {
  if (!fs::exists("/usr/bin/identify")) GTEST_SKIP() << "ImageMagick's identify is not installed";
  RenderBuffers rb;
  ASSERT_TRUE(allocateRenderBuffers(rb, 320, 200, 1));
  for (size_t i = 0; i < rb.frameBuffer.size(); ++i)
    rb.frameBuffer[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  int counter = 0;
  ASSERT_EQ(
      saveScreenshot(rb.frameBuffer.data(), rb.renderWidth, rb.renderHeight, counter, dir_.string())
          .message,
      kMsgScreenshotSaved);
  const std::string cmd = "/usr/bin/identify -format '%m %w %h %z %[type]' '" +
                          (dir_ / "imageAAA.bmp").string() + "' 2>&1";
  FILE* pipe = popen(cmd.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buf[256];
  while (fgets(buf, sizeof buf, pipe)) out += buf;
  EXPECT_EQ(pclose(pipe), 0) << out;
  EXPECT_NE(out.find("BMP"), std::string::npos) << out;
  EXPECT_NE(out.find(" 320 200 8 "), std::string::npos) << out;  // 8 bits per channel
  EXPECT_NE(out.find("TrueColor"), std::string::npos) << out;
}

}  // namespace
