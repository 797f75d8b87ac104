// Every kind of name a load may be given: the status and the message it gets, without ever
// blocking, and the size limits.
#include "io/file_read.h"

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>

#include "file_test_support.h"
#include "model/edit_result.h"

namespace {

using namespace filetest;
namespace fs = std::filesystem;

class FileRead : public FileTest {};

TEST_F(FileRead, EachKindOfNameGetsItsStatusWithoutBlocking) {
  writeFile(path("plain"), {1, 2, 3});
  writeFile(path("empty"), {});
  fs::create_directory(path("folder"));
  ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
  fs::create_symlink(path("fifo"), path("link to fifo"));
  fs::create_symlink(path("plain"), path("link to plain"));
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::string sockPath = path("socket");
  ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
  std::memcpy(addr.sun_path, sockPath.c_str(), sockPath.size() + 1);
  ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
  const struct {
    std::string name;
    ReadStatus status;
    uint8_t message;
  } cases[] = {
      {path("plain"), ReadStatus::Ok, kMsgNone},
      {path("empty"), ReadStatus::Ok, kMsgNone},
      {path("link to plain"), ReadStatus::Ok, kMsgNone},
      {path("missing"), ReadStatus::NotFound, kMsgFileNotFound},
      {path("no/such/folder"), ReadStatus::NotFound, kMsgFileNotFound},
      {"", ReadStatus::NotFound, kMsgFileNotFound},
      {path("folder"), ReadStatus::Directory, kMsgFileNotFound},
      {path("fifo"), ReadStatus::NotRegularFile, kMsgDamagedFile},
      {path("link to fifo"), ReadStatus::NotRegularFile, kMsgDamagedFile},
      {path("socket"), ReadStatus::NotRegularFile, kMsgDamagedFile},
      {"/dev/null", ReadStatus::NotRegularFile, kMsgDamagedFile},
      {"/dev/zero", ReadStatus::NotRegularFile, kMsgDamagedFile},
  };
  for (const auto& c : cases) {
    // In a child: a FIFO opened without O_NONBLOCK would wait for a writer forever.
    const int code = inChild([&] {
      const FileBytes f = readFileBytes(c.name, 1000);
      return static_cast<int>(f.status) * 16 + readStatusMessage(f.status);
    });
    EXPECT_EQ(code, static_cast<int>(c.status) * 16 + c.message) << c.name;
  }
  // Out of descriptors: the file is there, so the read failed; it was not "not found".
  const int noDescriptors = inChild([&] {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_NOFILE, &none);
    return static_cast<int>(readFileBytes(path("plain"), 1000).status);
  });
  EXPECT_EQ(noDescriptors, static_cast<int>(ReadStatus::ReadFailed));
  ::close(sock);
  const FileBytes plain = readFileBytes(path("plain"), 1000);
  EXPECT_EQ(std::vector<uint8_t>(plain.bytes.begin(), plain.bytes.end()),
            (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(FileRead, TheLimitRefusesOrCutsALongerFile) {
  std::vector<uint8_t> bytes(3000000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  writeFile(path("f"), bytes);
  for (const int64_t limit : {int64_t{0}, int64_t{1}, int64_t{2999999}, int64_t{3000000}}) {
    const FileBytes refused = readFileBytes(path("f"), limit);
    const FileBytes cut = readFileBytes(path("f"), limit, OverLimit::Truncate);
    const bool fits = limit >= 3000000;
    EXPECT_EQ(refused.status, fits ? ReadStatus::Ok : ReadStatus::TooLarge) << limit;
    EXPECT_EQ(refused.bytes.size(), fits ? bytes.size() : 0u) << limit;
    EXPECT_EQ(cut.status, ReadStatus::Ok) << limit;
    EXPECT_EQ(cut.truncated, !fits) << limit;
    const size_t kept = static_cast<size_t>(std::min<int64_t>(limit, 3000000));
    EXPECT_TRUE(cut.bytes.size() == kept &&
                std::equal(cut.bytes.begin(), cut.bytes.end(), bytes.begin()))
        << limit;
  }
  EXPECT_EQ(readStatusMessage(ReadStatus::TooLarge), kMsgTooManyTriangles);
}

TEST_F(FileRead, AFileWeMayNotReadIsPermissionDenied) {
  writeFile(path("secret"), {1, 2, 3});
  fs::permissions(path("secret"), fs::perms::owner_read | fs::perms::owner_write);
  const int code = inChild([&] {
    if (!becomeNobody() || ::access(path("secret").c_str(), R_OK) == 0) return kNoUnprivilegedUser;
    const ReadStatus s = readFileBytes(path("secret"), 1000).status;
    return s == ReadStatus::PermissionDenied && readStatusMessage(s) == kMsgPermissionDenied ? 0
                                                                                             : 1;
  });
  if (code == kNoUnprivilegedUser) GTEST_SKIP() << "cannot run as an unprivileged user here";
  EXPECT_EQ(code, 0);
}

}  // namespace
