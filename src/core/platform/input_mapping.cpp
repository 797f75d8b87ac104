#include "core/platform/input_mapping.h"

#include <utility>

#include "core/platform/font.h"

namespace {

std::string extended(int scanCode) {
  return std::string{static_cast<char>(0xFF), static_cast<char>(scanCode)};
}

}  // namespace

std::string keyStringFor(NamedKey key, const KeyModifiers& mods) {
  const bool alt = mods.leftAlt || mods.rightAlt;
  switch (key) {
    case NamedKey::F1:
      return extended(59);
    case NamedKey::F2:
      return extended(60);
    case NamedKey::F3:
      return extended(61);
    case NamedKey::F4:
      if (alt) return extended(107);
      if (mods.ctrl) return extended(97);
      return extended(62);
    case NamedKey::F5:
      return extended(63);
    case NamedKey::F6:
      return extended(64);
    case NamedKey::Up:
      return extended(72);
    case NamedKey::Down:
      return extended(80);
    case NamedKey::Left:
      return extended(75);
    case NamedKey::Right:
      return extended(77);
    case NamedKey::PageUp:
      return extended(73);
    case NamedKey::PageDown:
      return extended(81);
    case NamedKey::Home:
      return extended(71);
    case NamedKey::End:
      return extended(79);
    case NamedKey::Enter:
      return "\r";
    case NamedKey::Tab:
      return "\t";
    case NamedKey::Escape:
      return "\x1b";
    case NamedKey::Backspace:
      return "\b";
    case NamedKey::None:
      break;
  }
  return {};
}

std::string ctrlLetterKeyString(char letter, const KeyModifiers& mods) {
  if (!mods.ctrl || mods.leftAlt || mods.rightAlt || letter < 'a' || letter > 'z') return {};
  return keys::ctrlKey(letter, mods.shift);
}

bool acceptsTypedText(const KeyModifiers& mods) {
  if (mods.altGr) return true;
  return !mods.leftAlt && !mods.rightAlt && !mods.ctrl;
}

std::vector<std::string> typedKeys(std::string_view utf8) {
  std::vector<std::string> keys;
  while (!utf8.empty()) {
    const size_t n = utf8CharLength(utf8);
    const auto b0 = static_cast<unsigned char>(utf8[0]);
    const auto b1 = n > 1 ? static_cast<unsigned char>(utf8[1]) : 0;
    // One byte: printable ASCII only. Two bytes: C2 80..9F are the C1 controls.
    if ((n == 1 && b0 >= 32 && b0 < 127) || (n == 2 && !(b0 == 0xC2 && b1 < 0xA0)) || n > 2)
      keys.emplace_back(utf8.substr(0, n));
    utf8.remove_prefix(n == 0 ? 1 : n);
  }
  return keys;
}

MouseReport mouseReportFor(bool hasFocus, int x, int y, int width, int height, int wheel,
                           int buttons, int pressX, int pressY) {
  const auto onScreen = [&](int px, int py) {
    return px >= 0 && py >= 0 && px < width && py < height;
  };
  if (!hasFocus || !onScreen(x, y)) return MouseReport{-1, -1, -1, -1};
  if (!onScreen(pressX, pressY)) pressX = pressY = -1;
  return MouseReport{x, y, wheel, buttons, pressX, pressY};
}

void KeyBuffer::keyPressed(NamedKey key, const KeyModifiers& mods, bool repeat) {
  pressed(keyStringFor(key, mods), mods, repeat);
}

void KeyBuffer::letterPressed(char letter, const KeyModifiers& mods, bool repeat) {
  pressed(ctrlLetterKeyString(letter, mods), mods, repeat);
}

void KeyBuffer::pressed(std::string key, const KeyModifiers& mods, bool repeat) {
  lastMods_ = mods;
  // Auto-repeat would flood the buffer while the editor is busy: a repeat counts only
  // when everything typed before it has been taken.
  lastDropped_ = repeat && !keys_.empty();
  if (lastDropped_) return;
  if (!key.empty()) push(std::move(key));
}

void KeyBuffer::textTyped(std::string_view utf8) {
  if (lastDropped_ || !acceptsTypedText(lastMods_)) return;
  for (std::string& key : typedKeys(utf8)) push(std::move(key));
}

void KeyBuffer::closeRequested() {
  keys_.push_front(keys::kClose);
}

std::string KeyBuffer::take() {
  if (keys_.empty()) return {};
  std::string k = std::move(keys_.front());
  keys_.pop_front();
  return k;
}

void KeyBuffer::push(std::string key) {
  if (keys_.size() < kCapacity) keys_.push_back(std::move(key));
}
