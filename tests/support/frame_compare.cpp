#include "frame_compare.h"

#ifndef KOVRIN_NO_PNG
#include <png.h>
#endif

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "io/screenshot.h"

namespace {

uint32_t bitsOf(float f) {
  uint32_t b;
  std::memcpy(&b, &f, 4);
  return b;
}

}  // namespace

FramePicture pictureOf(const RenderBuffers& rb) {
  return {rb.renderWidth, rb.renderHeight, rb.frameBuffer, rb.depthBuffer};
}

std::string testOutputFolder() {
  if (const char* dir = std::getenv("KOVRIN_TEST_OUTPUTS"); dir != nullptr && *dir != '\0')
    return dir;
  return KOVRIN_TEST_OUTPUT_DIR;
}

::testing::AssertionResult framesMatch(const std::string& name, const FramePicture& actual,
                                       const FramePicture& expected) {
  if (actual.width != expected.width || actual.height != expected.height)
    return ::testing::AssertionFailure()
           << name << ": frame of " << actual.width << " x " << actual.height << ", expected "
           << expected.width << " x " << expected.height;
  const bool depths = !actual.depth.empty() && !expected.depth.empty();
  std::vector<uint32_t> diff(expected.pixels.size());
  std::ostringstream first;
  int differences = 0;
  for (size_t i = 0; i < diff.size(); ++i) {
    const bool colour = actual.pixels[i] != expected.pixels[i];
    const bool depth = depths && bitsOf(actual.depth[i]) != bitsOf(expected.depth[i]);
    diff[i] = colour ? 0xFF0000u : depth ? 0xFFFF00u : (expected.pixels[i] >> 2) & 0x3F3F3Fu;
    if (!colour && !depth) continue;
    if (++differences <= 5) {
      const size_t w = static_cast<size_t>(expected.width);
      first << "\n  (" << i % w << ", " << i / w << "): " << std::hex << actual.pixels[i]
            << " expected " << expected.pixels[i] << std::dec;
      if (depth) first << ", depth " << actual.depth[i] << " expected " << expected.depth[i];
    }
  }
  if (differences == 0) return ::testing::AssertionSuccess();
  const std::filesystem::path folder = testOutputFolder();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const std::string actualPath = (folder / (name + ".actual.bmp")).string();
  const std::string diffPath = (folder / (name + ".diff.bmp")).string();
  const bool written =
      writeBmpImage(actualPath, actual.pixels.data(), actual.width, actual.height) &&
      writeBmpImage(diffPath, diff.data(), expected.width, expected.height);
  return ::testing::AssertionFailure()
         << name << ": " << differences << " pixels differ" << first.str() << "\n  "
         << (written ? "actual frame: " + actualPath + "\n  difference: " + diffPath
                     : "(could not write the pictures to " + folder.string() + ")");
}

FramePicture readPngPicture(const std::string& path) {
#ifdef KOVRIN_NO_PNG
  (void)path;
  return {};
#else
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) return {};
  image.format = PNG_FORMAT_BGRA;  // little-endian words 0xAARRGGBB
  FramePicture p{static_cast<int>(image.width),
                 static_cast<int>(image.height),
                 std::vector<uint32_t>(static_cast<size_t>(image.width) * image.height),
                 {}};
  if (png_image_finish_read(&image, nullptr, p.pixels.data(), 0, nullptr) == 0) return {};
  for (uint32_t& px : p.pixels) px &= 0xFFFFFFu;
  return p;
#endif
}
