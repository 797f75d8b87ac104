// Clearing the frame, the 8-bit palette, and the conversion of the frame to the screen at
// its colour depth and detail level.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "model/simd.h"
#include "render/render_passes.h"

namespace {

enum class Format { Rgb32, Rgb565, Rgb555, Index8, None };

Format formatFor(int screenDepth) {
  if (screenDepth > 16) return Format::Rgb32;
  if (screenDepth == 16) return Format::Rgb565;
  if (screenDepth == 15) return Format::Rgb555;
  if (screenDepth == 8) return Format::Index8;
  return Format::None;
}

// Each channel keeps its top bits; no rounding, no dithering.
inline uint32_t to565(uint32_t p) {
  return ((p >> 3) & 0x1F) + ((p >> 5) & 0x7E0) + ((p >> 8) & 0xF800);
}
inline uint32_t to555(uint32_t p) {
  return ((p >> 3) & 0x1F) + ((p >> 6) & 0x3E0) + ((p >> 9) & 0x7C00);
}
inline uint32_t to332(uint32_t p) {
  return ((p >> 6) & 0x03) + ((p >> 10) & 0x3C) + ((p >> 16) & 0xC0);
}

inline void store16(uint8_t* at, uint32_t v) {
  const uint16_t w = static_cast<uint16_t>(v);
  std::memcpy(at, &w, 2);
}
inline void store32(uint8_t* at, uint32_t v) {
  std::memcpy(at, &v, 4);
}

// Writes n converted pixels from src into one screen row.
void convertRow(Format f, const uint32_t* src, int n, uint8_t* dst) {
  switch (f) {
    case Format::Rgb32:
      std::memcpy(dst, src, static_cast<size_t>(n) * 4);
      break;
    case Format::Rgb565:
      for (int x = 0; x < n; ++x) store16(dst + 2 * x, to565(src[x]));
      break;
    case Format::Rgb555:
      for (int x = 0; x < n; ++x) store16(dst + 2 * x, to555(src[x]));
      break;
    case Format::Index8:
      for (int x = 0; x < n; ++x) dst[x] = static_cast<uint8_t>(to332(src[x]));
      break;
    case Format::None:
      break;
  }
}

// Writes n frame pixels each twice side by side (2n screen pixels).
void convertRowDoubled(Format f, const uint32_t* src, int n, uint8_t* dst) {
  switch (f) {
    case Format::Rgb32:
      for (int x = 0; x < n; ++x) {
        store32(dst + 8 * x, src[x]);
        store32(dst + 8 * x + 4, src[x]);
      }
      break;
    case Format::Rgb565:
      for (int x = 0; x < n; ++x) {
        const uint32_t v = to565(src[x]);
        store32(dst + 4 * x, v | v << 16);
      }
      break;
    case Format::Rgb555:
      for (int x = 0; x < n; ++x) {
        const uint32_t v = to555(src[x]);
        store32(dst + 4 * x, v | v << 16);
      }
      break;
    case Format::Index8:
      for (int x = 0; x < n; ++x) {
        const uint32_t v = to332(src[x]);
        store16(dst + 2 * x, v | v << 8);
      }
      break;
    case Format::None:
      break;
  }
}

// Writes n screen pixels, each the 2 x 2 box average of two frame rows (2n pixels each).
void convertRowAveraged(Format f, const uint32_t* top, const uint32_t* bottom, int n,
                        uint8_t* dst) {
  int x = 0;
#if KOVRIN_SSE2
  if (f == Format::Rgb32) {
    // Four screen pixels at a time. The four quarters of each block add up to at most 252
    // per channel, so the sums never carry and their order does not matter.
    const __m128i mask = _mm_set1_epi32(0x3F3F3F);
    auto quarter = [&mask](const uint32_t* p) {
      return _mm_and_si128(_mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), 2),
                           mask);
    };
    for (; x + 4 <= n; x += 4) {
      // Column sums of the two rows: blocks 0, 1 in `left`, blocks 2, 3 in `right`.
      const __m128 left =
          _mm_castsi128_ps(_mm_add_epi32(quarter(top + 2 * x), quarter(bottom + 2 * x)));
      const __m128 right =
          _mm_castsi128_ps(_mm_add_epi32(quarter(top + 2 * x + 4), quarter(bottom + 2 * x + 4)));
      const __m128i even = _mm_castps_si128(_mm_shuffle_ps(left, right, _MM_SHUFFLE(2, 0, 2, 0)));
      const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(left, right, _MM_SHUFFLE(3, 1, 3, 1)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * x), _mm_add_epi32(even, odd));
    }
  }
