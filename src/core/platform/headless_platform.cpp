#include "core/platform/headless_platform.h"

#include <algorithm>
#include <string_view>

#include "core/platform/font.h"

bool HeadlessPlatform::openScreen(int mode, int depth) {
  return allocateScreen(mode, depth);
}

void HeadlessPlatform::lock() {
  clearTextShadow();
}

std::string HeadlessPlatform::readKey() {
  if (keys_.empty()) {
    if (++emptyReads_ >= idleCloseAfter_) {
      emptyReads_ = 0;
      return keys::kClose;
    }
    return {};
  }
  emptyReads_ = 0;
  std::string k = keys_.front();
  keys_.pop_front();
  if (keyHook_) keyHook_(k);
  return k;
}

void HeadlessPlatform::typeText(const std::string& text) {
  // One key a character: a byte, or the whole UTF-8 sequence of a non-ASCII character.
  std::string_view rest = text;
  while (!rest.empty()) {
    const size_t n = std::max<size_t>(utf8CharLength(rest), 1);
    keys_.emplace_back(rest.substr(0, n));
    rest.remove_prefix(n);
  }
}

void HeadlessPlatform::setKeyHeld(int scanCode, bool held) {
  if (held)
    held_.insert(scanCode);
  else
    held_.erase(scanCode);
}

std::string HeadlessPlatform::takeDroppedFile() {
  if (drops_.empty()) return {};
  std::string name = drops_.front();
  drops_.pop_front();
  return name;
}
