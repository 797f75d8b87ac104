// Presentation: colour conversion at 32/16/15/8 bits, doubling, averaging, row pitch, palette.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/platform/headless_platform.h"
#include "render/render_passes.h"

namespace {

// A frame of w x h pixels with the given contents, presented at depth/detail onto a screen.
struct Screen {
  int width, height, bpp, pitch;
  std::vector<uint8_t> bytes;
  Screen(int w, int h, int depth, int padBytes = 0)
      : width(w),
        height(h),
        bpp(depth > 16   ? 4
            : depth == 8 ? 1
                         : 2),
        pitch(w * bpp + padBytes),
        bytes(static_cast<size_t>(pitch) * h, 0xAA) {}
  uint32_t at(int x, int y) const {
    uint32_t v = 0;
    std::memcpy(&v, bytes.data() + static_cast<size_t>(y) * pitch + x * bpp, bpp);
    return v;
  }
};

RenderBuffers frame(int screenW, int screenH, int rdet, std::vector<uint32_t> pixels = {}) {
  RenderBuffers rb;
  EXPECT_TRUE(allocateRenderBuffers(rb, screenW, screenH, rdet));
  if (!pixels.empty()) rb.frameBuffer = pixels;
  return rb;
}

uint32_t presentOne(uint32_t pixel, int depth) {
  const RenderBuffers rb = frame(1, 1, 1, {pixel});
  Screen s(1, 1, depth);
  presentFrame(rb, 1, depth, s.bytes.data(), s.pitch, 1, 1);
  return s.at(0, 0);
}

TEST(PresentColours, ChannelsKeepTheirTopBits) {
  EXPECT_EQ(presentOne(0x00FF8800, 32), 0x00FF8800u);
  EXPECT_EQ(presentOne(0x00FF8800, 16), 0xFC40u);
  EXPECT_EQ(presentOne(0x00FF8800, 15), 0x7E20u);
  EXPECT_EQ(presentOne(0x00FF8800, 8), 0xE0u);
  EXPECT_EQ(presentOne(0x00FFFFFF, 16), 0xFFFFu);
  EXPECT_EQ(presentOne(0x00FFFFFF, 15), 0x7FFFu);
  EXPECT_EQ(presentOne(0x00FFFFFF, 8), 0xFFu);
  EXPECT_EQ(presentOne(0x00070707, 16), 0x0020u);  // green keeps six bits
  EXPECT_EQ(presentOne(0x00070707, 15), 0u);
  EXPECT_EQ(presentOne(0x00070707, 8), 0u);
}

TEST(PresentScale, DetailTwoAveragesTwoByTwoBlocks) {
  // Frame 4 x 2 for a 2 x 1 screen: a white block, and a block with one white pixel.
  const RenderBuffers rb = frame(2, 1, 2,
                                 {0xFFFFFF, 0xFFFFFF, 0, 0xFFFFFF,  //
                                  0xFFFFFF, 0xFFFFFF, 0, 0});
  Screen s32(2, 1, 32), s16(2, 1, 16), s8(2, 1, 8);
  presentFrame(rb, 2, 32, s32.bytes.data(), s32.pitch, 2, 1);
  presentFrame(rb, 2, 16, s16.bytes.data(), s16.pitch, 2, 1);
  presentFrame(rb, 2, 8, s8.bytes.data(), s8.pitch, 2, 1);
  EXPECT_EQ(s32.at(0, 0), 0x00FCFCFCu);
  EXPECT_EQ(s32.at(1, 0), 0x003F3F3Fu);
  EXPECT_EQ(s16.at(0, 0), 0xFFFFu);  // the average, then the depth's conversion
  EXPECT_EQ(s16.at(1, 0), 0x39E7u);
  EXPECT_EQ(s8.at(1, 0), 0x0Cu);  // green 0x3F keeps 0011
  EXPECT_EQ(s8.at(0, 0), 0xFFu);
}

// Every screen pixel of a random frame, wherever it falls in a row (the rows are converted
// four pixels at a time and then the rest), is the masked sum of its block's four quarters.
TEST(PresentScale, DetailTwoAveragesEveryBlockOfARandomFrame) {
  for (int w : {1, 3, 4, 7, 13}) {
    const int h = 3;
    std::vector<uint32_t> pixels(static_cast<size_t>(4 * w * h));
    uint32_t seed = 12345u + static_cast<uint32_t>(w);
    for (uint32_t& p : pixels) p = (seed = seed * 1664525u + 1013904223u) & 0xFFFFFF;
    const RenderBuffers rb = frame(w, h, 2, pixels);
    Screen s(w, h, 32, 8);
    presentFrame(rb, 2, 32, s.bytes.data(), s.pitch, w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const size_t at = static_cast<size_t>(2 * y) * (2 * w) + 2 * x, below = at + 2 * w;
        const uint32_t want = ((pixels[at] >> 2) & 0x3F3F3F) + ((pixels[at + 1] >> 2) & 0x3F3F3F) +
                              ((pixels[below] >> 2) & 0x3F3F3F) +
                              ((pixels[below + 1] >> 2) & 0x3F3F3F);
        EXPECT_EQ(s.at(x, y), want) << "width " << w << " at (" << x << ", " << y << ")";
      }
    EXPECT_EQ(s.bytes[static_cast<size_t>(4 * w)], 0xAA);  // the row padding stays untouched
  }
}

TEST(PresentScale, DetailZeroDoublesEachPixel) {
  std::vector<uint32_t> pixels(4 * 3, 0);
  pixels[1 * 4 + 1] = 0x00FF8800;
  const RenderBuffers rb = frame(8, 6, 0, pixels);
  for (int depth : {32, 16, 15, 8}) {
    Screen s(8, 6, depth);
    presentFrame(rb, 0, depth, s.bytes.data(), s.pitch, 8, 6);
    int lit = 0;
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        const bool inside = x >= 2 && x <= 3 && y >= 2 && y <= 3;
        if (s.at(x, y) != 0) ++lit;
        EXPECT_EQ(s.at(x, y) != 0, inside) << depth << " bits at " << x << ", " << y;
      }
    EXPECT_EQ(lit, 4) << depth;
    EXPECT_EQ(s.at(3, 3), presentOne(0x00FF8800, depth)) << depth;
  }
}

