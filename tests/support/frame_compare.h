// Frames compared pixel by pixel. On a difference the actual frame and a difference picture
// are written as BMP files for a look, and the failure names them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/render_buffers.h"

// A picture of 0x00RRGGBB pixels, row after row, with its depth samples when it has them.
struct FramePicture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  std::vector<float> depth;  // empty, or one per pixel (compared bit for bit)
};

FramePicture pictureOf(const RenderBuffers& rb);

// Where failing comparisons leave their pictures: $KOVRIN_TEST_OUTPUTS, else test_outputs in
// the build folder.
std::string testOutputFolder();

// Pass when both have the same size and every pixel (and depth, where both have depths)
// is the same. On a failure, `<name>.actual.bmp` and `<name>.diff.bmp` (red: colour
// differs, yellow: only the depth, elsewhere the expected frame darkened) are written to
// testOutputFolder(), and the message lists the first differing pixels and both paths.
::testing::AssertionResult framesMatch(const std::string& name, const FramePicture& actual,
                                       const FramePicture& expected);

// A PNG picture read back as 0x00RRGGBB pixels; an empty picture when it cannot be read.
FramePicture readPngPicture(const std::string& path);
