// Helpers for the file tests: a private folder, byte builders and model snapshots.
#pragma once

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "model/model.h"
#include "support/test_dir.h"

namespace filetest {

// A test case with a private, emptied folder; paths are built with path(name).
class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = testDirectory(std::string("files_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  // Names in the folder other than the given ones (temporary files left behind).
  std::vector<std::string> strayFiles(const std::vector<std::string>& expected) const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) {
      const std::string n = e.path().filename().string();
      bool known = false;
      for (const auto& x : expected) known = known || x == n;
      if (!known) out.push_back(n);
    }
    return out;
  }
  std::filesystem::path dir_;
};

// Runs `body` in a child process that SIGALRM ends after `seconds`, so a call that blocks
// (or crashes) fails the test instead of hanging it. The child's exit code, or 128 + the
// signal that ended it.
inline int inChild(const std::function<int()>& body, unsigned seconds = 10) {
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    ::alarm(seconds);
    ::_exit(body());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}
// Exit code of a child that could not become an unprivileged user.
constexpr int kNoUnprivilegedUser = 100;
constexpr uid_t kNobody = 65534;
// In a child process: becomes user and group 65534 (root can), or stays a user that is not
// root already. False when the process still has root's rights.
inline bool becomeNobody() {
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

inline std::vector<uint8_t> readFile(const std::string& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void writeFile(const std::string& p, const std::vector<uint8_t>& bytes) {
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Little-endian byte builder.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& str(std::string_view s) {
    b.insert(b.end(), s.begin(), s.end());
    return *this;
  }
  Bytes& u8(uint8_t v) {
    b.push_back(v);
    return *this;
  }
  Bytes& u16(uint16_t v) { return u8(static_cast<uint8_t>(v)).u8(static_cast<uint8_t>(v >> 8)); }
  Bytes& i32(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    return u16(static_cast<uint16_t>(u)).u16(static_cast<uint16_t>(u >> 16));
  }
  Bytes& f32(float v) { return i32(static_cast<int32_t>(std::bit_cast<uint32_t>(v))); }
  Bytes& vec(float x, float y, float z) { return f32(x).f32(y).f32(z); }
  Bytes& zeros(size_t n) {
    b.insert(b.end(), n, 0);
    return *this;
  }
};

inline int32_t i32At(const std::vector<uint8_t>& b, size_t at) {
  int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}
inline float f32At(const std::vector<uint8_t>& b, size_t at) {
  return std::bit_cast<float>(static_cast<uint32_t>(i32At(b, at)));
}

inline Model makeModel(int32_t maxv = 100, int32_t maxt = 100, int32_t maxl = 10) {
  Model m;
  EXPECT_EQ(allocateModel(m, maxv, maxt, maxl), "");
  return m;
}

// Everything a load may change, rows beyond the counts included.
struct ModelSnapshot {
  int32_t v, t, l;
  std::vector<Vec3> pos;
  std::vector<Tri> tris;
  std::vector<uint8_t> flags;
  std::vector<uint16_t> colors;
  std::vector<Line> lines;
  decltype(Model::partNames) names;
};
inline ModelSnapshot snapshot(const Model& m) {
  const auto rows = [](const auto& a) { return std::vector(a.begin(), a.end()); };
  return {m.vertexCount,     m.triangleCount,   m.lineCount,
          rows(m.vertexPos), rows(m.triVerts),  rows(m.triFlags),
          rows(m.triColor),  rows(m.lineVerts), m.partNames};
}
inline bool sameModel(const ModelSnapshot& a, const ModelSnapshot& b) {
  auto bytesEq = [](const auto& x, const auto& y) {
    return x.size() == y.size() && std::memcmp(x.data(), y.data(), x.size() * sizeof(x[0])) == 0;
  };
  return a.v == b.v && a.t == b.t && a.l == b.l && bytesEq(a.pos, b.pos) &&
         bytesEq(a.tris, b.tris) && a.flags == b.flags && a.colors == b.colors &&
         bytesEq(a.lines, b.lines) && a.names == b.names;
}

// The eight corners and twelve triangles of the cube [-1, 1]^3, each with its own colour.
inline void putCube(Model& m) {
  const Vec3 c[8] = {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                     {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
  const Tri t[12] = {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
                     {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}};
  for (int i = 0; i < 8; ++i) m.vertexPos[i] = c[i];
  for (int i = 0; i < 12; ++i) {
    m.triVerts[i] = t[i];
    m.triColor[i] = static_cast<uint16_t>(colorWord(i, 31 - i, 2 * i));
  }
  m.vertexCount = 8;
  m.triangleCount = 12;
  m.lineCount = 0;
  recomputeNormals(m);
}

}  // namespace filetest
