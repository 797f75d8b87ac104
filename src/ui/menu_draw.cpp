// Drawing the menu entries over the presented frame, and the seven-column number format.
#include <string>

#include "render/render_passes.h"
#include "ui/menu_list.h"
#include "ui/menu_lookup.h"
#include "ui/menu_tables.h"
#include "ui/menus.h"
#include "ui/vertex_markers.h"

namespace {

constexpr uint32_t kVertexSelectorMarker = 0xFF00FF;

int backgroundOf(LabelKind kind) {
  switch (kind) {
    case kSubmenu:
      return kUiSubmenu;
    case kCheckbox:
      return kUiCheckbox;
    case kAction:
      return kUiAction;
    case kPartRow:
      return kUiPart;
    case kPartNameRow:
      return kUiPartName;
    default:
      return kUiPlain;
  }
}

// Two 4-pixel wedges pointing outward, one pixel clear of each side of the entry.
void drawHighlightMarks(Editor& ed, const MenuEntry& e) {
  const uint32_t color = ed.uiColors[kUiBright];
  const int x1 = (e.column - 1) * 8 - 1;
  const int x2 = x1 + e.width * 8 + 1;
  const int y1 = (e.row - 1) * ed.cellHeight;
  const int y2 = y1 + ed.cellHeight - 1;
  for (int k = 0; k <= 3; ++k) {
    ed.platform.drawLine(x1 - k, y1 + k, x1 - k, y2 - k, color);
    ed.platform.drawLine(x2 + k, y1 + k, x2 + k, y2 - k, color);
  }
}

float fieldValue(const Fields& f, int code) {
  if (code < kFieldFirstFloat) {
    return code < static_cast<int>(f.displayValues.size())
               ? static_cast<float>(f.displayValues[code])
               : 0.0f;
  }
  const int index = code - kFieldFirstFloat;
  return index < static_cast<int>(f.floatFields.size()) ? f.floatFields[index] : 0.0f;
}

// "tens digit, units digit, blank, name" of the menu's next part group; advances the cursor.
void drawPartRow(Editor& ed, MenuEntry& e) {
  uint8_t& cursor = ed.menus.menuPartCursor[e.menu];
  const int p = cursor % kPartGroups;
  char text[3 + kPartNameLength];
  text[0] = static_cast<char>('0' + p / 10);
  text[1] = static_cast<char>('0' + p % 10);
  text[2] = ' ';
  for (int c = 0; c < kPartNameLength; ++c) {
    const char ch = ed.model.partNames[p][c];
    text[3 + c] = ch == '\0' ? ' ' : ch;
  }
  ed.platform.setTextCursor(e.row, e.column + 1);
  ed.platform.print(std::string_view(text, sizeof text));
  e.part = static_cast<uint8_t>(p);
  cursor = static_cast<uint8_t>(p + 1 == kPartGroups ? 0 : p + 1);
}

void drawEntry(Editor& ed, int index) {
  Platform& pf = ed.platform;
  MenuEntry& e = ed.menus.menuEntries[index];
  const MenuLabel& label = menuLabels[e.label];
  int fg = kUiText;
  const int bg = backgroundOf(label.kind);
  if (index == ed.menus.activeEntry) {
    fg = kUiBright;
    drawHighlightMarks(ed, e);
  }
  pf.setTextColors(ed.uiColors[fg], ed.uiColors[bg]);
  pf.setTextCursor(e.row, e.column);
  pf.print(label.textView().substr(0, e.width));
  switch (label.kind) {
    case kCheckbox:
      if (label.arg < 32 && (ed.viewFlags & (1u << label.arg)) != 0) {
        pf.setTextCursor(e.row, e.column + 1);
        pf.print("X");
      }
      break;
    case kField:
      pf.setTextColors(ed.uiColors[kUiBright], ed.uiColors[kUiFieldBack]);
      [[fallthrough]];
    case kReadout:
      pf.setTextCursor(e.row, e.column + 9);
      pf.print(formatNumber7(fieldValue(ed.fields, label.arg)));
      break;
    case kPartRow:
    case kPartNameRow:
      drawPartRow(ed, e);
      break;
    default:
      break;
  }
  if (e.label == kLabelVertSelectr && ed.tools.tool == kToolMouselook)
    drawVertexMarker(
        ed, ed.tools.pickSlots[2],
        ed.screenDepth == 8 ? toPaletteIndex(kVertexSelectorMarker) : kVertexSelectorMarker);
}

}  // namespace

void drawMenus(Editor& ed) {
  repairFocus(ed.menus);
  for (int i = 0; i < ed.menus.menuEntryCount; ++i) drawEntry(ed, i);
}

std::string formatNumber7(float value) {
  // Digits come from repeated subtraction in single precision; the truncated fractions this
  // gives (0.11 shows as .109999) are the expected output. Both are volatile so every step is
  // stored, and so rounded, as a float even where a compiler would keep wider intermediates.
  volatile float v = value;
  volatile float limit = 10000000.0f;
  std::string text;
  text.reserve(7);
  bool started = false;
  if (v < 0.0f) {
    v = -v;
    limit = 1000000.0f;
    text = "-";
  }
  if (!(v < limit)) return "big num";
  for (;;) {
    if (limit == 1.0f) {
      if (v == 0.0f) break;
      text += '.';
      started = true;
      if (text.size() == 7) break;
    }
    limit = limit / 10.0f;
    if (v >= limit) started = true;
    if (!started) continue;
    int digit = 0;
    while (v >= limit) {
      v = v - limit;
      ++digit;
    }
    text += static_cast<char>('0' + digit);
    if (text.size() == 7) break;
  }
  if (!started) text += '0';
  return std::string(7 - text.size(), ' ') + text;
}
