// Saves that cannot complete must leave the old file as it was and no temporary behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "file_test_support.h"
#include "io/model_file.h"
#include "io/part_file.h"
#include "io/stl_file.h"

namespace {

using namespace filetest;

// A model whose files are tens of kilobytes: 6000 vertices, 3000 selected triangles.
Model bigModel() {
  Model m = makeModel(6000, 3000, 10);
  for (int32_t i = 0; i < 6000; ++i) m.vertexPos[i] = Vec3{static_cast<float>(i), 1.0f, 2.0f};
  for (int32_t t = 0; t < 3000; ++t) {
    m.triVerts[t] = Tri{2 * t, 2 * t + 1, 0};
    m.triFlags[t] = kSelectedBit;
  }
  m.vertexCount = 6000;
  m.triangleCount = 3000;
  return m;
}

// The three saves, by number, into `target`.
EditResult save(int which, Model& m, const std::string& target) {
  switch (which) {
    case 0:
      return saveModel(m, target);
    case 1:
      return exportStl(m, target);
    default:
      return savePart(m, target);
  }
}

const std::vector<uint8_t> kOld = {'o', 'l', 'd', ' ', 'f', 'i', 'l', 'e'};

class FailedWrite : public FileTest {};

TEST_F(FailedWrite, MissingFolderReportsAndCreatesNothing) {
  Model m = bigModel();
  for (int which = 0; which < 3; ++which) {
    EXPECT_EQ(save(which, m, path("no/such/folder/x.rq")).message, kMsgWriteFailed) << which;
    EXPECT_TRUE(strayFiles({}).empty()) << which;
  }
}

TEST_F(FailedWrite, FileSizeLimitKeepsTheOldFile) {
  Model m = bigModel();
  for (int which = 0; which < 3; ++which) {
    writeFile(path("old.bin"), kOld);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Only in the child: the limit and the ignored signal do not leak into the tests.
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{4096, 4096};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      ::_exit(save(which, m, path("old.bin")).message);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << which;
    EXPECT_EQ(WEXITSTATUS(status), kMsgWriteFailed) << which;
    EXPECT_EQ(readFile(path("old.bin")), kOld) << which;
    EXPECT_TRUE(strayFiles({"old.bin"}).empty()) << which;
  }
  // Without the limit the same saves succeed and replace the file.
  EXPECT_EQ(save(0, m, path("old.bin")).message, kMsgFileSaved);
  EXPECT_EQ(readFile(path("old.bin")).size(),
            static_cast<size_t>(rqFileBytes(6000, 3000, 0, true)));
}

TEST_F(FailedWrite, FullDeviceKeepsTheOldFile) {
  const std::string mountPoint = path("small");
  std::filesystem::create_directories(mountPoint);
  if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "cannot mount a 64k tmpfs here (" << std::strerror(errno)
                 << "); the full-device case needs root in a mount namespace that allows it";
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{mountPoint};
  Model m = bigModel();
  const std::string target = mountPoint + "/old.bin";
  for (int which = 0; which < 3; ++which) {
    writeFile(target, kOld);
    EXPECT_EQ(save(which, m, target).message, kMsgWriteFailed) << which;
    EXPECT_EQ(readFile(target), kOld) << which;
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(mountPoint))
      ++entries;
    EXPECT_EQ(entries, 1u) << which;
  }
  // A small save still fits on the device.
  Model small = makeModel();
  EXPECT_EQ(saveModel(small, target).message, kMsgFileSaved);
  EXPECT_EQ(readFile(target).size(), 1221u);
}

