// Never losing work: the "*" in the window title, recovery files written at the end and when
// idle, --recover, signals, and imported models taking their own name.
#include "core/recovery.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "core/platform/exit_signals.h"
#include "io/model_file.h"
#include "io/recovery_file.h"
#include "io/stl_file.h"
#include "support/editor_fixture.h"
#include "support/model_snapshot.h"
#include "ui/dispatch.h"
#include "ui/file_commands.h"

namespace {

namespace fs = std::filesystem;

class Recovery : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    const char* old = std::getenv("XDG_STATE_HOME");
    oldState_ = old ? old : "";
    setenv("XDG_STATE_HOME", (dir_ / "state").c_str(), 1);
  }
  void TearDown() override {
    setenv("XDG_STATE_HOME", oldState_.c_str(), 1);
    EditorFixture::TearDown();
  }
  fs::path folder() const { return dir_ / "state" / "kovrin"; }
  int recoveryFiles() const {
    int n = 0;
    if (!fs::exists(folder())) return 0;
    for (const auto& e : fs::directory_iterator(folder())) n += e.path().extension() == ".rq";
    return n;
  }
  void change() {
    ed().menus.invokingMenu = 5;  // new vertex
    runCommand(ed(), Action::Create);
  }
  std::string oldState_;
};

TEST_F(Recovery, TitleMarksAnUnsavedModelUntilSavedOrUndone) {
  start();
  ASSERT_TRUE(run(2));
  EXPECT_EQ(platform_.title(), "KOVRIN - default.rq");
  change();
  ASSERT_TRUE(run(2));
  EXPECT_EQ(platform_.title(), "KOVRIN - *default.rq");
  platform_.pushKey(keys::ctrlKey('z'));
  ASSERT_TRUE(runUntilKeysDone());
  EXPECT_EQ(platform_.title(), "KOVRIN - default.rq");
  platform_.pushKey(keys::ctrlKey('y'));
  ASSERT_TRUE(runUntilKeysDone());
  EXPECT_EQ(platform_.title(), "KOVRIN - *default.rq");
  runFileCommandAnswered(ed(), Action::SaveAs, "house.rq");
  ASSERT_TRUE(run(2));
  EXPECT_EQ(platform_.title(), "KOVRIN - house.rq");
}

TEST_F(Recovery, EndWritesUnsavedWorkAndRecoverOpensItUnderItsName) {
  start();
  ASSERT_TRUE(run(2));
  std::string messages;
  recoveryOnExit(ed(), messages);  // nothing unsaved: nothing written
  EXPECT_EQ(recoveryFiles(), 0);
  runFileCommandAnswered(ed(), Action::SaveAs, "house.rq");
  change();
  const ModelSnapshot edited = snapshotOf(ed().model);
  recoveryOnExit(ed(), messages);
  EXPECT_EQ(messages, "");
  ASSERT_EQ(recoveryFiles(), 1);
  EXPECT_NE(recoveryNotice().find("kovrin --recover"), std::string::npos);

  ed_.reset();
  start(kRecoverOption);
  EXPECT_EQ(snapshotOf(ed().model), edited);
  EXPECT_EQ(ed().currentFile, "house.rq");
  ASSERT_TRUE(run(2));
  EXPECT_EQ(platform_.title(), "KOVRIN - *house.rq");
  runFileCommandAnswered(ed(), Action::Save, "");  // Save writes under the name it had ...
  Model back;
  ASSERT_EQ(allocateModel(back, 1000, 1000, 100), "");
  ASSERT_EQ(loadModel(back, "house.rq", {}).result.message, kMsgFileLoaded);
  EXPECT_EQ(snapshotOf(back), edited);
  EXPECT_EQ(recoveryFiles(), 0);  // ... and the recovery file is gone
}

TEST_F(Recovery, IdleWritesAfterThirtySecondsOnlyOnce) {
  start();
  ASSERT_TRUE(run(2));
  change();
  ASSERT_TRUE(run(1));
  const double changed = platform_.clock();
  while (platform_.clock() < changed + 29.0) ASSERT_TRUE(run(1));
  EXPECT_EQ(recoveryFiles(), 0);
  while (platform_.clock() < changed + 31.0) ASSERT_TRUE(run(1));
  ASSERT_EQ(recoveryFiles(), 1);
  const double written = ed().recovery.lastWrite;
  while (platform_.clock() < changed + 100.0) ASSERT_TRUE(run(1));
  EXPECT_EQ(ed().recovery.lastWrite, written);  // nothing new to keep
}

TEST_F(Recovery, AFailedWriteSaysSoInOneLine) {
  start();
  change();
  std::ofstream(dir_ / "state") << "a file where the folder should be";
  std::string messages;
  recoveryOnExit(ed(), messages);
  EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;
}

TEST_F(Recovery, TerminationSignalsEndTheLoop) {
  start();
  ASSERT_TRUE(run(1));
  installExitSignals();
  for (const int sig : {SIGTERM, SIGHUP}) {
    std::raise(sig);
    EXPECT_FALSE(runPass(ed()));
    clearExitSignal();
    ed().requests.quit = false;
  }
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
}

TEST_F(Recovery, AnImportedModelTakesItsOwnName) {
  const std::pair<const char*, const char*> names[] = {
      {"torus.stl", "torus.rq"}, {"dir.v2/mesh", "dir.v2/mesh.rq"}, {"a.b.STL", "a.b.rq"}};
  for (const auto& [in, out] : names) EXPECT_EQ(importedModelName(in), out);
  start();
  ASSERT_TRUE(run(2));
  runFileCommandAnswered(ed(), Action::SaveAs, "house.rq");
  const auto houseBytes = fs::file_size(dir_ / "house.rq");
  ASSERT_EQ(exportStl(ed().model, "torus.stl").message, kMsgFileSaved);
  platform_.dropFile("torus.stl");
  ASSERT_TRUE(run(2));
  EXPECT_EQ(ed().currentFile, "torus.rq");
  EXPECT_EQ(platform_.title(), "KOVRIN - torus.rq");
  runFileCommandAnswered(ed(), Action::Save, "");
  EXPECT_TRUE(fs::exists(dir_ / "torus.rq"));
  EXPECT_EQ(fs::file_size(dir_ / "house.rq"), houseBytes);
}

}  // namespace
