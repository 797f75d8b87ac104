// F1: the help panel over the view, closed by any key.
#include <array>
#include <string>

#include "ui/interface.h"
#include "ui/modal_wait.h"

namespace {

constexpr std::array<const char*, 12> kHelpLines = {
    " F1 (this reminder)",  " F2 create primitives",
    " F3 selection",        " F4 actions",
    " F5 misc tools",       " F6 invert selection",
    " ALT access menu bar", " arrows navigate menus or",
    "  rotate model",       " TAB cycle active menu",
    " PGUP/PGDN/HOME/END",  "  camera distance/zoom",
};
constexpr int kLineWidth = 26;

}  // namespace

void showHelp(Editor& ed) {
  Platform& p = ed.platform;
  drawPanelFrame(p, ed.uiColors[kUiText], ed.uiColors[kUiPanel], 5, 18);

  p.setTextColors(ed.uiColors[kUiText], ed.uiColors[kUiPlain]);
  for (size_t i = 0; i < kHelpLines.size(); ++i) {
    std::string line = kHelpLines[i];
    line.resize(kLineWidth, ' ');
    p.setTextCursor(6 + static_cast<int>(i), 7);
    p.print(line);
  }
  p.refresh();

  // The closing key is taken and dropped, whatever it is; only the close request counts.
  if (waitForKey(p) == keys::kClose) ed.requests.quit = true;
  ed.requests.needPresent = 1;
}
