// The window-independent half of the SDL platform: key strings, the key buffer, the mouse
// report and the conversion of screen memory rows for the window.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "core/platform/input_mapping.h"
#include "core/platform/pixel_rows.h"
#include "core/platform/sdl_platform.h"

namespace {

std::string ext(int scanCode) {
  return std::string{static_cast<char>(0xFF), static_cast<char>(scanCode)};
}

KeyModifiers none() {
  return {};
}
KeyModifiers leftAlt() {
  KeyModifiers m;
  m.leftAlt = true;
  return m;
}
KeyModifiers rightAlt() {
  KeyModifiers m;
  m.rightAlt = true;
  return m;
}
KeyModifiers ctrl() {
  KeyModifiers m;
  m.ctrl = true;
  return m;
}

// [SECTION] key strings

TEST(PlatformKeys, ExtendedKeysCarryTheirScanCodes) {
  struct Case {
    NamedKey key;
    int scanCode;
    const std::string& contract;
  } cases[] = {
      {NamedKey::F1, 59, keys::kF1},       {NamedKey::F2, 60, keys::kF2},
      {NamedKey::F3, 61, keys::kF3},       {NamedKey::F4, 62, keys::kF4},
      {NamedKey::F5, 63, keys::kF5},       {NamedKey::F6, 64, keys::kF6},
      {NamedKey::Up, 72, keys::kUp},       {NamedKey::Down, 80, keys::kDown},
      {NamedKey::Left, 75, keys::kLeft},   {NamedKey::Right, 77, keys::kRight},
      {NamedKey::PageUp, 73, keys::kPgUp}, {NamedKey::PageDown, 81, keys::kPgDn},
      {NamedKey::Home, 71, keys::kHome},   {NamedKey::End, 79, keys::kEnd},
  };
  for (const auto& c : cases) {
    const std::string k = keyStringFor(c.key, none());
    EXPECT_EQ(k, ext(c.scanCode)) << c.scanCode;
    EXPECT_EQ(k, c.contract) << c.scanCode;
    // Shift does not change them (it picks the large camera step instead).
    EXPECT_EQ(keyStringFor(c.key, KeyModifiers{}), k);
  }
}

TEST(PlatformKeys, CtrlLettersAreExtendedKeysApartFromEveryScanCode) {
  KeyModifiers ctrlShift = ctrl();
  ctrlShift.shift = true;
  KeyModifiers ctrlAlt = ctrl();
  ctrlAlt.leftAlt = true;
  std::set<std::string> seen;
  for (char c = 'a'; c <= 'z'; ++c) {
    const std::string k = ctrlLetterKeyString(c, ctrl());
    const std::string ks = ctrlLetterKeyString(c, ctrlShift);
    EXPECT_EQ(k, keys::ctrlKey(c));
    EXPECT_EQ(ks, keys::ctrlKey(c, true));
    // Far from the scan codes of the named keys (at most 107) and all different.
    EXPECT_GE(static_cast<unsigned char>(k[1]), 0xC0);
    EXPECT_TRUE(seen.insert(k).second && seen.insert(ks).second) << c;
    // Without Ctrl, or with Alt, a letter is no key press (it arrives as typed text).
    EXPECT_EQ(ctrlLetterKeyString(c, none()), "");
    EXPECT_EQ(ctrlLetterKeyString(c, ctrlAlt), "");
  }
  EXPECT_EQ(ctrlLetterKeyString('A', ctrl()), "");
  KeyBuffer buffer;
  buffer.letterPressed('z', ctrl(), false);
  buffer.textTyped("z");  // the text a Ctrl press may still bring is dropped
  buffer.letterPressed('q', none(), false);
  EXPECT_EQ(buffer.take(), keys::ctrlKey('z'));
  EXPECT_EQ(buffer.take(), "");
}

TEST(PlatformKeys, OrdinaryControlKeysAreSingleCharacters) {
  EXPECT_EQ(keyStringFor(NamedKey::Enter, none()), "\r");
  EXPECT_EQ(keyStringFor(NamedKey::Tab, none()), "\t");
  EXPECT_EQ(keyStringFor(NamedKey::Escape, none()), "\x1b");
  EXPECT_EQ(keyStringFor(NamedKey::Backspace, none()), "\b");
  EXPECT_EQ(keyStringFor(NamedKey::None, none()), "");
}

TEST(PlatformKeys, AltF4ClosesAndCtrlF4ClosesTheMenu) {
  EXPECT_EQ(keyStringFor(NamedKey::F4, leftAlt()), ext(107));
  EXPECT_EQ(keyStringFor(NamedKey::F4, rightAlt()), ext(107));
  EXPECT_EQ(keyStringFor(NamedKey::F4, leftAlt()), keys::kClose);
  EXPECT_EQ(keyStringFor(NamedKey::F4, ctrl()), ext(97));
  EXPECT_EQ(keyStringFor(NamedKey::F4, ctrl()), keys::kCtrlF4);
  // Only F4 changes with Alt or Ctrl.
  EXPECT_EQ(keyStringFor(NamedKey::F2, leftAlt()), keys::kF2);
  EXPECT_EQ(keyStringFor(NamedKey::F5, ctrl()), keys::kF5);
}

TEST(PlatformKeys, TypedTextIsOneKeyACharacterWithoutControls) {
  using Keys = std::vector<std::string>;
  EXPECT_EQ(typedKeys("aZ 7~!"), (Keys{"a", "Z", " ", "7", "~", "!"}));
  // Non-ASCII characters are one key each, their UTF-8 bytes: é, ÿ (never byte 255, which
  // starts an extended key), the euro sign, a four-byte character.
  EXPECT_EQ(typedKeys("\xc3\xa9x\xc3\xbf\xe2\x82\xac\xf0\x9f\x98\x80"),
            (Keys{"\xc3\xa9", "x", "\xc3\xbf", "\xe2\x82\xac", "\xf0\x9f\x98\x80"}));
  // Controls (C0, DEL, C1) and malformed bytes are dropped.
  EXPECT_EQ(typedKeys("\x7f\x1b\xc2\x85\xff\xc3(\xe2\x82"), (Keys{"("}));
}

TEST(PlatformKeys, TypedTextIsIgnoredWhileAltOrCtrlIsHeld) {
  EXPECT_TRUE(acceptsTypedText(none()));
  EXPECT_FALSE(acceptsTypedText(leftAlt()));
  EXPECT_FALSE(acceptsTypedText(rightAlt()));
  EXPECT_FALSE(acceptsTypedText(ctrl()));
  KeyModifiers altGr;
  altGr.altGr = true;
  EXPECT_TRUE(acceptsTypedText(altGr));
}

// [SECTION] key buffer

TEST(PlatformKeyBuffer, KeysComeOutInTheOrderTheyWereTyped) {
  KeyBuffer b;
  EXPECT_EQ(b.take(), "");
  b.keyPressed(NamedKey::None, none(), false);  // the key of the typed text below
  b.textTyped("a");
  b.keyPressed(NamedKey::F6, none(), false);
  b.keyPressed(NamedKey::Enter, none(), false);
  EXPECT_EQ(b.take(), "a");
  EXPECT_EQ(b.take(), keys::kF6);
  EXPECT_EQ(b.take(), "\r");
  EXPECT_EQ(b.take(), "");
}

TEST(PlatformKeyBuffer, AutoRepeatIsDroppedWhileKeysWait) {
  KeyBuffer b;
  b.keyPressed(NamedKey::Up, none(), false);
  b.keyPressed(NamedKey::Up, none(), true);  // the first is still waiting: dropped
  b.keyPressed(NamedKey::Up, none(), true);
  EXPECT_EQ(b.size(), 1u);
  EXPECT_EQ(b.take(), keys::kUp);
  b.keyPressed(NamedKey::Up, none(), true);  // buffer empty: the repeat counts
  EXPECT_EQ(b.take(), keys::kUp);
}

TEST(PlatformKeyBuffer, TextOfADroppedRepeatIsDroppedToo) {
  KeyBuffer b;
  b.keyPressed(NamedKey::None, none(), false);
  b.textTyped("x");
  b.keyPressed(NamedKey::None, none(), true);
  b.textTyped("x");
  EXPECT_EQ(b.size(), 1u);
  // A new press after the dropped repeat types again.
  b.keyPressed(NamedKey::None, none(), false);
  b.textTyped("y");
  EXPECT_EQ(b.take(), "x");
  EXPECT_EQ(b.take(), "y");
}

TEST(PlatformKeyBuffer, AltLetterGivesNoKey) {
  KeyBuffer b;
  b.keyPressed(NamedKey::None, leftAlt(), false);
  b.textTyped("f");
  b.keyPressed(NamedKey::None, ctrl(), false);
  b.textTyped("c");
  EXPECT_EQ(b.take(), "");
}

TEST(PlatformKeyBuffer, CloseRequestGoesAheadOfWaitingKeys) {
  KeyBuffer b;
  b.keyPressed(NamedKey::Tab, none(), false);
  b.closeRequested();
  EXPECT_EQ(b.take(), keys::kClose);
  EXPECT_EQ(b.take(), "\t");
}

TEST(PlatformKeyBuffer, AFullBufferDropsFurtherKeysButNotTheCloseRequest) {
  KeyBuffer b;
  for (size_t i = 0; i < KeyBuffer::kCapacity + 10; ++i)
    b.keyPressed(NamedKey::Down, none(), false);
  EXPECT_EQ(b.size(), KeyBuffer::kCapacity);
  b.closeRequested();
  EXPECT_EQ(b.take(), keys::kClose);
}

// [SECTION] mouse

TEST(PlatformMouse, OutsideTheScreenOrWithoutFocusEverythingReadsMinusOne) {
  const MouseReport in = mouseReportFor(true, 799, 599, 800, 600, 3, 1);
  EXPECT_EQ(in.x, 799);
  EXPECT_EQ(in.y, 599);
  EXPECT_EQ(in.wheel, 3);
  EXPECT_EQ(in.buttons, 1);
  const MouseReport corner = mouseReportFor(true, 0, 0, 800, 600, 0, 0);
  EXPECT_EQ(corner.x, 0);
  EXPECT_EQ(corner.buttons, 0);
  for (const MouseReport& r :
       {mouseReportFor(true, 800, 10, 800, 600, 3, 1),
        mouseReportFor(true, 10, 600, 800, 600, 3, 1), mouseReportFor(true, -1, 10, 800, 600, 3, 1),
        mouseReportFor(true, 10, -5, 800, 600, 3, 1),
        mouseReportFor(false, 10, 10, 800, 600, 3, 1)}) {
    EXPECT_EQ(r.x, -1);
    EXPECT_EQ(r.y, -1);
    EXPECT_EQ(r.wheel, -1);
    EXPECT_EQ(r.buttons, -1);
  }
}

TEST(PlatformMouse, AClickBetweenTwoReadsIsSeenOnce) {
  ButtonLatch b;
  EXPECT_EQ(b.read(), 0);
  b.press(1);
  b.release(1);  // pressed and released between two passes
  EXPECT_EQ(b.read(), 1);
  EXPECT_EQ(b.read(), 0);
  b.press(2);
  EXPECT_EQ(b.read(), 2);
  EXPECT_EQ(b.read(), 2);  // still held
  b.press(1);
  EXPECT_EQ(b.read(), 3);
  b.release(2);
  EXPECT_EQ(b.read(), 1);
  b.release(1);
  EXPECT_EQ(b.read(), 0);
  // Where the latest press happened is kept for one read, and reported only on the screen.
  b.press(1, 30, 40);
  b.press(2, 50, 60);
  EXPECT_EQ(b.pressX, 50);
  const int px = b.pressX, py = b.pressY;
  const MouseReport r = mouseReportFor(true, 70, 80, 800, 600, 0, b.read(), px, py);
  EXPECT_EQ(r.pressX, 50);
  EXPECT_EQ(r.pressY, 60);
  EXPECT_EQ(b.pressX, -1);
  EXPECT_EQ(mouseReportFor(true, 70, 80, 800, 600, 0, 1, 800, 60).pressX, -1);
}

// [SECTION] video driver

TEST(PlatformVideoDriver, WindowlessDriversOnlyWhenAskedFor) {
  EXPECT_TRUE(usableVideoDriver("x11", ""));
  EXPECT_TRUE(usableVideoDriver("wayland", "x11"));
  // No display reachable: SDL falls back on a driver without windows.
  EXPECT_FALSE(usableVideoDriver("offscreen", ""));
  EXPECT_FALSE(usableVideoDriver("dummy", ""));
  EXPECT_FALSE(usableVideoDriver("offscreen", "x11"));
  EXPECT_TRUE(usableVideoDriver("offscreen", "offscreen"));
  EXPECT_TRUE(usableVideoDriver("dummy", "dummy"));
}

// [SECTION] screen memory rows for the window

template <typename T>
std::vector<uint8_t> rowOf(std::initializer_list<T> values) {
  std::vector<uint8_t> bytes(values.size() * sizeof(T));
  size_t i = 0;
  for (T v : values) std::memcpy(bytes.data() + sizeof(T) * i++, &v, sizeof(T));
  return bytes;
}

std::vector<uint32_t> convert(const std::vector<uint8_t>& row, int width, int depth,
                              const std::array<uint32_t, 256>& palette = {}) {
  std::vector<uint32_t> out(width, 0xDEADBEEF);
  convertRowToXrgb(row.data(), width, depth, palette, out.data());
  return out;
}

TEST(PlatformPixels, ThirtyTwoBitsAreCopiedWithoutTheTopByte) {
  const auto out = convert(rowOf<uint32_t>({0x00123456, 0xFF00FF00, 0xFFFFFFFF}), 3, 32);
  EXPECT_EQ(out, (std::vector<uint32_t>{0x123456, 0x00FF00, 0xFFFFFF}));
}

TEST(PlatformPixels, SixteenBitChannelsAreWidenedSoWhiteStaysWhite) {
  const auto out =
      convert(rowOf<uint16_t>({0xFFFF, 0xF800, 0x07E0, 0x001F, 0x0000, 0xFC40, 0x0020}), 7, 16);
  EXPECT_EQ(out[0], 0xFFFFFFu);
  EXPECT_EQ(out[1], 0xFF0000u);
  EXPECT_EQ(out[2], 0x00FF00u);
  EXPECT_EQ(out[3], 0x0000FFu);
  EXPECT_EQ(out[4], 0u);
  EXPECT_EQ(out[5], 0xFF8A00u);  // orange 0x00FF8800 after 5:6:5: green 34 of 63
  EXPECT_EQ(out[6], 0x000400u);  // the smallest green step
}

TEST(PlatformPixels, FifteenBitChannelsAreWidenedAndTheTopBitIgnored) {
  const auto out =
      convert(rowOf<uint16_t>({0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x8000, 0x7E20}), 6, 15);
  EXPECT_EQ(out[0], 0xFFFFFFu);
  EXPECT_EQ(out[1], 0xFF0000u);
  EXPECT_EQ(out[2], 0x00FF00u);
  EXPECT_EQ(out[3], 0x0000FFu);
  EXPECT_EQ(out[4], 0u);
  EXPECT_EQ(out[5], 0xFF8C00u);  // orange after 5:5:5: green 17 of 31
}

TEST(PlatformPixels, EightBitsGoThroughThePalette) {
  std::array<uint32_t, 256> palette{};
  palette[0xE0] = 0xC0B000;
  palette[0xFF] = 0xFFC0F0C0;  // a stray top byte does not reach the window
  const auto out = convert(rowOf<uint8_t>({0xE0, 0xFF, 0x00}), 3, 8, palette);
  EXPECT_EQ(out, (std::vector<uint32_t>{0xC0B000, 0xC0F0C0, 0}));
}

TEST(PlatformPixels, OnlyTheGivenWidthIsWritten) {
  auto out = std::vector<uint32_t>(3, 0xDEADBEEF);
  const auto row = rowOf<uint16_t>({0xFFFF, 0xFFFF, 0xFFFF});
  convertRowToXrgb(row.data(), 2, 16, {}, out.data());
  EXPECT_EQ(out[2], 0xDEADBEEFu);
}

}  // namespace
