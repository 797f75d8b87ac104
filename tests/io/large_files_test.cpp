// Files larger than the reader's buffer and the import's facet groups: block reads and
// writes and the look-ahead weld must give exactly what record-by-record handling gives.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "io/model_file.h"
#include "io/stl_file.h"
#include "support/test_dir.h"

namespace {

std::filesystem::path scratch(const std::string& leaf) {
  const auto dir = testDirectory("large_files_test");
  std::filesystem::create_directories(dir);
  return dir / leaf;
}

void putF32(std::vector<uint8_t>& b, float v) {
  const uint32_t u = std::bit_cast<uint32_t>(v);
  for (int k = 0; k < 4; ++k) b.push_back(static_cast<uint8_t>(u >> (8 * k)));
}

TEST(LargeFiles, StlWeldAcrossFacetGroupsMatchesALinearSearch) {
  // 5000 facets (several groups of the import) over 700 distinct points, with -0.0 and 0.0
  // as different points, so welds reach back across group boundaries.
  std::mt19937 rng(3);
  std::vector<Vec3> pool;
  for (int i = 0; i < 700; ++i)
    pool.push_back({static_cast<float>(i % 13) - 6.0f, static_cast<float>(i / 13) * 0.5f,
                    i % 2 == 0 ? 0.0f : -0.0f});
  std::uniform_int_distribution<int> pick(0, 699);
  const int n = 5000;
  std::vector<uint8_t> file(80, ' ');
  for (int k = 0; k < 4; ++k) file.push_back(static_cast<uint8_t>(n >> (8 * k)));
  std::vector<Vec3> corners;
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k < 3; ++k) putF32(file, 0.0f);
    for (int k = 0; k < 3; ++k) {
      const Vec3 p = pool[static_cast<size_t>(pick(rng))];
      corners.push_back(p);
      putF32(file, p.x), putF32(file, p.y), putF32(file, p.z);
    }
    file.push_back(static_cast<uint8_t>(i)), file.push_back(static_cast<uint8_t>(i >> 8));
  }
  const auto path = scratch("groups.stl");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  Model m;
  ASSERT_EQ(allocateModel(m, 2000, 6000, 10), "");
  const ModelLoad load = loadModel(m, path.string(), nullptr);
  EXPECT_EQ(load.result.message, kMsgNone);
  ASSERT_EQ(m.triangleCount, n);

  // The reference: first occurrence, bit for bit, by a plain search.
  std::vector<Vec3> verts;
  auto index = [&verts](Vec3 p) {
    for (size_t v = 0; v < verts.size(); ++v)
      if (std::memcmp(&verts[v], &p, sizeof p) == 0) return static_cast<int32_t>(v);
    verts.push_back(p);
    return static_cast<int32_t>(verts.size() - 1);
  };
  for (int i = 0; i < n; ++i) {
    const Tri t = m.triVerts[i];
    EXPECT_EQ(t.a, index(corners[3 * i]));
    EXPECT_EQ(t.b, index(corners[3 * i + 1]));
    EXPECT_EQ(t.c, index(corners[3 * i + 2]));
    EXPECT_EQ(m.triColor[i], static_cast<uint16_t>(i & 0xFFFF));
    if (::testing::Test::HasFailure()) break;
  }
  ASSERT_EQ(m.vertexCount, static_cast<int32_t>(verts.size()));
  EXPECT_EQ(std::memcmp(m.vertexPos.data(), verts.data(), verts.size() * sizeof(Vec3)), 0);
  std::filesystem::remove(path);
}

TEST(LargeFiles, RqRoundTripBeyondTheReadBufferKeepsEveryByte) {
  Model m;
  ASSERT_EQ(allocateModel(m, 30000, 30000, 50), "");
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> c(-100.0f, 100.0f);
  m.vertexCount = 30000;
  m.triangleCount = 29999;
  m.lineCount = 50;
  for (int32_t v = 0; v < m.vertexCount; ++v) m.vertexPos[v] = {c(rng), c(rng), c(rng)};
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    m.triVerts[t] = {t, (t * 7) % 30000, (t * 13) % 30000};
    m.triFlags[t] = static_cast<uint8_t>((t % 100) | (t % 3 == 0 ? kSelectedBit : 0));
    m.triColor[t] = static_cast<uint16_t>(t * 31);
  }
  for (int32_t l = 0; l < m.lineCount; ++l) m.lineVerts[l] = {l, 29999 - l};
  const auto path = scratch("big.rq").string();
  ASSERT_EQ(saveModel(m, path).message, kMsgFileSaved);
  EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(path)),
            rqFileBytes(30000, 29999, 50, true));

  Model back;
  ASSERT_EQ(allocateModel(back, 30000, 30000, 50), "");
  ASSERT_EQ(loadModel(back, path, nullptr).result.message, kMsgFileLoaded);
  EXPECT_EQ(back.vertexCount, 30000);
  EXPECT_EQ(back.triangleCount, 29999);
  EXPECT_EQ(std::memcmp(back.vertexPos.data(), m.vertexPos.data(), 12 * 30000), 0);
  EXPECT_EQ(std::memcmp(back.triVerts.data(), m.triVerts.data(), 12 * 29999), 0);
  EXPECT_EQ(std::memcmp(back.triFlags.data(), m.triFlags.data(), 29999), 0);
  EXPECT_EQ(std::memcmp(back.triColor.data(), m.triColor.data(), 2 * 29999), 0);
  EXPECT_EQ(std::memcmp(back.lineVerts.data(), m.lineVerts.data(), 8 * 50), 0);

  // The same file with one index out of range deep inside the block is refused whole.
  std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(21 + 12 * 30000 + 12 * 20000 + 4);
  const int32_t bad = 30000;
  f.write(reinterpret_cast<const char*>(&bad), 4);
  f.close();
  Model refused;
  ASSERT_EQ(allocateModel(refused, 30000, 30000, 50), "");
  EXPECT_EQ(loadModel(refused, path, nullptr).result.message, kMsgDamagedFile);
  EXPECT_EQ(refused.triangleCount, 0);
  std::filesystem::remove(path);
}

}  // namespace