#endif
  for (; x < n; ++x) {
    const uint32_t p = ((top[2 * x] >> 2) & 0x3F3F3F) + ((top[2 * x + 1] >> 2) & 0x3F3F3F) +
                       ((bottom[2 * x] >> 2) & 0x3F3F3F) + ((bottom[2 * x + 1] >> 2) & 0x3F3F3F);
    switch (f) {
      case Format::Rgb32:
        store32(dst + 4 * x, p);
        break;
      case Format::Rgb565:
        store16(dst + 2 * x, to565(p));
        break;
      case Format::Rgb555:
        store16(dst + 2 * x, to555(p));
        break;
      case Format::Index8:
        dst[x] = static_cast<uint8_t>(to332(p));
        break;
      case Format::None:
        break;
    }
  }
}

int bytesPerPixel(Format f) {
  return f == Format::Rgb32 ? 4 : f == Format::Index8 ? 1 : 2;
}

}  // namespace

void clearRenderBuffers(RenderBuffers& rb, float farDepth) {
  std::fill(rb.frameBuffer.begin(), rb.frameBuffer.end(), 0u);
  std::fill(rb.depthBuffer.begin(), rb.depthBuffer.end(), farDepth);
}

void presentFrame(const RenderBuffers& rb, int rdet, int screenDepth, uint8_t* screen, int pitch,
                  int screenWidth, int screenHeight) {
  const Format f = formatFor(screenDepth);
  if (screen == nullptr || f == Format::None || screenWidth <= 0 || screenHeight <= 0) return;
  const int bpp = bytesPerPixel(f);
  if (pitch < screenWidth * bpp) pitch = screenWidth * bpp;  // rows never overlap
  const uint32_t* frame = rb.frameBuffer.data();
  const size_t fw = static_cast<size_t>(rb.renderWidth);
  // Only the part that both the frame and the screen hold is written.
  if (rdet == 0) {
    const int w = std::min(rb.renderWidth, screenWidth / 2);
    const int h = std::min(rb.renderHeight, screenHeight / 2);
    for (int y = 0; y < h; ++y) {
      uint8_t* row = screen + static_cast<size_t>(2 * y) * static_cast<size_t>(pitch);
      convertRowDoubled(f, frame + static_cast<size_t>(y) * fw, w, row);
      std::memcpy(row + pitch, row, static_cast<size_t>(2 * w * bpp));
    }
  } else if (rdet == 2) {
    const int w = std::min(rb.renderWidth / 2, screenWidth);
    const int h = std::min(rb.renderHeight / 2, screenHeight);
    for (int y = 0; y < h; ++y) {
      const uint32_t* top = frame + static_cast<size_t>(2 * y) * fw;
      convertRowAveraged(f, top, top + fw, w,
                         screen + static_cast<size_t>(y) * static_cast<size_t>(pitch));
    }
  } else {
    const int w = std::min(rb.renderWidth, screenWidth);
    const int h = std::min(rb.renderHeight, screenHeight);
    for (int y = 0; y < h; ++y)
      convertRow(f, frame + static_cast<size_t>(y) * fw, w,
                 screen + static_cast<size_t>(y) * static_cast<size_t>(pitch));
  }
}

uint32_t eightBitPaletteColor(int i) {
  const uint32_t v = static_cast<uint32_t>(i);
  return (v & 0xC0) << 16 | ((v & 0x3C) * 4) << 8 | (v & 0x03) * 64;
}

uint32_t toPaletteIndex(uint32_t rgb) {
  return ((rgb & 0xC00000) >> 16) + ((rgb & 0xF000) >> 10) + ((rgb & 0xFF) >> 6);
}
