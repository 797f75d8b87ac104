// Screen memory in the depth in force, with the text grid and lines drawn into it.
// Shared by the SDL and the headless platform; they differ only in input and output.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/platform.h"

class ScreenMemory : public Platform {
 public:
  ScreenInfo screenInfo() const override { return info_; }
  uint8_t* framePointer() override { return pixels_.empty() ? nullptr : pixels_.data(); }
  void setPaletteEntry(int index, int red, int green, int blue) override;
  void setTextCursor(int row, int column) override;
  void textCursor(int& row, int& column) const override;
  void setTextColors(uint32_t foreground, uint32_t background) override;
  void print(std::string_view text) override;
  void drawLine(int x1, int y1, int x2, int y2, uint32_t color) override;

  // Screen pixel (x, y) as 0x00RRGGBB, whatever the depth (8-bit through the palette,
  // 5- and 6-bit channels widened by bit replication so white stays 0xFFFFFF).
  uint32_t rgbAt(int x, int y) const;
  // The characters printed on a text row since the last lock (blanks where none).
  std::string textRow(int row) const;
  int cellHeight() const { return info_.rows > 0 ? info_.height / info_.rows : 16; }

 protected:
  // Sets up the memory for a mode and depth; false when either is unknown.
  bool allocateScreen(int mode, int depth);
  void clearTextShadow();

  ScreenInfo info_;
  std::vector<uint8_t> pixels_;
  std::array<uint32_t, 256> palette_{};  // 0x00RRGGBB per index at depth 8

 private:
  void putPixel(int x, int y, uint32_t color);
  uint32_t toScreenFormat(uint32_t color) const;

  int cursorRow_ = 1, cursorColumn_ = 1;
  uint32_t foreground_ = 0xFFFFFF, background_ = 0;
  std::vector<std::string> textShadow_;
};
