// Work split over threads: every row once, and normals and STL export bit for bit the
// single-threaded result whatever the number of threads.
#include "model/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "io/file_read.h"
#include "io/stl_file.h"
#include "model/model.h"
#include "support/test_dir.h"

namespace {

class ThreadCount {
 public:
  explicit ThreadCount(int n) : was_(parallelThreadCount()) { setParallelThreadCount(n); }
  ~ThreadCount() { setParallelThreadCount(was_); }

 private:
  int was_;
};

TEST(ParallelFor, EveryRowOnceForAnyCountGrainAndThreads) {
  for (int threads : {1, 2, 3, 5}) {
    ThreadCount use(threads);
    for (int64_t n : {0, 1, 7, 100, 1000, 4097}) {
      for (int64_t grain : {1, 10, 1000}) {
        std::vector<std::atomic<int>> seen(static_cast<size_t>(n));
        parallelFor(n, grain, [&](int64_t begin, int64_t end) {
          for (int64_t i = begin; i < end; ++i) seen[static_cast<size_t>(i)]++;
        });
        for (int64_t i = 0; i < n; ++i)
          ASSERT_EQ(seen[static_cast<size_t>(i)].load(), 1) << n << " " << grain << " " << i;
      }
    }
    // A split inside a split runs on the spot.
    std::atomic<int64_t> inner{0};
    parallelFor(4, 1, [&](int64_t begin, int64_t end) {
      for (int64_t i = begin; i < end; ++i)
        parallelFor(1000, 10, [&](int64_t b, int64_t e) { inner += e - b; });
    });
    EXPECT_EQ(inner.load(), 4000);
  }
}

TEST(ParallelFor, NormalsAndStlExportAreTheSingleThreadedBytes) {
  // Enough triangles for several ranges, corners anywhere among the vertices, some degenerate.
  Model m;
  ASSERT_EQ(allocateModel(m, 100000, 300001, 4), "");
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> coord(-500.0f, 500.0f);
  m.vertexCount = 100000;
  for (int32_t v = 0; v < m.vertexCount; ++v) m.vertexPos[v] = {coord(rng), coord(rng), coord(rng)};
  m.triangleCount = 300001;
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    const auto pick = [&] { return static_cast<int32_t>(rng() % 100000); };
    const int32_t a = pick();
    m.triVerts[t] = {a, t % 17 == 0 ? a : pick(), pick()};
    m.triColor[t] = static_cast<uint16_t>(rng());
  }
  const std::string dir = testDirectory("parallel_for");
  std::filesystem::create_directories(dir);
  std::vector<Vec3> oneNormals;
  FileBuffer oneFile;
  for (int threads : {1, 2, 3}) {
    ThreadCount use(threads);
    std::fill(m.triNormal.begin(), m.triNormal.end(), Vec3{7, 7, 7});
    recomputeNormals(m);
    const std::string name = dir + "/t" + std::to_string(threads) + ".stl";
    ASSERT_EQ(exportStl(m, name).message, kMsgFileSaved);
    FileBytes file = readFileBytes(name, INT64_MAX);
    ASSERT_EQ(file.status, ReadStatus::Ok);
    const std::vector<Vec3> normals(m.triNormal.begin(), m.triNormal.begin() + m.triangleCount);
    if (threads == 1) {
      oneNormals = normals;
      oneFile = std::move(file.bytes);
      continue;
    }
    ASSERT_EQ(std::memcmp(normals.data(), oneNormals.data(), normals.size() * sizeof(Vec3)), 0)
        << threads << " threads";
    ASSERT_TRUE(file.bytes == oneFile) << threads << " threads";
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
