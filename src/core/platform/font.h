// Glyphs of the two embedded VGA console fonts (8x8 and 8x16 cells, 256 glyphs each).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Rows of the glyph for character c, one byte per row, leftmost pixel in bit 7.
// `cellHeight` 8 picks the 8x8 font, anything else the 8x16 font.
const uint8_t* glyphRows(int cellHeight, unsigned char c);

// The glyph the font of `cellHeight` holds for a Unicode code point (from the font's own
// Unicode table; the two fonts place their glyphs differently), or -1 when it has none.
int glyphForCodePoint(int cellHeight, char32_t codePoint);

// UTF-8 text as one glyph byte per character, for printing in text cells of `cellHeight`:
// printable ASCII as it is, any other character as its glyph when the font has one, else
// "?" (as is every byte that is not part of a well-formed character).
std::string glyphText(int cellHeight, std::string_view utf8);

// The length of the well-formed UTF-8 character at the start of `text` (1..4), 0 when the
// text does not start with one (an ASCII byte counts as a character of length 1).
size_t utf8CharLength(std::string_view text);
