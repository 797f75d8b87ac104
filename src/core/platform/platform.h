// The screen and input services the editor needs, behind one interface.
// SdlPlatform shows a real window; HeadlessPlatform keeps the screen in memory and takes its
// keys, mouse and clock from a script (tests). Both share the drawing in ScreenMemory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct ScreenInfo {
  int width = 0, height = 0;  // pixels
  int depth = 0;              // bits per pixel in force: 8, 15, 16 or 32
  int pitch = 0;              // bytes from one row to the next
  int columns = 0, rows = 0;  // text grid
};

struct MouseReport {
  int x = -1, y = -1;  // screen pixels; -1 when the pointer is outside the window
  int wheel = 0;       // wheel position: notches up minus notches down since the start
  int buttons = -1;    // bit 0 left, bit 1 right; -1 when the pointer is outside
  // Where the latest button press since the previous read happened (screen pixels); -1 when
  // there was none or the platform does not know (the pointer's position is taken then).
  int pressX = -1, pressY = -1;
};

// Scan codes the editor asks about with keyHeld.
constexpr int kScanAlt = 56;
constexpr int kScanLeftShift = 42;
constexpr int kScanRightShift = 54;

// Key strings: one character, or character 255 followed by the scan code.
namespace keys {
inline const std::string kF1 = "\xff;";
inline const std::string kF2 = "\xff<";
inline const std::string kF3 = "\xff=";
inline const std::string kF4 = "\xff>";
inline const std::string kF5 = "\xff?";
inline const std::string kF6 = "\xff@";
inline const std::string kClose = "\xffk";  // window close request and Alt+F4
inline const std::string kCtrlF4 =
    "\xff"
    "a";
inline const std::string kUp = "\xffH";
inline const std::string kDown = "\xffP";
inline const std::string kLeft = "\xffK";
inline const std::string kRight = "\xffM";
inline const std::string kPgUp = "\xffI";
inline const std::string kPgDn = "\xffQ";
inline const std::string kHome = "\xffG";
inline const std::string kEnd = "\xffO";
inline const std::string kEnter = "\r";
inline const std::string kTab = "\t";
inline const std::string kEsc = "\x1b";
inline const std::string kBackspace = "\b";

// Ctrl+letter and Ctrl+Shift+letter (a..z): character 255, then 0xC0 or 0xE0 plus the
// letter's place in the alphabet. No scan code of the keys above lies in either range.
inline std::string ctrlKey(char letter, bool shift = false) {
  const int code = (shift ? 0xE0 : 0xC0) + (letter - 'a');
  return std::string{static_cast<char>(0xFF), static_cast<char>(code)};
}
}  // namespace keys

class Platform {
 public:
  virtual ~Platform() = default;

  // Opens a windowed screen of a mode number (13..21) at a colour depth (8, 15, 16, 32).
  // Returns false when the mode or depth is refused.
  virtual bool openScreen(int mode, int depth) = 0;
  virtual ScreenInfo screenInfo() const = 0;
  // First byte of the visible pixels; rows are screenInfo().pitch bytes apart.
  virtual uint8_t* framePointer() = 0;
  // Screen memory and text output stay consistent between the two; unlock shows the screen.
  virtual void lock() = 0;
  virtual void unlock() = 0;
  // Palette entry at depth 8 (channels 0..255).
  virtual void setPaletteEntry(int index, int red, int green, int blue) = 0;

  // Text grid: rows and columns count from 1.
  virtual void setTextCursor(int row, int column) = 0;
  virtual void textCursor(int& row, int& column) const = 0;
  // Colours as 0x00RRGGBB, or palette indices at depth 8.
  virtual void setTextColors(uint32_t foreground, uint32_t background) = 0;
  // Draws the text at the cursor, each cell filled with the background; the cursor advances.
  virtual void print(std::string_view text) = 0;
  // A solid one-pixel line between two screen points, colour as for text.
  virtual void drawLine(int x1, int y1, int x2, int y2, uint32_t color) = 0;

  // Next key from the key buffer, or "" when it is empty.
  virtual std::string readKey() = 0;
  // Whether the key with this scan code is held (56 Alt, 42 and 54 Shift).
  virtual bool keyHeld(int scanCode) = 0;
  virtual MouseReport readMouse() = 0;
  // Seconds, increasing.
  virtual double seconds() = 0;
  virtual void sleepMs(int ms) = 0;
  // The idle sleep: `ms`, or less when input arrives first (a window wakes on its events,
  // so a drag that starts while the editor is idle is seen at once).
  virtual void sleepUntilInput(int ms) { sleepMs(ms); }
  // Shows the screen memory as it is now (used by modal steps that wait for input).
  virtual void refresh() = 0;
  virtual void setWindowTitle(std::string_view title) = 0;
  // The next file dropped on the window, or "" when none is waiting.
  virtual std::string takeDroppedFile() { return {}; }
};
