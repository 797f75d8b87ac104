// How a user reaches the editor besides the menus: files dropped on the window, the window
// title, the --help and --version texts and the --scale option of the command line.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/platform/window_scale.h"
#include "core/usage.h"
#include "io/model_file.h"
#include "support/editor_fixture.h"
#include "ui/file_commands.h"

namespace {

using DroppedFiles = EditorFixture;

std::string statusRow(HeadlessPlatform& p) {
  return p.textRow(23).substr(0, 25);
}

TEST_F(DroppedFiles, ADroppedModelOpensLikeOpen) {
  start();
  ASSERT_TRUE(run(2));
  ASSERT_EQ(saveModel(ed().model, "whole.rq").message, kMsgFileSaved);
  ed().model.lineCount = 1;
  ed().model.triangleCount = 2;
  const double before = platform_.clock();
  platform_.dropFile((dir_ / "whole.rq").string());
  ASSERT_TRUE(run(1));
  EXPECT_EQ(platform_.clock(), before) << "a pass with a drop must not sleep as idle";
  EXPECT_EQ(ed().model.lineCount, 4);
  EXPECT_EQ(ed().model.triangleCount, 6);
  EXPECT_EQ(ed().currentFile, (dir_ / "whole.rq").string());
  EXPECT_EQ(ed().requests.normalsDirty, 1);
  ASSERT_TRUE(run(1));
  EXPECT_EQ(statusRow(platform_), "File loaded.             ");
  EXPECT_EQ(platform_.title(), "KOVRIN - " + (dir_ / "whole.rq").string());
}

TEST_F(DroppedFiles, RefusedDropsChangeNothingAndCreateNothing) {
  start();
  ASSERT_TRUE(run(2));
  // A name that does not exist.
  platform_.dropFile("missing.rq");
  ASSERT_TRUE(run(2));
  EXPECT_EQ(statusRow(platform_), "Error: file not found    ");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.rq"));
  // An RQ file whose counts promise more than it holds.
  {
    std::ofstream f(dir_ / "short.rq", std::ios::binary);
    const char head[] = "RQNEW\x05\0\0\0\x01\0\0\0\0\0\0\0\x01\0\0\0";
    f.write(head, sizeof head - 1);
  }
  platform_.dropFile("short.rq");
  ASSERT_TRUE(run(2));
  EXPECT_EQ(statusRow(platform_), "Error: damaged file      ");
  EXPECT_EQ(ed().model.vertexCount, 9);
  EXPECT_EQ(ed().model.triangleCount, 6);
  EXPECT_EQ(ed().model.lineCount, 4);
  EXPECT_EQ(ed().currentFile, "default.rq");
  EXPECT_EQ(platform_.title(), "KOVRIN - default.rq");
}

TEST_F(DroppedFiles, TwoDropsOpenOneAfterTheOtherAndAKeyInTheSamePassStillActs) {
  start();
  ASSERT_TRUE(run(2));
  ASSERT_EQ(saveModel(ed().model, "first.rq").message, kMsgFileSaved);
  ed().model.lineCount = 0;
  ASSERT_EQ(saveModel(ed().model, "second.rq").message, kMsgFileSaved);
  platform_.dropFile("first.rq");
  platform_.dropFile("second.rq");
  platform_.pushKey(keys::kF3);  // read in the same pass as the first drop
  ASSERT_TRUE(run(1));
  EXPECT_EQ(ed().currentFile, "first.rq");
  EXPECT_EQ(ed().model.lineCount, 4);
  ASSERT_TRUE(run(3));
  EXPECT_EQ(ed().currentFile, "second.rq");
  EXPECT_EQ(ed().model.lineCount, 0);
  EXPECT_NE(platform_.textRow(4).find("---- close -----"), std::string::npos)
      << "F3 read with the drop must still open the selection menu";
}

using TitleBar = EditorFixture;

TEST_F(TitleBar, NamesTheCurrentFileAfterStartAndSaveAs) {
  start();
  ASSERT_TRUE(run(2));
  EXPECT_EQ(platform_.title(), "KOVRIN - default.rq");
  runFileCommandAnswered(ed(), Action::SaveAs, "my model.rq");
  ASSERT_TRUE(run(2));
  EXPECT_EQ(platform_.title(), "KOVRIN - my model.rq");
  runFileCommandAnswered(ed(), Action::SaveAs, "");  // cancelled: the name stays
  ASSERT_TRUE(run(2));
  EXPECT_EQ(platform_.title(), "KOVRIN - my model.rq");
}

TEST(CommandLineInfo, OnlyTheExactWordsAnswer) {
  const auto help = commandLineInfo("--help");
  ASSERT_TRUE(help.has_value());
  for (const char* part : {"Usage", "F1", "F6", "KOVRIN.INI", "maxv", "rdet", "RQ", "STL"})
    EXPECT_NE(help->find(part), std::string::npos) << part;
  const auto version = commandLineInfo("--version");
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->rfind("kovrin ", 0), 0u);
  EXPECT_EQ(version->back(), '\n');
  for (const char* other : {"", "--HELP", "--help x", " --version", "--versions", "help.rq"})
    EXPECT_FALSE(commandLineInfo(other).has_value()) << other;
}

