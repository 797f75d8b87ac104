// Glyphs of the two embedded VGA console fonts (8x8 and 8x16 cells, 256 glyphs each).
#pragma once

#include <cstdint>

// Rows of the glyph for character c, one byte per row, leftmost pixel in bit 7.
// `cellHeight` 8 picks the 8x8 font, anything else the 8x16 font.
const uint8_t* glyphRows(int cellHeight, unsigned char c);