TEST_F(FailedWrite, ReplacedFileKeepsItsPermissions) {
  writeFile(path("p.rq"), kOld);
  std::filesystem::permissions(path("p.rq"), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_write |
                                                 std::filesystem::perms::group_read);
  Model m = makeModel();
  ASSERT_EQ(saveModel(m, path("p.rq")).message, kMsgFileSaved);
  EXPECT_EQ(std::filesystem::status(path("p.rq")).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
}

namespace fs = std::filesystem;

// Existing targets that are not regular files are never replaced: a FIFO, a device node
// (as root, "save As /dev/null" would have replaced the system's), a folder, a symlink loop.
TEST_F(FailedWrite, TargetsThatAreNotRegularFilesAreRefused) {
  Model m = bigModel();
  ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
  const bool device = ::mknod(path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  fs::create_directory(path("folder"));
  fs::create_symlink("loop1", path("loop2"));
  fs::create_symlink("loop2", path("loop1"));
  fs::create_symlink("fifo", path("link to fifo"));
  const std::vector<std::string> names = {"fifo", "null", "folder", "loop1", "link to fifo"};
  for (const std::string& name : names) {
    if (name == "null" && !device) continue;  // mknod needs root
    for (int which = 0; which < 3; ++which) {
      const int code = inChild([&] { return save(which, m, path(name)).message; });
      EXPECT_EQ(code, kMsgWriteFailed) << name << " " << which;
    }
  }
  EXPECT_TRUE(fs::is_fifo(path("fifo")));
  EXPECT_TRUE(!device || fs::is_character_file(path("null")));
  EXPECT_TRUE(fs::is_directory(path("folder")));
  EXPECT_TRUE(fs::is_symlink(path("loop1")));
  std::vector<std::string> known = names;
  known.push_back("loop2");
  EXPECT_EQ(strayFiles(known), std::vector<std::string>{});
}

// A save onto a symlink replaces the file the link points to (keeping its permissions) and
// leaves the link a link; a dangling link gets its file; chains and relative links count.
TEST_F(FailedWrite, SymlinkedTargetsAreFollowedAndTheLinkKept) {
  Model m = bigModel();
  fs::create_directory(path("real"));
  writeFile(path("real/file"), kOld);
  fs::permissions(path("real/file"), fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real/file", path("link"));     // relative to its own folder
  fs::create_symlink(path("link"), path("chain"));   // a link to the link
  fs::create_symlink("real/new", path("dangling"));  // nothing there yet
  for (const char* name : {"link", "chain", "dangling"}) {
    for (int which = 0; which < 3; ++which) {
      ASSERT_EQ(save(which, m, path(name)).message, kMsgFileSaved) << name << " " << which;
      EXPECT_TRUE(fs::is_symlink(path(name))) << name;
      const std::string real = path(std::string(name) == "dangling" ? "real/new" : "real/file");
      EXPECT_NE(readFile(real), kOld) << name;
      EXPECT_EQ(readFile(real), readFile(path(name))) << name;
    }
  }
  EXPECT_EQ(fs::status(path("real/file")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(strayFiles({"real", "link", "chain", "dangling"}), std::vector<std::string>{});
}

// As an unprivileged user in a folder of that user's own: a read-only file, and a file of
// another user that the folder would let us replace, are both refused and stay as they are.
TEST_F(FailedWrite, TargetsWeMayNotWriteToAreRefused) {
  Model m = bigModel();
  fs::create_directory(path("mine"));
  writeFile(path("mine/readonly"), kOld);
  writeFile(path("mine/roots"), kOld);
  fs::permissions(path("mine/readonly"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(path("mine/roots"), fs::perms::owner_read | fs::perms::owner_write |
                                          fs::perms::group_read | fs::perms::others_read);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(path("mine").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chown(path("mine/readonly").c_str(), kNobody, kNobody), 0);
  }
  const int code = inChild([&] {
    if (!root || !becomeNobody()) return kNoUnprivilegedUser;
    int bad = 0;
    for (const char* name : {"mine/readonly", "mine/roots"})
      for (int which = 0; which < 3; ++which)
        bad += save(which, m, path(name)).message != kMsgWriteFailed;
    return bad;
  });
  if (code == kNoUnprivilegedUser) GTEST_SKIP() << "needs root to act as uid 65534";
  EXPECT_EQ(code, 0) << "saves that replaced a file they may not write";
  EXPECT_EQ(readFile(path("mine/readonly")), kOld);
  EXPECT_EQ(readFile(path("mine/roots")), kOld);
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(path("mine"))) ++entries;
  EXPECT_EQ(entries, 2u);
}

// A save killed half way leaves nothing behind: the temporary has no name until commit.
TEST_F(FailedWrite, ASaveKilledHalfWayLeavesNoTemporary) {
  const std::vector<uint8_t> chunk(1 << 20, 9);
  const int code = inChild([&] {
    SafeFileWriter out(path("big.rq"));
    for (int i = 0; i < 8; ++i) out.put(chunk.data(), chunk.size());
    ::raise(SIGKILL);
    return 0;
  });
  EXPECT_EQ(code, 128 + SIGKILL);
  EXPECT_EQ(strayFiles({}), std::vector<std::string>{});
}

// Temporaries of editors that died are removed; those of running ones and other files stay.
TEST_F(FailedWrite, StaleTemporariesOfDeadEditorsAreRemoved) {
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
  const std::string deadName = ".kovrin-" + std::to_string(dead) + "-1f2e3d4c5b6a7988.tmp";
  const std::string liveName = ".kovrin-" + std::to_string(::getpid()) + "-00aa.tmp";
  for (const std::string& n :
       {deadName, liveName, std::string(".kovrin-x-1.tmp"), std::string("keep.tmp")})
    writeFile(path(n), kOld);
  EXPECT_EQ(removeStaleTemporaries(dir_.string()), 1);
  EXPECT_FALSE(fs::exists(path(deadName)));
  EXPECT_EQ(strayFiles({liveName, ".kovrin-x-1.tmp", "keep.tmp"}), std::vector<std::string>{});
}

}  // namespace
