// Activating a numeric field: mouse plot of a point, or a number typed in place over the
// field's last seven cells, with its own small key and mouse polling loop.
#include <cmath>
#include <string>

#include "ui/field_entry.h"
#include "ui/field_labels.h"
#include "ui/mouse_read.h"

namespace {

constexpr int kEntryCells = 7;
constexpr int kPointPositionNone = 8;
constexpr double kRefreshInterval = 1.0 / 30.0;

bool plotsPoint(int code) {
  return code == kFieldScreenX || code == kFieldScreenY ||
         (code >= kFieldX1 && code <= kFieldX1 + 11);
}

// Mouse plot of the whole point the field belongs to ("screenX"/"screenY" feed no point).
void startMousePlot(Editor& ed, const MenuEntry& e, int code) {
  ToolState& t = ed.tools;
  t.plotTarget = plotsPoint(code) && code >= kFieldX1 ? (code - kFieldX1) / 3 * 3 : -1;
  t.plotMenu = e.menu;
  t.tool = kToolMousePlot;
  ed.requests.needPresent = 1;
}

enum class EntryEnd { Store, StoreAndTab, Cancel, Close };

struct Typed {
  float value = 0.0f;
  int count = 0;
  int pointPosition = kPointPositionNone;
  float sign = 1.0f;
};

// The polling loop of one entry: keys until Enter, Tab, Esc, a seventh character or a new
// left press; the close request leaves at once.
EntryEnd typeNumber(Editor& ed, int row, int column, Typed& n) {
  Platform& p = ed.platform;
  double lastRefresh = -1.0;
  for (;;) {
    readMouse(ed);
    if (ed.input.leftClick != 0) return EntryEnd::Store;
    const std::string key = p.readKey();
    if (key.empty()) {
      p.sleepMs(30);
      const double now = p.seconds();
      if (lastRefresh < 0.0 || now - lastRefresh >= kRefreshInterval) {
        p.refresh();
        lastRefresh = now;
      }
      continue;
    }
    if (key == keys::kClose) return EntryEnd::Close;
    if (key == keys::kEnter) return EntryEnd::Store;
    if (key.size() != 1) continue;  // extended keys are ignored
    p.setTextCursor(row, column + n.count);
    const char c = key[0];
    if (c >= '0' && c <= '9') {
      n.value = 10.0f * n.value + static_cast<float>(c - '0');
      ++n.count;
      p.print(key);
    } else if (c == '.') {
      ++n.count;
      p.print(key);
      n.pointPosition = n.count;
    } else if (c == '-') {
      ++n.count;
      p.print(key);
      n.sign = -1.0f;
    } else if (key == keys::kEsc) {
      return EntryEnd::Cancel;
    } else if (key == keys::kTab) {
      return EntryEnd::StoreAndTab;
    } else {
      continue;
    }
    if (n.count >= kEntryCells) return EntryEnd::Store;
  }
}

void storeNumber(Editor& ed, int code, Typed n) {
  while (n.pointPosition < n.count) {
    n.value = n.value / 10.0f;
    ++n.pointPosition;
  }
  const float v = n.sign * n.value;
  if (code >= kFieldFirstFloat) {
    ed.fields.floatFields[code - kFieldFirstFloat] = v;
    if (code == kFieldDrawDepth) ed.requests.needRender = 1;
  } else {
    ed.fields.displayValues[code] = static_cast<int32_t>(std::nearbyint(v));
  }
}

// The next numeric field after entry i in the order on screen, or -1.
int nextFieldEntry(const MenuState& ms, int i) {
  for (int k = i + 1; k < ms.menuEntryCount; ++k)
    if (fieldCodeOfLabel(ms.menuEntries[k].label) >= 0) return k;
  return -1;
}

}  // namespace

PassFlow activateField(Editor& ed, int entryIndex) {
  if (entryIndex < 0 || entryIndex >= ed.menus.menuEntryCount) return PassFlow::ToTools;
  const MenuEntry first = ed.menus.menuEntries[entryIndex];
  const int firstCode = fieldCodeOfLabel(first.label);
  if (firstCode < 0) return PassFlow::ToTools;
  if (flagOn(ed, kMousePlot) && plotsPoint(firstCode)) {
    startMousePlot(ed, first, firstCode);
    return PassFlow::ToTools;
  }
  Platform& p = ed.platform;
  for (int i = entryIndex; i >= 0;) {
    const MenuEntry e = ed.menus.menuEntries[i];
    const int code = fieldCodeOfLabel(e.label);
    const int row = e.row;
    const int column = e.column + e.width - kEntryCells;
    p.setTextColors(ed.uiColors[kUiBright], ed.uiColors[kUiFieldBack]);
    p.setTextCursor(row, column);
    p.print("_      ");
    Typed n;
    const EntryEnd end = typeNumber(ed, row, column, n);
    if (end == EntryEnd::Close) {
      ed.requests.quit = true;
      return PassFlow::EndPass;
    }
    if (end != EntryEnd::Cancel) storeNumber(ed, code, n);
    i = end == EntryEnd::StoreAndTab ? nextFieldEntry(ed.menus, i) : -1;
  }
  ed.requests.needPresent = 1;
  return PassFlow::ToTools;
}
