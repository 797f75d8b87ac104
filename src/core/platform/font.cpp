#include "core/platform/font.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

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

namespace {

// PSF1 mode bits: 512 glyphs instead of 256, and a Unicode table after the glyphs.
constexpr uint8_t kPsf1Mode512 = 0x01;
constexpr uint8_t kPsf1ModeHasTable = 0x02;

// Code point -> glyph, read from a font's table: for each glyph a list of 16-bit code points ended
// by 0xFFFF; 0xFFFE starts sequences of combining characters, which are skipped.
struct UnicodeTable {
  std::vector<std::pair<char32_t, uint8_t>> entries;  // sorted by code point
};

UnicodeTable readTable(const uint8_t* font, std::size_t size) {
  UnicodeTable t;
  if (size < kPsf1Header || font[0] != 0x36 || font[1] != 0x04) return t;
  if ((font[2] & kPsf1ModeHasTable) == 0) return t;
  const std::size_t glyphs = (font[2] & kPsf1Mode512) != 0 ? 512 : 256;
  std::size_t at = kPsf1Header + glyphs * font[3];
  for (std::size_t g = 0; g < glyphs && at + 1 < size; ++g) {
    bool sequences = false;
    while (at + 1 < size) {
      const unsigned v = font[at] | (font[at + 1] << 8);
      at += 2;
      if (v == 0xFFFF) break;
      if (v == 0xFFFE) sequences = true;
      if (!sequences && g < 256) t.entries.emplace_back(v, static_cast<uint8_t>(g));
    }
  }
  std::sort(t.entries.begin(), t.entries.end());
  return t;
}

// The code point of the character at the start of `text`, whose length is `n` (1..4).
char32_t decodeUtf8(std::string_view text, size_t n) {
  const auto b = [&](size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(text[i]));
  };
  if (n == 1) return b(0);
  char32_t cp = b(0) & (0x7F >> n);
  for (size_t i = 1; i < n; ++i) cp = (cp << 6) | (b(i) & 0x3F);
  return cp;
}

}  // namespace

int glyphForCodePoint(int cellHeight, char32_t codePoint) {
  static const UnicodeTable table8 = readTable(kFontPsf8, kFontPsf8Size);
  static const UnicodeTable table16 = readTable(kFontPsf16, kFontPsf16Size);
  const UnicodeTable& table = cellHeight == 8 ? table8 : table16;
  const auto it = std::lower_bound(table.entries.begin(), table.entries.end(),
                                   std::pair<char32_t, uint8_t>{codePoint, 0});
  if (it == table.entries.end() || it->first != codePoint) return -1;
  return it->second;
}

size_t utf8CharLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto b0 = static_cast<unsigned char>(text[0]);
  if (b0 < 0x80) return 1;
  // Lead bytes C2..F4; no overlong forms, no surrogates, nothing above U+10FFFF.
  size_t n = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF)
    n = 2;
  else if (b0 >= 0xE0 && b0 <= 0xEF)
    n = 3;
  else if (b0 >= 0xF0 && b0 <= 0xF4)
    n = 4;
  if (n == 0 || text.size() < n) return 0;
  for (size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0;
  const char32_t cp = decodeUtf8(text, n);
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return n;
}

std::string glyphText(int cellHeight, std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const size_t n = utf8CharLength(utf8);
    if (n == 1 && utf8[0] >= 32 && utf8[0] < 127) {
      out += utf8[0];
    } else {
      const int glyph = n > 1 ? glyphForCodePoint(cellHeight, decodeUtf8(utf8, n)) : -1;
      out += glyph >= 0 ? static_cast<char>(glyph) : '?';
    }
    utf8.remove_prefix(n == 0 ? 1 : n);
  }
  return out;
}
