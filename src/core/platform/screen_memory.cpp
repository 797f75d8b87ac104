#include "core/platform/screen_memory.h"

#include <cstdlib>
#include <cstring>

#include "core/platform/font.h"
#include "core/platform/pixel_rows.h"
#include "core/platform/screen_modes.h"

bool ScreenMemory::allocateScreen(int mode, int depth) {
  const ScreenMode* m = findScreenMode(mode);
  if (m == nullptr) return false;
  if (depth != 8 && depth != 15 && depth != 16 && depth != 32) return false;
  const int bytes = depth == 8 ? 1 : depth == 32 ? 4 : 2;
  info_ = ScreenInfo{m->width, m->height, depth, m->width * bytes, m->columns, m->rows};
  pixels_.assign(static_cast<size_t>(info_.pitch) * static_cast<size_t>(info_.height), 0);
  textShadow_.assign(static_cast<size_t>(info_.rows), std::string(info_.columns, ' '));
  return true;
}

void ScreenMemory::clearTextShadow() {
  for (auto& row : textShadow_) row.assign(info_.columns, ' ');
}

void ScreenMemory::setPaletteEntry(int index, int red, int green, int blue) {
  if (index < 0 || index > 255) return;
  palette_[index] =
      static_cast<uint32_t>(((red & 255) << 16) | ((green & 255) << 8) | (blue & 255));
}

void ScreenMemory::setTextCursor(int row, int column) {
  cursorRow_ = row;
  cursorColumn_ = column;
}

void ScreenMemory::textCursor(int& row, int& column) const {
  row = cursorRow_;
  column = cursorColumn_;
}

void ScreenMemory::setTextColors(uint32_t foreground, uint32_t background) {
  foreground_ = foreground;
  background_ = background;
}

uint32_t ScreenMemory::toScreenFormat(uint32_t p) const {
  switch (info_.depth) {
    case 16:
      return ((p >> 3) & 0x1F) + ((p >> 5) & 0x7E0) + ((p >> 8) & 0xF800);
    case 15:
      return ((p >> 3) & 0x1F) + ((p >> 6) & 0x3E0) + ((p >> 9) & 0x7C00);
    default:
      return p;  // 32 bits, and palette indices at 8 bits
  }
}

void ScreenMemory::putPixel(int x, int y, uint32_t value) {
  if (x < 0 || y < 0 || x >= info_.width || y >= info_.height) return;
  uint8_t* row = pixels_.data() + static_cast<size_t>(y) * info_.pitch;
  switch (info_.depth) {
    case 8:
      row[x] = static_cast<uint8_t>(value);
      break;
    case 15:
    case 16: {
      const uint16_t v = static_cast<uint16_t>(value);
      std::memcpy(row + 2 * x, &v, 2);
      break;
    }
    default:
      std::memcpy(row + 4 * x, &value, 4);
      break;
  }
}

void ScreenMemory::print(std::string_view text) {
  if (pixels_.empty()) return;
  const int ch = cellHeight();
  const uint32_t fg = toScreenFormat(foreground_), bg = toScreenFormat(background_);
  for (const char c : text) {
    if (cursorColumn_ >= 1 && cursorColumn_ <= info_.columns && cursorRow_ >= 1 &&
        cursorRow_ <= info_.rows) {
      const unsigned char uc = static_cast<unsigned char>(c);
      const uint8_t* glyph = glyphRows(ch, uc);
      const int x0 = (cursorColumn_ - 1) * 8, y0 = (cursorRow_ - 1) * ch;
      const int glyphHeight = ch == 8 ? 8 : 16;
      for (int gy = 0; gy < ch; ++gy) {
        const uint8_t bits = gy < glyphHeight ? glyph[gy] : 0;
        for (int gx = 0; gx < 8; ++gx) putPixel(x0 + gx, y0 + gy, (bits & (0x80 >> gx)) ? fg : bg);
      }
      textShadow_[cursorRow_ - 1][cursorColumn_ - 1] = uc < 32 ? ' ' : c;
    }
    ++cursorColumn_;
  }
}

void ScreenMemory::drawLine(int x1, int y1, int x2, int y2, uint32_t color) {
  const uint32_t v = toScreenFormat(color);
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    putPixel(x1, y1, v);
    if (x1 == x2 && y1 == y2) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x1 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y1 += sy;
    }
  }
}

uint32_t ScreenMemory::rgbAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= info_.width || y >= info_.height) return 0;
  const int bytes = info_.depth == 8 ? 1 : info_.depth == 32 ? 4 : 2;
  const uint8_t* pixel = pixels_.data() + static_cast<size_t>(y) * info_.pitch + x * bytes;
  uint32_t rgb = 0;
  convertRowToXrgb(pixel, 1, info_.depth, palette_, &rgb);
  return rgb;
}

std::string ScreenMemory::textRow(int row) const {
  if (row < 1 || row > static_cast<int>(textShadow_.size())) return {};
  return textShadow_[row - 1];
}
