// Writes that cannot complete and reads whose file changes under the prompt, through the
// whole editor: the user sees "Error: write failed" or the load's refusal, the old file
// stays byte for byte, no temporary is left, and the editor keeps running.
#include <grp.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/file_test_support.h"
#include "io/model_file.h"
#include "io/screenshot.h"
#include "model/model_check.h"
#include "support/editor_fixture.h"
#include "ui/dispatch.h"
#include "ui/file_commands.h"

namespace {

using namespace filetest;
namespace fs = std::filesystem;

const std::vector<uint8_t> kOld = {'o', 'l', 'd', ' ', 'b', 'y', 't', 'e', 's'};

size_t entriesIn(const fs::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++n;
  return n;
}

class WriteFaults : public EditorFixture {
 protected:
  // An editor whose model files are about 100 kB: 6000 vertices, 3000 selected triangles.
  void startBig() {
    writeSettings(
        "mode = 13\r\n''''\r\nmaxv = 7000\r\n''''\r\nmaxt = 4000\r\n''''\r\n"
        "maxl = 100\r\n");
    start();
    run(1);
    Model& m = ed().model;
    for (int32_t i = 0; i < 6000; ++i) m.vertexPos[i] = Vec3{float(i), 1.0f, 2.0f};
    for (int32_t t = 0; t < 3000; ++t) {
      m.triVerts[t] = Tri{2 * t, 2 * t + 1, 0};
      m.triFlags[t] = kSelectedBit;
    }
    m.vertexCount = 6000;
    m.triangleCount = 3000;
    m.lineCount = 0;
  }
  // Runs a write through the command path; the status message it set.
  uint8_t write(Action code, const std::string& target) {
    ed().requests = LoopRequests{};
    if (code == Action::SaveScreenshot) {
      // Screenshots go to the working folder.
      const fs::path old = fs::current_path();
      fs::current_path(target);
      runCommand(ed(), Action::SaveScreenshot);
      fs::current_path(old);
    } else if (code == Action::Save) {
      ed().currentFile = target;
      runFileCommandAnswered(ed(), Action::Save, "");
      ed().currentFile = "default.rq";
    } else {
      runFileCommandAnswered(ed(), code, target);
    }
    return ed().requests.statusMessage;
  }
};

// Save, save As, exPort stl, save To file, and the screenshot on a device that fills up.
TEST_F(WriteFaults, EveryWriteOnAFullDeviceKeepsTheOldFile) {
  startBig();
  const fs::path mountPoint = dir_ / "small";
  fs::create_directories(mountPoint);
  if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a 64k tmpfs here (" << std::strerror(errno)
                 << "); the full-device case needs root in a mount namespace that allows it";
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{mountPoint.string()};
  // A 60 kB file already there leaves too little room for any of the new files.
  writeFile((mountPoint / "filler").string(), std::vector<uint8_t>(56 * 1024, 7));
  const std::string target = (mountPoint / "old.bin").string();
  for (const Action code : {Action::Save, Action::SaveAs, Action::ExportStl, Action::SavePart}) {
    writeFile(target, kOld);
    EXPECT_EQ(write(code, target), kMsgWriteFailed) << int{actionCode(code)};
    EXPECT_EQ(readFile(target), kOld) << int{actionCode(code)};
    EXPECT_EQ(entriesIn(mountPoint), 2u)
        << int{actionCode(code)};  // filler and old.bin, no temporary
    EXPECT_EQ(ed().currentFile, "default.rq")
        << int{actionCode(code)};  // a failed save As keeps the name
  }
  // The screenshot (a 320 x 200 frame is 192 kB).
  writeFile((mountPoint / "imageAAA.bmp").string(), kOld);
  EXPECT_EQ(write(Action::SaveScreenshot, mountPoint.string()), kMsgWriteFailed);
  EXPECT_EQ(readFile((mountPoint / "imageAAA.bmp").string()), kOld);
  EXPECT_EQ(entriesIn(mountPoint), 3u);
  EXPECT_TRUE(run(3));
  EXPECT_EQ(checkModel(ed().model), "");
}

// As an unprivileged user in a folder that user may not write to: every write fails cleanly.
TEST_F(WriteFaults, AFolderTheUserMayNotWriteToRefusesEveryWrite) {
  startBig();
  const fs::path locked = dir_ / "locked";
  fs::create_directories(locked);
  writeFile((locked / "old.bin").string(), kOld);
  writeFile((locked / "imageAAA.bmp").string(), kOld);
  fs::permissions(locked, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  const bool root = ::geteuid() == 0;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Exit codes: bit i set when write i misbehaved; 100 when the user could not be changed,
    // 101 when the editor stopped afterwards.
    if (root && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(100);
    if (::access(locked.c_str(), W_OK) == 0) ::_exit(100);  // still allowed: no test
    int bad = 0, i = 0;
    const std::string target = (locked / "old.bin").string();
    for (const Action code : {Action::Save, Action::SaveAs, Action::ExportStl, Action::SavePart,
                              Action::SaveScreenshot}) {
      const uint8_t msg = write(code, code == Action::SaveScreenshot ? locked.string() : target);
      if (msg != kMsgWriteFailed) bad |= 1 << i;
      ++i;
    }
    if (!run(3)) ::_exit(101);
    ::_exit(bad);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 100)
    GTEST_SKIP() << "cannot run as an unprivileged user here (needs root to switch to uid 65534)";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "writes that did not report the failure (bit per write: "
                                       "Save, save As, exPort, save To, screenshot), or 101";
  EXPECT_EQ(readFile((locked / "old.bin").string()), kOld);
  EXPECT_EQ(readFile((locked / "imageAAA.bmp").string()), kOld);
  EXPECT_EQ(entriesIn(locked), 2u);
}

// A save past the file-size limit: the kernel's SIGXFSZ used to end the editor and lose the
// model; now the save says "Error: write failed" and the editor goes on.
TEST_F(WriteFaults, AFileSizeLimitFailsTheSaveInsteadOfKillingTheEditor) {
  const int code = inChild([&] {
    const rlimit limit{20000, 20000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    startBig();  // the start-up is what sets SIGXFSZ aside
    const uint8_t msg = write(Action::SaveAs, "big.rq");
    return msg + (run(3) ? 0 : 100) + (fs::exists("big.rq") ? 50 : 0);
  });
  EXPECT_EQ(code, kMsgWriteFailed) << "128 + " << SIGXFSZ << " is SIGXFSZ";
}

class ReadFaults : public EditorFixture {
 protected:
  // Alt, Down to the File menu, "o" for Open, the name and Enter; the hook runs when the
  // Enter that ends the prompt is handed out.
  void openThroughTheMenu(const std::string& name, std::function<void()> atEnter) {
    platform_.setKeyHeld(kScanAlt, true);
    run(1);
    platform_.setKeyHeld(kScanAlt, false);
    run(1);
    platform_.pushKey(keys::kDown);
    run(2);
    bool fired = false;
    platform_.setKeyHook([&](const std::string& key) {
      if (key == keys::kEnter && !fired) {
        fired = true;
        atEnter();
      }
    });
    platform_.pushKey("o");
    platform_.typeText(name);
    platform_.pushKey(keys::kEnter);
    EXPECT_TRUE(runUntilKeysDone());
    platform_.setKeyHook(nullptr);
    EXPECT_TRUE(fired);
  }
  std::vector<uint8_t> savedModel() {
    Model m;
    EXPECT_EQ(allocateModel(m, 100, 100, 10), "");
    EXPECT_TRUE(putDefaultModel(m));
    m.vertexPos[0].x = 77.0f;
    EXPECT_EQ(saveModel(m, "other.rq").message, kMsgFileSaved);
    return readFile("other.rq");
  }
};

TEST_F(ReadFaults, AFileDeletedBeforeTheLoadIsNotFound) {
  start();
  run(1);
  savedModel();
  const float x0 = ed().model.vertexPos[0].x;
  openThroughTheMenu("other.rq", [] { fs::remove("other.rq"); });
  EXPECT_EQ(ed().model.vertexCount, 9);
  EXPECT_EQ(ed().model.vertexPos[0].x, x0);
  EXPECT_EQ(ed().currentFile, "default.rq");
  EXPECT_NE(platform_.textRow(23).find("Error: file not found"), std::string::npos)
      << platform_.textRow(23);
  EXPECT_TRUE(run(3));
}

TEST_F(ReadFaults, AFileCutShortBeforeTheLoadIsDamagedAndChangesNothing) {
  start();
  run(1);
  const std::vector<uint8_t> whole = savedModel();
  const float x0 = ed().model.vertexPos[0].x;
  for (const size_t keep : {size_t{0}, size_t{3}, size_t{21}, whole.size() - 1}) {
    writeFile("other.rq", whole);
    openThroughTheMenu("other.rq", [&] { fs::resize_file("other.rq", keep); });
    EXPECT_EQ(ed().model.vertexCount, 9) << keep;
    EXPECT_EQ(ed().model.vertexPos[0].x, x0) << keep;
    EXPECT_EQ(ed().currentFile, "default.rq") << keep;
    EXPECT_EQ(checkModel(ed().model), "") << keep;
  }
  EXPECT_TRUE(run(3));
}

// FIFOs, devices and folders as the name to Open or to load a part from, at the prompt or
// on the command line: refused at once, the model unchanged, the editor still running. (A
// FIFO used to block the open for good, so each case runs in a child with a time limit.)
TEST_F(ReadFaults, SpecialFilesAreRefusedWithoutBlocking) {
  ASSERT_EQ(::mkfifo("fifo.rq", 0644), 0);
  fs::create_symlink("fifo.rq", "link.rq");
  fs::create_directory("folder.rq");
  const struct {
    const char* name;
    uint8_t message;
  } cases[] = {{"fifo.rq", kMsgDamagedFile},
               {"link.rq", kMsgDamagedFile},
               {"/dev/null", kMsgDamagedFile},
               {"folder.rq", kMsgFileNotFound}};
  for (const auto& c : cases) {
    const int code = inChild([&] {
      start(c.name);  // the command line
      if (ed().model.vertexCount != 9 || ed().currentFile != "default.rq") return 1;
      int bad = 0;
      for (const Action command : {Action::Open, Action::LoadPart}) {
        ed().requests = LoopRequests{};
        runFileCommandAnswered(ed(), command, c.name);
        bad += ed().requests.statusMessage != c.message || ed().model.vertexCount != 9 ||
               ed().model.triangleCount != 6 || ed().currentFile != "default.rq";
      }
      return bad + (run(3) ? 0 : 10);
    });
    EXPECT_EQ(code, 0) << c.name << " (142: blocked; 1..2: wrong message or a changed model)";
  }
}

// A model file the user may not read says so instead of "Error: file not found".
TEST_F(ReadFaults, AnUnreadableFileIsPermissionDenied) {
  start();
  run(1);
  savedModel();
  fs::permissions("other.rq", fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  const int code = inChild([&] {
    if (!becomeNobody() || ::access("other.rq", R_OK) == 0) return kNoUnprivilegedUser;
    int bad = 0;
    for (const Action command : {Action::Open, Action::LoadPart}) {
      ed().requests = LoopRequests{};
      runFileCommandAnswered(ed(), command, "other.rq");
      bad += ed().requests.statusMessage != kMsgPermissionDenied || ed().model.vertexCount != 9;
    }
    run(1);
    return bad + (platform_.textRow(23).find("Error: permission denied") == std::string::npos);
  });
  if (code == kNoUnprivilegedUser) GTEST_SKIP() << "cannot run as an unprivileged user here";
  EXPECT_EQ(code, 0);
}

}  // namespace
