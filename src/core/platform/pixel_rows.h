// Screen memory rows converted to 32-bit 0x00RRGGBB for the window, at every depth.
#pragma once

#include <array>
#include <cstdint>

// Converts `width` pixels of one row at `depth` (8 through the palette, 15 and 16 with the
// 5- and 6-bit channels widened by bit replication so full intensity stays 0xFF, 32 copied
// with the top byte cleared) into `out`.
void convertRowToXrgb(const uint8_t* row, int width, int depth,
                      const std::array<uint32_t, 256>& palette, uint32_t* out);