TEST(PresentPitch, RowsFollowTheRealPitchAndPaddingIsUntouched) {
  const RenderBuffers rb = frame(3, 2, 1, {1, 2, 3, 4, 5, 6});
  for (int rdet : {1, 2}) {
    Screen s(3, 2, 32, 12);
    const RenderBuffers src = rdet == 1 ? rb : frame(3, 2, 2, std::vector<uint32_t>(24, 0x40404));
    presentFrame(src, rdet, 32, s.bytes.data(), s.pitch, 3, 2);
    if (rdet == 1) {
      EXPECT_EQ(s.at(0, 1), 4u);
      EXPECT_EQ(s.at(2, 1), 6u);
    } else {
      EXPECT_EQ(s.at(2, 1), 0x40404u);
    }
    for (int i = 12; i < 24; ++i) EXPECT_EQ(s.bytes[i], 0xAA) << "padding byte " << i;
    for (int i = 36; i < 48; ++i) EXPECT_EQ(s.bytes[i], 0xAA) << "padding byte " << i;
  }
  Screen s16(3, 2, 16, 2);
  presentFrame(rb, 0, 16, s16.bytes.data(), s16.pitch, 3, 2);  // frame of 1 x 1 doubled
  EXPECT_EQ(s16.at(1, 1), s16.at(0, 0));
  EXPECT_EQ(s16.bytes[6], 0xAA);  // odd screen column beyond the doubled frame
}

TEST(PresentPalette, EightBitIndicesShowTheirColour) {
  HeadlessPlatform p;
  ASSERT_TRUE(p.openScreen(13, 8));
  for (int i = 0; i < 256; ++i) {
    const uint32_t rgb = eightBitPaletteColor(i);
    p.setPaletteEntry(i, static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8 & 0xFF),
                      static_cast<int>(rgb & 0xFF));
  }
  EXPECT_EQ(toPaletteIndex(0x00FF8800), 0xE0u);
  EXPECT_EQ(toPaletteIndex(0x00C0A080), presentOne(0x00C0A080, 8));
  const RenderBuffers rb = frame(320, 200, 1, std::vector<uint32_t>(320 * 200, 0x00FF8800));
  const ScreenInfo info = p.screenInfo();
  presentFrame(rb, 1, 8, p.framePointer(), info.pitch, info.width, info.height);
  EXPECT_EQ(p.rgbAt(10, 10), 0x00C08000u);  // red 0xC0, green 0x20 * 4, blue 0
  const RenderBuffers white = frame(320, 200, 1, std::vector<uint32_t>(320 * 200, 0xFFFFFF));
  presentFrame(white, 1, 8, p.framePointer(), info.pitch, info.width, info.height);
  EXPECT_EQ(p.rgbAt(319, 199), 0x00C0F0C0u);
}

TEST(PresentClear, FrameBlackDepthFar) {
  RenderBuffers rb = frame(4, 2, 1, {1, 2, 3, 4, 5, 6, 7, 8});
  clearRenderBuffers(rb, 1234.0f);
  for (uint32_t p : rb.frameBuffer) EXPECT_EQ(p, 0u);
  for (float d : rb.depthBuffer) EXPECT_EQ(d, 1234.0f);
}

}  // namespace