// "--scale N" comes off the front; everything after it is the one file name as before.
TEST(CommandLineInfo, ScaleOptionAndWindowSize) {
  struct Case {
    std::vector<std::string> args;
    int scale;
    std::string rest;
    bool error;
  };
  const Case cases[] = {
      {{"my model.rq"}, 0, "my model.rq", false},
      {{"my", "model.rq"}, 0, "my model.rq", false},
      {{"--scale", "2", "my", "model.rq"}, 2, "my model.rq", false},
      {{"--scale", "3"}, 3, "", false},
      {{"--scale", "1", "--help"}, 1, "--help", false},
      {{"a.rq", "--scale", "2"}, 0, "a.rq --scale 2", false},  // only at the front
      {{"--scale"}, 0, "", true},
      {{"--scale", "0"}, 0, "", true},
      {{"--scale", "9"}, 0, "", true},
      {{"--scale", "2x"}, 0, "", true},
      {{"--scale", "x.rq"}, 0, "", true},
  };
  for (const Case& c : cases) {
    std::vector<char*> argv{const_cast<char*>("kovrin")};
    for (const std::string& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
    const LaunchArgs got = parseLaunchArgs(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(got.error.empty(), !c.error) << c.args[0] << " " << c.args.size();
    if (c.error) continue;
    EXPECT_EQ(got.windowScale, c.scale);
    EXPECT_EQ(got.commandLine, c.rest);
  }
  // The window opens at the asked multiple, else at 2 on a desktop twice the mode's size.
  EXPECT_EQ(windowScaleFor(3, 800, 600, 1280, 1024), 3);
  EXPECT_EQ(windowScaleFor(0, 800, 600, 1280, 1024), 1);
  EXPECT_EQ(windowScaleFor(0, 800, 600, 1600, 1200), 2);
  EXPECT_EQ(windowScaleFor(0, 800, 600, 3840, 1199), 1);
  EXPECT_EQ(windowScaleFor(0, 640, 480, 3840, 2160), 2);
  EXPECT_EQ(windowScaleFor(0, 800, 600, 0, 0), 1);
}

// The built program: the texts go to standard output with exit code 0 and no window, even
// without any display.
TEST(CommandLineInfo, TheProgramPrintsAndEndsWithoutAWindow) {
  const char* bin = std::getenv("KOVRIN_BINARY");
  if (bin == nullptr || *bin == '\0') GTEST_SKIP() << "KOVRIN_BINARY is not set (run via ctest)";
  for (const std::string arg : {"--help", "--version"}) {
    const std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY '" + std::string(bin) + "' " + arg;
    FILE* out = popen(cmd.c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string text;
    std::array<char, 256> buf{};
    while (fgets(buf.data(), static_cast<int>(buf.size()), out) != nullptr) text += buf.data();
    const int status = pclose(out);
    EXPECT_EQ(status, 0) << arg;
    EXPECT_EQ(text, *commandLineInfo(arg)) << arg;
  }
}

}  // namespace
