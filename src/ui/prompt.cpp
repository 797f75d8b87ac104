// The modal text prompt for file and part names.
#include "ui/prompt.h"

#include <algorithm>

#include "core/platform/font.h"
#include "ui/modal_wait.h"

namespace {

constexpr size_t kMaxAnswer = 4096;
constexpr size_t kMaxLine = 2 * kMaxAnswer;  // typed characters beyond this are ignored
constexpr int kTitleWidth = 26;
constexpr int kFieldRow = 8;
constexpr int kFieldColumn = 8;
constexpr int kFieldWidth = 24;
constexpr int kTypingColumn = kFieldColumn + 2;                           // after "? "
constexpr int kTypingWidth = kFieldColumn + kFieldWidth - kTypingColumn;  // 22 cells

void drawFrame(Editor& ed, std::string_view title) {
  Platform& p = ed.platform;
  std::string titleText(title.substr(0, kTitleWidth));
  titleText.resize(kTitleWidth, ' ');
  const std::string blanks(kTitleWidth, ' ');
  p.setTextColors(ed.uiColors[kUiText], ed.uiColors[kUiPlain]);
  p.setTextCursor(7, 7);
  p.print(titleText);
  p.setTextCursor(8, 7);
  p.print(blanks);
  p.setTextCursor(9, 7);
  p.print(blanks);

  drawPanelFrame(p, ed.uiColors[kUiText], ed.uiColors[kUiPanel], 6, 10);

  p.setTextColors(ed.uiColors[kUiBright], ed.uiColors[kUiFieldBack]);
  p.setTextCursor(kFieldRow, kFieldColumn);
  p.print(std::string(kFieldWidth, ' '));
  p.setTextCursor(kFieldRow, kFieldColumn);
  p.print("? ");
}

// Shows the typed text after "? ", one cell a character (its glyph, or "?" when the font
// has none); a text longer than the field shows its tail.
void echoLine(Platform& p, int cellHeight, const std::string& line) {
  const size_t width = static_cast<size_t>(kTypingWidth);
  std::string shown = glyphText(cellHeight, line);
  if (shown.size() > width) shown = shown.substr(shown.size() - width);
  const int cursorColumn = kTypingColumn + static_cast<int>(shown.size());
  shown.resize(width, ' ');
  p.setTextCursor(kFieldRow, kTypingColumn);
  p.print(shown);
  p.setTextCursor(kFieldRow, std::min(cursorColumn, kTypingColumn + kTypingWidth - 1));
}

// A printable ASCII character, or one whole non-ASCII character in UTF-8 (a file name is
// the bytes typed).
bool printable(const std::string& key) {
  if (key.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(key[0]);
    return c >= 32 && c < 127;
  }
  return key.size() > 1 && utf8CharLength(key) == key.size();
}

// Removes the last character, all of its bytes.
void dropLastCharacter(std::string& line) {
  while (!line.empty() && (static_cast<unsigned char>(line.back()) & 0xC0) == 0x80) line.pop_back();
  if (!line.empty()) line.pop_back();
}

// Reads one line with echo. False when the window close request arrived.
bool readLine(Editor& ed, std::string& line) {
  Platform& p = ed.platform;
  line.clear();
  for (;;) {
    p.refresh();
    const std::string key = waitForKey(p);
    if (key == keys::kClose) {
      line.clear();
      return false;
    }
    if (key == keys::kEnter) break;
    if (key == keys::kEsc) {
      line.clear();
      break;
    }
    if (key == keys::kBackspace || key == "\x7f") {
      dropLastCharacter(line);
    } else if (printable(key)) {
      if (line.size() + key.size() <= kMaxLine) line += key;
    } else {
      continue;
    }
    echoLine(p, ed.cellHeight, line);
  }
  p.setTextCursor(kFieldRow + 1, 1);  // Enter moves to the next row
  return true;
}

}  // namespace

std::string cutPromptAnswer(std::string_view line) {
  size_t start = 0;
  while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
  std::string_view rest = line.substr(start);
  std::string_view answer;
  if (!rest.empty() && rest.front() == '"') {
    rest.remove_prefix(1);
    answer = rest.substr(0, rest.find('"'));
  } else {
    answer = rest.substr(0, rest.find(','));
  }
  if (answer.size() > kMaxAnswer) {
    // Cut at a character boundary.
    size_t end = kMaxAnswer;
    while (end > 0 && (static_cast<unsigned char>(answer[end]) & 0xC0) == 0x80) --end;
    answer = answer.substr(0, end);
  }
  return std::string(answer);
}

std::string textPrompt(Editor& ed, std::string_view title) {
  drawFrame(ed, title);
  std::string line;
  if (!readLine(ed, line)) ed.requests.quit = true;
  ed.inputLine = cutPromptAnswer(line);
  return ed.inputLine;
}
