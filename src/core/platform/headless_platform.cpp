#include "core/platform/headless_platform.h"

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
  for (const char c : text) keys_.emplace_back(1, c);
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
