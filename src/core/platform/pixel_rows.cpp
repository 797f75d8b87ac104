#include "core/platform/pixel_rows.h"

#include <cstring>

namespace {

// Five bits to eight, the top bits repeated below so 31 becomes 255.
inline uint32_t widen5(uint32_t v) {
  return (v << 3) | (v >> 2);
}

inline uint32_t widen6(uint32_t v) {
  return (v << 2) | (v >> 4);
}

}  // namespace

void convertRowToXrgb(const uint8_t* row, int width, int depth,
                      const std::array<uint32_t, 256>& palette, uint32_t* out) {
  switch (depth) {
    case 8:
      for (int x = 0; x < width; ++x) out[x] = palette[row[x]] & 0xFFFFFF;
      break;
    case 16:
      for (int x = 0; x < width; ++x) {
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        out[x] = (widen5((v >> 11) & 31) << 16) | (widen6((v >> 5) & 63) << 8) | widen5(v & 31);
      }
      break;
    case 15:
      for (int x = 0; x < width; ++x) {
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        out[x] = (widen5((v >> 10) & 31) << 16) | (widen5((v >> 5) & 31) << 8) | widen5(v & 31);
      }
      break;
    default:
      std::memcpy(out, row, static_cast<size_t>(width) * 4);
      for (int x = 0; x < width; ++x) out[x] &= 0xFFFFFF;
      break;
  }
}
