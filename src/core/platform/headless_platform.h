// A platform without a window: the screen stays in memory, keys and mouse come from a
// script the test fills, and the clock is virtual (sleeping advances it).
#pragma once

#include <deque>
#include <functional>
#include <set>
#include <string>

#include "core/platform/screen_memory.h"

class HeadlessPlatform : public ScreenMemory {
 public:
  bool openScreen(int mode, int depth) override;
  void lock() override;
  void unlock() override { ++presents_; }
  std::string readKey() override;
  bool keyHeld(int scanCode) override { return held_.count(scanCode) != 0; }
  MouseReport readMouse() override { return mouse_; }
  double seconds() override { return clock_; }
  void sleepMs(int ms) override { clock_ += ms / 1000.0; }
  void refresh() override { ++refreshes_; }
  void setWindowTitle(std::string_view title) override { title_ = std::string(title); }
  std::string takeDroppedFile() override;

  // Script.
  void pushKey(const std::string& key) { keys_.push_back(key); }
  void typeText(const std::string& text);  // one key per character
  // The press position is reported as given at every read (-1: none, the editor then takes
  // the pointer's position for a press).
  void setMouse(int x, int y, int buttons, int wheel = 0, int pressX = -1, int pressY = -1) {
    mouse_ = {x, y, wheel, buttons, pressX, pressY};
  }
  void setKeyHeld(int scanCode, bool held);
  // A file dropped on the window, handed out by takeDroppedFile in order.
  void dropFile(const std::string& name) { drops_.push_back(name); }
  // After this many reads of an empty key buffer in a row, the close request is delivered,
  // so a test whose script runs dry inside a modal wait ends instead of hanging.
  void setIdleCloseAfter(int reads) { idleCloseAfter_ = reads; }
  // Called with every scripted key as it is handed out, before the editor sees it (a test
  // changes the world at that moment, e.g. deletes the file a prompt is about to name).
  void setKeyHook(std::function<void(const std::string& key)> hook) { keyHook_ = std::move(hook); }

  int presents() const { return presents_; }
  int refreshes() const { return refreshes_; }
  size_t pendingKeys() const { return keys_.size(); }
  const std::string& title() const { return title_; }
  double clock() const { return clock_; }

 private:
  std::deque<std::string> keys_;
  std::deque<std::string> drops_;
  std::set<int> held_;
  MouseReport mouse_{0, 0, 0, 0};
  double clock_ = 0.0;
  int presents_ = 0, refreshes_ = 0;
  int emptyReads_ = 0, idleCloseAfter_ = 100000;
  std::string title_;
  std::function<void(const std::string&)> keyHook_;
};
