#include "core/platform/font.h"

#include <cstddef>

extern const std::uint8_t kFontPsf8[];
extern const std::size_t kFontPsf8Size;
extern const std::uint8_t kFontPsf16[];
extern const std::size_t kFontPsf16Size;

namespace {

// PSF1: magic 0x36 0x04, a mode byte, the glyph height, then the glyph rows.
constexpr std::size_t kPsf1Header = 4;
const uint8_t kBlank[16] = {};

const uint8_t* glyphFrom(const uint8_t* font, std::size_t size, unsigned char c) {
  if (size < kPsf1Header || font[0] != 0x36 || font[1] != 0x04) return kBlank;
  const std::size_t height = font[3];
  const std::size_t offset = kPsf1Header + height * c;
  if (height > 16 || offset + height > size) return kBlank;
  return font + offset;
}

}  // namespace

const uint8_t* glyphRows(int cellHeight, unsigned char c) {
  if (cellHeight == 8) return glyphFrom(kFontPsf8, kFontPsf8Size, c);
  return glyphFrom(kFontPsf16, kFontPsf16Size, c);
}
