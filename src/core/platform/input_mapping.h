// The window's keyboard and mouse turned into the editor's terms, without the window
// library: the SDL platform maps its key codes onto NamedKey and hands the rest here.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/platform.h"

// The keys that reach the key buffer through key presses rather than typed text.
enum class NamedKey {
  None,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  Up,
  Down,
  Left,
  Right,
  PageUp,
  PageDown,
  Home,
  End,
  Enter,
  Tab,
  Escape,
  Backspace,
};

// Modifier keys held at the moment of a key press or of typed text.
struct KeyModifiers {
  bool leftAlt = false, rightAlt = false;
  bool ctrl = false;
  bool shift = false;
  bool altGr = false;  // the layout's third-level shift (reported apart from Alt)
};

// The key-buffer string of a key press: one character, or character 255 and the scan code.
// Alt+F4 is the close request (255, 107) and Ctrl+F4 closes the focused menu (255, 97).
// "" for keys the editor does not use.
std::string keyStringFor(NamedKey key, const KeyModifiers& mods);

// The key-buffer string of a letter key (a..z) pressed with Ctrl and without Alt:
// keys::ctrlKey(letter, shift). "" for any other letter or modifier combination, since
// plain letters arrive as typed text.
std::string ctrlLetterKeyString(char letter, const KeyModifiers& mods);

// Typed text is taken only while neither Alt nor Ctrl is held (X11 reports Alt+letter as
// text as well); the layout's AltGr still types.
bool acceptsTypedText(const KeyModifiers& mods);

// The characters of a piece of typed text (UTF-8) that become keys, one key each: a
// printable ASCII character as its one byte, any other character (U+00A0 and above) as
// its UTF-8 bytes. Control characters and malformed bytes are dropped. No key made here
// starts with byte 255, which starts an extended key.
std::vector<std::string> typedKeys(std::string_view utf8);

// The mouse report for the pointer at (x, y) in screen pixels: -1 for position and buttons
// (and the wheel) unless the window has the mouse focus and the point lies on the screen.
// The press position (pressX, pressY) is kept only when it lies on the screen too.
MouseReport mouseReportFor(bool hasFocus, int x, int y, int width, int height, int wheel,
                           int buttons, int pressX = -1, int pressY = -1);

// Button bits (1 left, 2 right) from press and release events, read once per loop pass.
// A button pressed since the last read counts as held for that read, so a click shorter
// than one pass still shows its press edge; where the latest of those presses happened is
// kept for the same read.
struct ButtonLatch {
  int held = 0, pressedSinceRead = 0;
  int pressX = -1, pressY = -1;  // screen pixels of the latest press since the last read

  void press(int bit, int x = -1, int y = -1) {
    held |= bit;
    pressedSinceRead |= bit;
    if (bit != 0) {
      pressX = x;
      pressY = y;
    }
  }
  void release(int bit) { held &= ~bit; }
  int read() {
    const int bits = held | pressedSinceRead;
    pressedSinceRead = 0;
    pressX = pressY = -1;
    return bits;
  }
};

// The key buffer filled from the window's events in the order they come.
class KeyBuffer {
 public:
  // Typed keys waiting beyond this are dropped, as a full keyboard buffer would.
  static constexpr size_t kCapacity = 64;

  // A key press; `repeat` marks the keyboard's auto-repeat. The typed text that follows
  // a press belongs to it (same modifiers, dropped with it).
  void keyPressed(NamedKey key, const KeyModifiers& mods, bool repeat);
  // A letter key (a..z) press; only Ctrl+letter becomes a key (ctrlLetterKeyString).
  void letterPressed(char letter, const KeyModifiers& mods, bool repeat);
  void textTyped(std::string_view utf8);
  // The window's close request, ahead of the keys typed before it.
  void closeRequested();
  // Next key, or "" when the buffer is empty.
  std::string take();
  size_t size() const { return keys_.size(); }

 private:
  void push(std::string key);
  void pressed(std::string key, const KeyModifiers& mods, bool repeat);

  std::deque<std::string> keys_;
  KeyModifiers lastMods_;     // of the latest key press
  bool lastDropped_ = false;  // the latest key press was a dropped auto-repeat
};
