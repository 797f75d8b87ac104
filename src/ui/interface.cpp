// The text drawn over the frame at every present: file line, tool line with its markers,
// the menus and the status message.
#include "ui/interface.h"

#include <array>
#include <cstdio>
#include <string>

#include "core/platform/font.h"
#include "render/render_passes.h"
#include "ui/menu_lookup.h"
#include "ui/menus.h"
#include "ui/tool_line.h"
#include "ui/vertex_markers.h"

namespace {

constexpr uint32_t kMarkerBlue = 0x0000FF;
constexpr uint32_t kMarkerGreen = 0x00FF00;
constexpr uint32_t kMarkerMagenta = 0xFF00FF;
constexpr int kMessageWidth = 25;

constexpr std::array<const char*, kStatusMessageCount> kMessages = {
    "",
    "Canceled.",
    "Error: not an RQ file",
    "Error: too many verteces",
    "Error: too many triangles",
    "File saved.",
    "File loaded.",
    "Error: too many lines",
    "Model cleared!",
    "Deleted!",
    "Error: write failed",
    "Nothing selected!",
    "Screenshot saved.",
    "Error: file not found",
    "Error: damaged file",
    "Error: no facets in file",
    "Error: permission denied",
    "Undone.",
    "Redone.",
    "Nothing to undo.",
    "Nothing to redo.",
};

// Every record padded with blanks to the full width.
const std::array<std::string, kStatusMessageCount + 1>& paddedMessages() {
  static const std::array<std::string, kStatusMessageCount + 1> table = [] {
    std::array<std::string, kStatusMessageCount + 1> t;
    for (int i = 0; i < kStatusMessageCount; ++i) {
      t[i] = kMessages[i];
      t[i].resize(kMessageWidth, ' ');
    }
    t[kStatusMessageCount] = std::string(kMessageWidth, ' ');  // any number outside the table
    return t;
  }();
  return table;
}

// Marker and band colours are 0x00RRGGBB; at depth 8 the screen wants palette indices.
uint32_t screenColor(const Editor& ed, uint32_t rgb) {
  return ed.screenDepth == 8 ? toPaletteIndex(rgb) : rgb;
}

// The selection tool is on while its option is set and the "Selection..." menu is shown.
void selectionToolUpkeep(Editor& ed) {
  ToolState& t = ed.tools;
  if (t.tool == kToolSelection) t.tool = kToolMouselook;
  if (t.tool != kToolMouselook || !flagOn(ed, kSelectTool) ||
      !menuShownOnScreen(ed.menus, kMenuSelection))
    return;
  t.tool = kToolSelection;
  const InputState& in = ed.input;
  const uint32_t c = screenColor(ed, kMarkerMagenta);
  Platform& p = ed.platform;
  p.drawLine(in.anchorScreenX, in.anchorScreenY, in.mouseScreenX, in.anchorScreenY, c);
  p.drawLine(in.mouseScreenX, in.anchorScreenY, in.mouseScreenX, in.mouseScreenY, c);
  p.drawLine(in.mouseScreenX, in.mouseScreenY, in.anchorScreenX, in.mouseScreenY, c);
  p.drawLine(in.anchorScreenX, in.mouseScreenY, in.anchorScreenX, in.anchorScreenY, c);
}

void drawToolMarkers(Editor& ed) {
  const ToolState& t = ed.tools;
  switch (t.tool) {
    case kToolAutoTriangle:
      for (const int32_t v : t.pickSlots) drawVertexMarker(ed, v, screenColor(ed, kMarkerBlue));
      break;
    case kToolManualTriangle:
      drawVertexMarker(ed, t.pickSlots[2], screenColor(ed, kMarkerGreen));
      if (t.pickCount > 0) drawVertexMarker(ed, t.pickSlots[0], screenColor(ed, kMarkerMagenta));
      if (t.pickCount > 1) drawVertexMarker(ed, t.pickSlots[1], screenColor(ed, kMarkerMagenta));
      break;
    case kToolVertexEdit:
      drawVertexMarker(ed, t.pickSlots[2], screenColor(ed, kMarkerGreen));
      break;
    default:
      break;
  }
}

}  // namespace

std::string formatRate(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.16g", value);
  std::string text = buffer;
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (!(value < 0.0)) text.insert(text.begin(), ' ');
  return text;
}

std::string toolLineText(const ToolState& tools, double now) {
  switch (tools.tool) {
    case kToolMouselook:
      return "mouselook";
    case kToolMousePlot:
      return "mouse plot (R-click to end)";
    case kToolSelection:
      return "selection";
    case kToolAutoTriangle:
      return "autotriangle (R-click to end)";
    case kToolManualTriangle:
      return "manualtriangle (R-click to end)";
    case kToolBenchmark:
      // Until the clock has moved on from the start there is no rate, and nothing is shown.
      if (!(now > tools.fpsStart)) return "";
      return "FPS (R-click to end) " + formatRate(tools.fpsFrames / (now - tools.fpsStart));
    case kToolVertexEdit:
      return "vertex edit";
    default:
      return "";
  }
}

const char* statusMessageText(int number) {
  const auto& table = paddedMessages();
  if (number < 0 || number >= kStatusMessageCount) return table[kStatusMessageCount].c_str();
  return table[number].c_str();
}

void drawInterface(Editor& ed) {
  Platform& p = ed.platform;
  ed.menus.menuPartCursor = ed.menus.menuPartGroup;
  selectionToolUpkeep(ed);

  p.setTextColors(ed.uiColors[kUiStatusText], ed.uiColors[kUiStatusBack]);
  p.setTextCursor(1, 3);
  // One cell a character of the name (its glyph, or "?").
  p.print("current file: " + glyphText(ed.cellHeight, ed.currentFile).substr(0, 24));

  if (ed.tools.tool == kToolBenchmark) ed.tools.fpsFrames += 1.0;
  p.setTextCursor(3, 3);
  p.print("tool: " + toolLineText(ed.tools, p.seconds()));
  drawToolMarkers(ed);

  drawMenus(ed);

  p.setTextColors(ed.uiColors[kUiStatusText], ed.uiColors[kUiStatusBack]);
  if (ed.requests.statusMessage > 0) {
    p.setTextCursor(23, 1);
    p.print(statusMessageText(ed.requests.statusMessage));
  }
}
