// The shared screen memory (text grid, fonts, colours, lines) and the headless platform's
// script, as the editor sees them through the platform interface.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "core/platform/headless_platform.h"

namespace {

HeadlessPlatform openAt(int mode, int depth) {
  HeadlessPlatform p;
  EXPECT_TRUE(p.openScreen(mode, depth));
  return p;
}

// Pixels of text cell (row, column), counted where the colour differs from `background`.
int litPixels(const ScreenMemory& s, int row, int column, uint32_t background) {
  const int ch = s.cellHeight();
  int lit = 0;
  for (int y = (row - 1) * ch; y < row * ch; ++y)
    for (int x = (column - 1) * 8; x < column * 8; ++x) lit += s.rgbAt(x, y) != background;
  return lit;
}

uint16_t word16(Platform& p, int x, int y) {
  uint16_t v;
  std::memcpy(&v, p.framePointer() + y * p.screenInfo().pitch + 2 * x, 2);
  return v;
}

// [SECTION] text grid and fonts

TEST(ScreenMemoryText, GridAndCellHeightFollowTheMode) {
  struct Case {
    int mode, width, height, columns, rows, cell;
  } cases[] = {
      {13, 320, 200, 40, 25, 8},   {14, 320, 240, 40, 30, 8},    {15, 400, 300, 50, 37, 8},
      {16, 512, 384, 64, 24, 16},  {17, 640, 400, 80, 25, 16},   {18, 640, 480, 80, 30, 16},
      {19, 800, 600, 100, 37, 16}, {20, 1024, 768, 128, 48, 16}, {21, 1280, 1024, 160, 64, 16}};
  for (const auto& c : cases) {
    HeadlessPlatform p = openAt(c.mode, 32);
    const ScreenInfo info = p.screenInfo();
    EXPECT_EQ(info.width, c.width) << c.mode;
    EXPECT_EQ(info.height, c.height) << c.mode;
    EXPECT_EQ(info.columns, c.columns) << c.mode;
    EXPECT_EQ(info.rows, c.rows) << c.mode;
    EXPECT_EQ(info.pitch, c.width * 4) << c.mode;
    EXPECT_EQ(p.cellHeight(), c.cell) << c.mode;
  }
}

TEST(ScreenMemoryText, RefusesUnknownModesAndDepths) {
  HeadlessPlatform p;
  EXPECT_FALSE(p.openScreen(12, 32));
  EXPECT_FALSE(p.openScreen(22, 32));
  EXPECT_FALSE(p.openScreen(19, 24));
  EXPECT_FALSE(p.openScreen(19, 0));
  EXPECT_EQ(p.framePointer(), nullptr);
}

// Every printable character has a visible glyph in both fonts; the blank has none, and
// nothing spills into the neighbouring cells.
TEST(ScreenMemoryText, EveryPrintableCharacterDrawsAGlyphInBothFonts) {
  for (const int mode : {13, 19}) {
    HeadlessPlatform p = openAt(mode, 32);
    p.setTextColors(0xFFFFFF, 0x000040);
    for (int c = 32; c < 127; ++c) {
      const int row = 2 + (c - 32) / 30 * 2, column = 2 + (c - 32) % 30;
      p.setTextCursor(row, column);
      p.print(std::string(1, static_cast<char>(c)));
      const int lit = litPixels(p, row, column, 0x000040);
      if (c == ' ')
        EXPECT_EQ(lit, 0) << "mode " << mode;
      else
        EXPECT_GT(lit, 0) << "mode " << mode << " character " << static_cast<char>(c);
    }
    // Row 1 and column 1 were never printed on: still black, not background colour.
    for (int column = 1; column <= 32; ++column) EXPECT_EQ(litPixels(p, 1, column, 0), 0);
    for (int row = 1; row <= 9; ++row) EXPECT_EQ(litPixels(p, row, 1, 0), 0);
  }
}

TEST(ScreenMemoryText, TheTwoFontsDiffer) {
  HeadlessPlatform small = openAt(13, 32), large = openAt(19, 32);
  for (HeadlessPlatform* p : {&small, &large}) {
    p->setTextCursor(1, 1);
    p->print("A");
  }
  // The 8x8 glyph fits in 8 rows; the 8x16 one reaches below row 8 of its cell.
  int lowSmall = 0, lowLarge = 0;
  for (int y = 8; y < 16; ++y)
    for (int x = 0; x < 8; ++x) {
      lowLarge += large.rgbAt(x, y) != 0;
      lowSmall += small.rgbAt(x, y) != 0;
    }
  EXPECT_GT(lowLarge, 0);
  EXPECT_EQ(lowSmall, 0);
}

TEST(ScreenMemoryText, PrintAdvancesTheCursorAndTheShadowReadsBack) {
  HeadlessPlatform p = openAt(19, 32);
  p.setTextCursor(3, 5);
  p.print("tool: ");
  p.print("mouselook");
  int row = 0, column = 0;
  p.textCursor(row, column);
  EXPECT_EQ(row, 3);
  EXPECT_EQ(column, 20);
  const std::string text = p.textRow(3);
  ASSERT_EQ(text.size(), 100u);
  EXPECT_EQ(text.substr(0, 19), "    tool: mouselook");
  EXPECT_EQ(text.find_first_not_of(' ', 19), std::string::npos);
  EXPECT_EQ(p.textRow(0), "");
  EXPECT_EQ(p.textRow(38), "");
  // A lock starts a new screen: the shadow is empty again.
  p.lock();
  EXPECT_EQ(p.textRow(3), std::string(100, ' '));
}

TEST(ScreenMemoryText, TextOutsideTheGridIsClippedNotWrapped) {
  HeadlessPlatform p = openAt(13, 32);
  p.setTextCursor(25, 38);
  p.print("abcdef");  // columns 38..40 fit, the rest is dropped
  EXPECT_EQ(p.textRow(25).substr(37), "abc");
  p.setTextCursor(26, 1);
  p.print("zz");  // below the last row
  p.setTextCursor(0, 1);
  p.print("zz");
  for (int r = 1; r <= 25; ++r) EXPECT_EQ(p.textRow(r).find('z'), std::string::npos) << r;
}

TEST(ScreenMemoryText, ControlCharactersReadBackAsBlanks) {
  HeadlessPlatform p = openAt(19, 32);
  p.setTextCursor(1, 1);
  p.print(std::string("a\tb", 3));
  EXPECT_EQ(p.textRow(1).substr(0, 3), "a b");
}

// [SECTION] colours by depth

TEST(ScreenMemoryColours, SixteenBitScreensStoreFiveSixFiveWords) {
  HeadlessPlatform p = openAt(19, 16);
  EXPECT_EQ(p.screenInfo().pitch, 1600);
  p.setTextColors(0xFFFFFF, 0x0000FF);
  p.setTextCursor(1, 1);
  p.print(" ");
  EXPECT_EQ(word16(p, 0, 0), 0x001F);
  p.setTextCursor(1, 1);
  p.print("\xdb");  // the full block: every pixel foreground
  EXPECT_EQ(word16(p, 3, 3), 0xFFFF);
  EXPECT_EQ(p.rgbAt(3, 3), 0xFFFFFFu);
  p.drawLine(10, 100, 10, 100, 0xFF8800);
  EXPECT_EQ(word16(p, 10, 100), 0xFC40);
}

TEST(ScreenMemoryColours, FifteenBitScreensStoreFiveFiveFiveWords) {
  HeadlessPlatform p = openAt(19, 15);
  p.setTextColors(0xFFFFFF, 0xFF0000);
  p.setTextCursor(1, 1);
  p.print(" ");
  EXPECT_EQ(word16(p, 0, 0), 0x7C00);
  EXPECT_EQ(p.rgbAt(0, 0), 0xFF0000u);
  p.drawLine(10, 100, 10, 100, 0xFFFFFF);
  EXPECT_EQ(word16(p, 10, 100), 0x7FFF);
  EXPECT_EQ(p.rgbAt(10, 100), 0xFFFFFFu);
}

TEST(ScreenMemoryColours, EightBitScreensStorePaletteIndices) {
  HeadlessPlatform p = openAt(19, 8);
  EXPECT_EQ(p.screenInfo().pitch, 800);
  for (int i = 0; i < 256; ++i) p.setPaletteEntry(i, i & 0xC0, (i & 0x3C) * 4, (i & 3) * 64);
  p.setTextColors(0x3C, 0x02);  // palette indices at depth 8
  p.setTextCursor(1, 1);
  p.print(" ");
  EXPECT_EQ(p.framePointer()[0], 0x02);
  EXPECT_EQ(p.rgbAt(0, 0), 0x000080u);
  p.drawLine(5, 50, 5, 50, 0xE0);
  EXPECT_EQ(p.framePointer()[50 * 800 + 5], 0xE0);
  EXPECT_EQ(p.rgbAt(5, 50), 0xC08000u);
}

// [SECTION] lines

std::set<std::pair<int, int>> litPoints(const ScreenMemory& s) {
  std::set<std::pair<int, int>> points;
  const ScreenInfo info = s.screenInfo();
  for (int y = 0; y < info.height; ++y)
    for (int x = 0; x < info.width; ++x)
      if (s.rgbAt(x, y) != 0) points.insert({x, y});
  return points;
}

TEST(ScreenMemoryLines, LinesIncludeBothEndpointsAndAreConnected) {
  HeadlessPlatform p = openAt(13, 32);
  p.drawLine(3, 4, 20, 9, 0xFF00FF);
  const auto points = litPoints(p);
  EXPECT_EQ(points.size(), 18u);  // one pixel per column along the longer axis
  EXPECT_TRUE(points.count({3, 4}));
  EXPECT_TRUE(points.count({20, 9}));
  for (const auto& [x, y] : points) {
    EXPECT_GE(y, 4);
    EXPECT_LE(y, 9);
  }
  EXPECT_EQ(p.rgbAt(3, 4), 0xFF00FFu);

  HeadlessPlatform q = openAt(13, 32);
  q.drawLine(7, 30, 7, 10, 0xFFFFFF);  // steep, drawn upwards
  const auto vertical = litPoints(q);
  EXPECT_EQ(vertical.size(), 21u);
  EXPECT_TRUE(vertical.count({7, 10}));
  EXPECT_TRUE(vertical.count({7, 30}));
}

TEST(ScreenMemoryLines, LinesLeavingTheScreenAreClipped) {
  HeadlessPlatform p = openAt(13, 32);
  p.drawLine(-50, 100, 400, 100, 0xFFFFFF);
  const auto points = litPoints(p);
  EXPECT_EQ(points.size(), 320u);
  EXPECT_TRUE(points.count({0, 100}));
  EXPECT_TRUE(points.count({319, 100}));
}

// [SECTION] headless script

TEST(HeadlessScript, KeysComeOutInOrderAndTextIsOneKeyPerCharacter) {
  HeadlessPlatform p;
  p.pushKey(keys::kF2);
  p.typeText("ab");
  EXPECT_EQ(p.pendingKeys(), 3u);
  EXPECT_EQ(p.readKey(), keys::kF2);
  EXPECT_EQ(p.readKey(), "a");
  EXPECT_EQ(p.readKey(), "b");
  EXPECT_EQ(p.readKey(), "");
}

TEST(HeadlessScript, ARunDryScriptEndsWithTheCloseRequest) {
  HeadlessPlatform p;
  p.setIdleCloseAfter(3);
  EXPECT_EQ(p.readKey(), "");
  EXPECT_EQ(p.readKey(), "");
  EXPECT_EQ(p.readKey(), keys::kClose);
  // A key in between starts the count again.
  EXPECT_EQ(p.readKey(), "");
  p.typeText("x");
  EXPECT_EQ(p.readKey(), "x");
  EXPECT_EQ(p.readKey(), "");
  EXPECT_EQ(p.readKey(), "");
  EXPECT_EQ(p.readKey(), keys::kClose);
}

}  // namespace
