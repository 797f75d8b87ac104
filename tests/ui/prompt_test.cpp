#include "ui/prompt.h"

#include "core/platform/font.h"
#include "support/editor_fixture.h"
#include "ui/file_commands.h"

namespace {

TEST(PromptAnswer, CutsOneCommaSeparatedField) {
  EXPECT_EQ(cutPromptAnswer("    "), "");
  EXPECT_EQ(cutPromptAnswer(" \t "), "");
  EXPECT_EQ(cutPromptAnswer(",abc"), "");
  EXPECT_EQ(cutPromptAnswer("a,b"), "a");
  EXPECT_EQ(cutPromptAnswer("\"a,b\""), "a,b");
  EXPECT_EQ(cutPromptAnswer("\"a,b\",c"), "a,b");
  EXPECT_EQ(cutPromptAnswer("  \t my model.rq"), "my model.rq");
  EXPECT_EQ(cutPromptAnswer("\"open"), "open");  // no closing quote: the rest of the line
  EXPECT_EQ(cutPromptAnswer("x\"y,z"), "x\"y");  // a quote inside is an ordinary character
}

TEST(PromptAnswer, HoldsAtMost4096Characters) {
  const std::string line(5000, 'q');
  EXPECT_EQ(cutPromptAnswer(line), std::string(4096, 'q'));
  EXPECT_EQ(cutPromptAnswer("\"" + line + "\"").size(), 4096u);
}

using Prompt = EditorFixture;

const char kTitle[] = "  OPEN  - enter filename  ";

TEST_F(Prompt, TypedLineEndsWithEnterAndIsStored) {
  start();
  run(1);
  platform_.typeText(" my file.rq, rest");
  platform_.pushKey(keys::kEnter);
  EXPECT_EQ(textPrompt(ed(), kTitle), "my file.rq");
  EXPECT_EQ(ed().inputLine, "my file.rq");
  EXPECT_FALSE(ed().requests.quit);
  EXPECT_EQ(platform_.textRow(7).substr(6, 26), kTitle);
  EXPECT_EQ(platform_.textRow(8).substr(7, 12), "?  my file.r");
  // Frame, title background and field in their colours.
  EXPECT_EQ(platform_.rgbAt(5 * 8 + 1, 5 * 16 + 1), 0x404040u);
  EXPECT_EQ(platform_.rgbAt(6 * 8 + 1, 8 * 16 + 1), 0x808080u);
  EXPECT_EQ(platform_.rgbAt(30 * 8 + 1, 7 * 16 + 1), 0x000040u);
}

TEST_F(Prompt, BackspaceEditsAndEscapeGivesNothing) {
  start();
  run(1);
  platform_.typeText("abx");
  platform_.pushKey(keys::kBackspace);
  platform_.typeText("c");
  platform_.pushKey(keys::kEnter);
  EXPECT_EQ(textPrompt(ed(), kTitle), "abc");

  platform_.pushKey(keys::kBackspace);  // nothing to remove
  platform_.typeText("abc");
  platform_.pushKey(keys::kEsc);
  EXPECT_EQ(textPrompt(ed(), kTitle), "");
  EXPECT_EQ(ed().inputLine, "");
  EXPECT_FALSE(ed().requests.quit);
}

TEST_F(Prompt, LongTextShowsItsTailInsideTheField) {
  start();
  run(1);
  const std::string text = "0123456789ABCDEFGHIJKLMNOPQRST";
  platform_.typeText(text);
  platform_.pushKey(keys::kEnter);
  EXPECT_EQ(textPrompt(ed(), kTitle), text);
  const std::string row = platform_.textRow(8);
  EXPECT_EQ(row.substr(7, 2), "? ");
  EXPECT_EQ(row.substr(9, 22), text.substr(8));
  EXPECT_EQ(row.substr(31, 2), "  ");  // the field's right edge is not written over
}

// A name typed with non-ASCII characters keeps them (its UTF-8 bytes): é, the euro sign and
// ü show as the font's glyphs, a character the font lacks as "?"; Backspace takes a whole
// character; the saved file and the current-file line carry the name.
TEST_F(Prompt, NonAsciiCharactersAreKeptAndShownAsGlyphs) {
  start();
  run(1);
  const std::string name = "\xc3\xa9\xe2\x82\xac\xc3\xbc\xe6\xbc\xa2.rq";  // é€ü漢.rq
  platform_.typeText("\xc3\xa9\xe2\x82\xac\xc3\xbcx");
  platform_.pushKey(keys::kBackspace);
  platform_.typeText("\xe6\xbc\xa2.rq");
  platform_.pushKey(keys::kEnter);
  EXPECT_EQ(textPrompt(ed(), kTitle), name);
  // Glyph numbers of the 8x16 font (its own Unicode table): é 130, € 245, ü 129.
  EXPECT_EQ(platform_.textRow(8).substr(9, 8), "\x82\xf5\x81?.rq ");
  EXPECT_EQ(glyphForCodePoint(8, 0x20AC), 237);  // the 8x8 font places the euro elsewhere
  EXPECT_EQ(runFileCommandAnswered(ed(), Action::SaveAs, name), PassFlow::ToTools);
  EXPECT_EQ(ed().requests.statusMessage, kMsgFileSaved);
  EXPECT_TRUE(std::filesystem::exists(dir_ / name));
  EXPECT_EQ(ed().currentFile, name);
  run(1);
  EXPECT_EQ(platform_.textRow(1).substr(2, 22), "current file: \x82\xf5\x81?.rq ");
}

TEST_F(Prompt, CloseRequestGivesNothingAndQuits) {
  start();
  run(1);
  platform_.typeText("abc");
  platform_.pushKey(keys::kClose);
  platform_.typeText("def");
  EXPECT_EQ(textPrompt(ed(), kTitle), "");
  EXPECT_TRUE(ed().requests.quit);
  EXPECT_EQ(platform_.pendingKeys(), 3u);  // nothing read after the close request
  EXPECT_FALSE(run(1));
}

}  // namespace
