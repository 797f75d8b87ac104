// Saves that cannot complete must leave the old file as it was and no temporary behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "file_test_support.h"
#include "io/model_file.h"
#include "io/stl_file.h"
#include "model/part_file.h"

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

}  // namespace
