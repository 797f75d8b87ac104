#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <random>
#include <regex>

#include "file_test_support.h"
#include "io/model_file.h"
#include "io/stl_file.h"

namespace {

using namespace filetest;

Bytes stlHeader(int32_t n, std::string_view start = "") {
  Bytes b;
  b.str(start).b.resize(80, ' ');
  b.i32(n);
  return b;
}
Bytes& facet(Bytes& b, Vec3 p, Vec3 q, Vec3 r, uint16_t attribute = 0) {
  b.vec(0, 0, 0).vec(p.x, p.y, p.z).vec(q.x, q.y, q.z).vec(r.x, r.y, r.z).u16(attribute);
  return b;
}

class StlFile : public FileTest {
 protected:
  // Imports the named file into m, as the model load does.
  EditResult load(Model& m, const std::string& name, const ImportProgress& p = {}) {
    return loadModel(m, path(name), p).result;
  }
};

// [SECTION] export

TEST_F(StlFile, EmptyModelExportsEightyBlanksAndAZeroCount) {
  Model m = makeModel();
  EXPECT_EQ(exportStl(m, path("e.stl")).message, kMsgFileSaved);
  const auto b = readFile(path("e.stl"));
  ASSERT_EQ(b.size(), 84u);
  for (int i = 0; i < 80; ++i) ASSERT_EQ(b[i], ' ');
  EXPECT_EQ(i32At(b, 80), 0);
}

TEST_F(StlFile, CubeExportsTwelveFacetsWithNormalsCornersAndColourWords) {
  Model m = makeModel();
  putCube(m);
  m.triColor[5] = colorWord(31, 0, 0);
  ASSERT_EQ(exportStl(m, path("cube.stl")).message, kMsgFileSaved);
  const auto b = readFile(path("cube.stl"));
  ASSERT_EQ(b.size(), 84u + 50 * 12);
  EXPECT_EQ(i32At(b, 80), 12);
  for (int t = 0; t < 12; ++t) {
    const size_t at = 84 + 50 * static_cast<size_t>(t);
    EXPECT_EQ(f32At(b, at + 8), m.triNormal[t].z);
    const Tri tri = m.triVerts[t];
    EXPECT_EQ(f32At(b, at + 12), m.vertexPos[tri.a].x);
    EXPECT_EQ(f32At(b, at + 28), m.vertexPos[tri.b].y);
    EXPECT_EQ(f32At(b, at + 44), m.vertexPos[tri.c].z);
    EXPECT_EQ(b[at + 48] | (b[at + 49] << 8), m.triColor[t]);
  }
  EXPECT_EQ(b[84 + 250 + 48], 0x00);  // red 31 is the word 0x7C00
  EXPECT_EQ(b[84 + 250 + 49], 0x7C);
}

// [SECTION] binary import

TEST_F(StlFile, CubeImportsAsEightVerticesWithTheSameCornerOrder) {
  Model m = makeModel();
  putCube(m);
  ASSERT_EQ(exportStl(m, path("cube.stl")).message, kMsgFileSaved);
  Model in = makeModel();
  ASSERT_TRUE(putDefaultModel(in));
  in.triFlags[0] = 0x85;
  in.triFlags[50] = 0x03;
  const EditResult r = load(in, "cube.stl");
  EXPECT_EQ(r.message, kMsgNone);
  EXPECT_EQ(r.request, Request::Normals);
  EXPECT_EQ(in.vertexCount, 8);
  EXPECT_EQ(in.triangleCount, 12);
  EXPECT_EQ(in.lineCount, 0);
  EXPECT_EQ(in.triFlags[0], 0);
  EXPECT_EQ(in.triFlags[50], 0);
  for (int t = 0; t < 12; ++t) {
    const Tri a = m.triVerts[t], b = in.triVerts[t];
    EXPECT_EQ(in.vertexPos[b.a].x, m.vertexPos[a.a].x);
    EXPECT_EQ(in.vertexPos[b.b].y, m.vertexPos[a.b].y);
    EXPECT_EQ(in.vertexPos[b.c].z, m.vertexPos[a.c].z);
    EXPECT_EQ(in.triColor[t], m.triColor[t]);
  }
  // First occurrences: facet 0 is (0, 2, 1) of the cube, so its corners become 0, 1, 2.
  EXPECT_EQ(in.triVerts[0].a, 0);
  EXPECT_EQ(in.triVerts[0].b, 1);
  EXPECT_EQ(in.triVerts[0].c, 2);
}

TEST_F(StlFile, SharedEdgesShareVerticesButMinusZeroIsItsOwnPoint) {
  Bytes b = stlHeader(3);
  facet(b, {0, 0, 0}, {1, 0, 0}, {0, 1, 0});
  facet(b, {1, 0, 0}, {1, 1, 0}, {0, 1, 0});
  facet(b, {-0.0f, 0, 0}, {1, 0, 0}, {0, 1, 0}, 0x8001);
  writeFile(path("s.stl"), b.b);
  Model m = makeModel();
  EXPECT_EQ(load(m, "s.stl").message, kMsgNone);
  ASSERT_EQ(m.vertexCount, 5);
  EXPECT_EQ(m.triVerts[1].a, 1);
  EXPECT_EQ(m.triVerts[1].b, 3);
  EXPECT_EQ(m.triVerts[1].c, 2);
  EXPECT_EQ(m.triVerts[2].a, 4);
  EXPECT_EQ(m.triVerts[2].b, 1);
  EXPECT_EQ(std::bit_cast<uint32_t>(m.vertexPos[4].x), 0x80000000u);
  EXPECT_EQ(m.triColor[2], 0x8001);  // the attribute word is kept whole
}

TEST_F(StlFile, HeaderStartingWithSolidIsStillBinaryAndExtraBytesAreIgnored) {
  Bytes b = stlHeader(1, "solid trap");
  facet(b, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, 5);
  b.str("trailing bytes");
  writeFile(path("s.stl"), b.b);
  Model m = makeModel();
  EXPECT_EQ(load(m, "s.stl").message, kMsgNone);
  EXPECT_EQ(m.vertexCount, 3);
  EXPECT_EQ(m.triangleCount, 1);
  EXPECT_EQ(m.vertexPos[2].z, 9.0f);
  EXPECT_EQ(m.triColor[0], 5);
}

TEST_F(StlFile, WeldingMatchesALinearSearchOnARandomMesh) {
  std::mt19937 rng(12345);
  // Few distinct coordinates so that corners repeat often; both zeros among them.
  const float pool[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 3.0e-38f, 7.25f};
  const int32_t n = 3000;
  Bytes b = stlHeader(n);
  std::vector<Vec3> corners;
  for (int32_t i = 0; i < n * 3; ++i) {
    Vec3 p{pool[rng() % 7], pool[rng() % 7], pool[rng() % 7]};
    if (rng() % 3 == 0) p.x = static_cast<float>(rng() % 4000);
    corners.push_back(p);
  }
  for (int32_t i = 0; i < n; ++i)
    facet(b, corners[3 * i], corners[3 * i + 1], corners[3 * i + 2], static_cast<uint16_t>(i));
  writeFile(path("r.stl"), b.b);

  std::vector<Vec3> refVerts;
  std::vector<int32_t> refIndex;
  for (const Vec3 p : corners) {
    size_t k = 0;
    while (k < refVerts.size() && std::memcmp(&refVerts[k], &p, sizeof p) != 0) ++k;
    if (k == refVerts.size()) refVerts.push_back(p);
    refIndex.push_back(static_cast<int32_t>(k));
  }
  Model m = makeModel(20000, 5000, 10);
  ASSERT_EQ(load(m, "r.stl").message, kMsgNone);
  ASSERT_EQ(m.vertexCount, static_cast<int32_t>(refVerts.size()));
  EXPECT_EQ(std::memcmp(m.vertexPos.data(), refVerts.data(), refVerts.size() * sizeof(Vec3)), 0);
  for (int32_t i = 0; i < n; ++i) {
    ASSERT_EQ(m.triVerts[i].a, refIndex[3 * i]) << i;
    ASSERT_EQ(m.triVerts[i].b, refIndex[3 * i + 1]) << i;
    ASSERT_EQ(m.triVerts[i].c, refIndex[3 * i + 2]) << i;
  }
}

// Files of many facets (read and welded a piece at a time), in mesh order and shuffled, with
// points that repeat near and far: the import must give what one facet at a time and a search
// over the vertices so far give, also when a capacity stops it part-way.
TEST_F(StlFile, WeldingMatchesFirstOccurrenceOverManyPiecesAndStops) {
  std::mt19937 rng(777);
  const int32_t n = 90000;
  // A strip of quads in order (neighbours close in the file), then every third facet drawn
  // from anywhere in a large pool, so that both recent and far repeats occur.
  std::vector<Vec3> corners;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t q = i / 2;
    auto at = [&](int32_t a, int32_t b) { return Vec3{float(a), float(b % 50), float(q % 7)}; };
    if (i % 3 == 2) {
      for (int k = 0; k < 3; ++k) corners.push_back({float(rng() % 300000), -0.0f, 1.0f});
    } else if (i % 2 == 0) {
      for (Vec3 p : {at(q / 50, q), at(q / 50 + 1, q), at(q / 50 + 1, q + 1)}) corners.push_back(p);
    } else {
      for (Vec3 p : {at(q / 50, q), at(q / 50 + 1, q + 1), at(q / 50, q + 1)}) corners.push_back(p);
    }
  }
  for (const bool shuffled : {false, true}) {
    std::vector<int32_t> order(n);
    for (int32_t i = 0; i < n; ++i) order[i] = i;
    if (shuffled) std::shuffle(order.begin(), order.end(), rng);
    Bytes b = stlHeader(n);
    std::vector<Vec3> fileCorners;
    for (int32_t i : order) {
      facet(b, corners[3 * i], corners[3 * i + 1], corners[3 * i + 2], static_cast<uint16_t>(i));
      for (int k = 0; k < 3; ++k) fileCorners.push_back(corners[3 * i + k]);
    }
    writeFile(path("many.stl"), b.b);
    // One facet at a time with a map from the point's bytes to the first vertex made for it.
    std::map<std::array<uint32_t, 3>, int32_t> seen;
    std::vector<Vec3> refVerts;
    std::vector<int32_t> refIndex;
    for (const Vec3 p : fileCorners) {
      const std::array<uint32_t, 3> key{std::bit_cast<uint32_t>(p.x), std::bit_cast<uint32_t>(p.y),
                                        std::bit_cast<uint32_t>(p.z)};
      const auto [it, isNew] = seen.emplace(key, static_cast<int32_t>(refVerts.size()));
      if (isNew) refVerts.push_back(p);
      refIndex.push_back(it->second);
    }
    const int32_t distinct = static_cast<int32_t>(refVerts.size());
    const struct {
      int32_t maxv, maxt;
    } capacities[] = {{distinct + 1, n + 1}, {distinct / 3, n + 1}, {distinct + 1, 70001}};
    for (const auto& cap : capacities) {
      SCOPED_TRACE(testing::Message()
                   << "shuffled " << shuffled << " maxv " << cap.maxv << " maxt " << cap.maxt);
      // The reference stop: after the corner that makes vertex maxv, or facet maxt.
      int32_t wantV = 0, wantT = 0;
      uint8_t wantMsg = kMsgNone;
      for (int32_t i = 0; i < n && wantMsg == kMsgNone; ++i) {
        for (int k = 0; k < 3 && wantMsg == kMsgNone; ++k) {
          wantV = std::max(wantV, refIndex[3 * i + k] + 1);
          if (wantV == cap.maxv) wantMsg = kMsgTooManyVerteces;
        }
        if (wantMsg == kMsgNone && ++wantT == cap.maxt) wantMsg = kMsgTooManyTriangles;
      }
      Model m = makeModel(cap.maxv, cap.maxt, 10);
      ASSERT_EQ(load(m, "many.stl").message, wantMsg);
      ASSERT_EQ(m.vertexCount, wantV);
      ASSERT_EQ(m.triangleCount, wantT);
      ASSERT_EQ(std::memcmp(m.vertexPos.data(), refVerts.data(), size_t(wantV) * sizeof(Vec3)), 0);
      for (int32_t i = 0; i < wantT; ++i) {
        const Tri t = m.triVerts[i];
        ASSERT_TRUE(t.a == refIndex[3 * i] && t.b == refIndex[3 * i + 1] &&
                    t.c == refIndex[3 * i + 2])
            << "facet " << i;
        ASSERT_EQ(m.triColor[i], static_cast<uint16_t>(order[i]));
      }
    }
  }
}

TEST_F(StlFile, CapacityStopsTheImportAndKeepsWhatCameIn) {
  Model cube = makeModel();
  putCube(cube);
  ASSERT_EQ(exportStl(cube, path("cube.stl")).message, kMsgFileSaved);

  Model few = makeModel(5, 100, 10);  // facet 2 brings the fifth vertex: vertices full
  EXPECT_EQ(load(few, "cube.stl").message, kMsgTooManyVerteces);
  EXPECT_EQ(few.vertexCount, 5);
  EXPECT_EQ(few.triangleCount, 2);

  Model exact = makeModel(100, 12, 10);  // exactly maxt facets: all in, and the message
  EXPECT_EQ(load(exact, "cube.stl").message, kMsgTooManyTriangles);
  EXPECT_EQ(exact.triangleCount, 12);
  EXPECT_EQ(exact.vertexCount, 8);

  Model small = makeModel(100, 5, 10);
  EXPECT_EQ(load(small, "cube.stl").message, kMsgTooManyTriangles);
  EXPECT_EQ(small.triangleCount, 5);
}

TEST_F(StlFile, ProgressLineEvery128Facets) {
  EXPECT_EQ(importProgressText(128, 1000), "importing stl...  128/ 1000 ");
  EXPECT_EQ(importProgressText(0, 7), "importing stl...  0/ 7 ");
  Bytes b = stlHeader(300);
  for (int i = 0; i < 300; ++i) facet(b, {1, 0, 0}, {0, 1, 0}, {0, 0, static_cast<float>(i)});
  writeFile(path("p.stl"), b.b);
  Model m = makeModel(1000, 1000, 10);
  std::vector<int32_t> seen;
  load(m, "p.stl", [&](int32_t i, int32_t n) {
    EXPECT_EQ(n, 300);
    seen.push_back(i);
  });
  EXPECT_EQ(seen, (std::vector<int32_t>{0, 128, 256}));
}

// [SECTION] refusals

TEST_F(StlFile, NoFacetsAndDamagedFilesChangeNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<std::tuple<const char*, std::vector<uint8_t>, uint8_t>> cases;
  cases.emplace_back("count 0", stlHeader(0).b, kMsgNoFacets);
  cases.emplace_back("count 0, header solid", stlHeader(0, "solid x").b, kMsgNoFacets);
  cases.emplace_back("empty file", std::vector<uint8_t>{}, kMsgDamagedFile);
  cases.emplace_back("83 bytes", std::vector<uint8_t>(83, 1), kMsgDamagedFile);
  cases.emplace_back("count 0x80000000", stlHeader(INT32_MIN).b, kMsgDamagedFile);
  {
    Bytes b = stlHeader(85899346);  // 84 + 50 * count wraps to 88 in 32 bits
    b.zeros(4);
    cases.emplace_back("count 85899346 in 88 bytes", b.b, kMsgDamagedFile);
  }
  {
    Bytes b = stlHeader(2);
    facet(b, {1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    cases.emplace_back("one facet of two", b.b, kMsgDamagedFile);
    facet(b, {1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    b.b.pop_back();
    cases.emplace_back("one byte short", b.b, kMsgDamagedFile);
  }
  {
    Bytes b = stlHeader(2);
    facet(b, {1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    facet(b, {1, 2, 3}, {4, nan, 6}, {7, 8, 9});
    cases.emplace_back("NaN corner", b.b, kMsgDamagedFile);
  }
  Model m = makeModel(10, 10, 10);
  ASSERT_TRUE(putDefaultModel(m));
  m.triFlags[1] = 0x84;
  for (const auto& [what, bytes, message] : cases) {
    writeFile(path("bad.stl"), bytes);
    const ModelSnapshot before = snapshot(m);
    EXPECT_EQ(load(m, "bad.stl").message, message) << what;
    EXPECT_TRUE(sameModel(before, snapshot(m))) << what;
  }
}

// [SECTION] text STL

const char* kAsciiCube = R"(solid cube made by hand
)";

std::string asciiOf(const Model& m, bool oddSpelling) {
  std::string s = oddSpelling ? "  SOLID\r\n" : kAsciiCube;
  char buf[200];
  for (int t = 0; t < m.triangleCount; ++t) {
    const Tri tri = m.triVerts[t];
    s += oddSpelling ? "Facet\tNormal 0 0 +1\r\n OUTER   loop\r\n"
                     : "facet normal 0 0 1\nouter loop\n";
    for (const int32_t v : {tri.a, tri.b, tri.c}) {
      const Vec3 p = m.vertexPos[v];
      std::snprintf(buf, sizeof buf,
                    oddSpelling ? "\tVERTEX %.9g\t%.9e %.9g\r\n" : "vertex %.9g %.9g %.9g\n",
                    static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z));
      s += buf;
    }
    s += oddSpelling ? "EndLoop\r\nendFACET\r\n" : "endloop\nendfacet\n";
  }
  s += oddSpelling ? "EndSolid" : "endsolid cube made by hand\n";
  return s;
}

TEST_F(StlFile, AsciiCubeLoadsLikeTheBinaryOne) {
  Model cube = makeModel();
  putCube(cube);
  cube.vertexPos[6] = Vec3{0.1f, 1.0e-7f, -3.3f};
  ASSERT_EQ(exportStl(cube, path("cube.stl")).message, kMsgFileSaved);
  Model binary = makeModel();
  ASSERT_EQ(load(binary, "cube.stl").message, kMsgNone);
  for (const bool odd : {false, true}) {
    const std::string text = asciiOf(cube, odd);
    writeFile(path("cube.txt"), {text.begin(), text.end()});
    Model m = makeModel();
    ASSERT_TRUE(putDefaultModel(m));
    EXPECT_EQ(load(m, "cube.txt").message, kMsgNone) << odd;
    EXPECT_EQ(m.vertexCount, 8);
    EXPECT_EQ(m.triangleCount, 12);
    EXPECT_EQ(m.lineCount, 0);
    EXPECT_EQ(std::memcmp(m.vertexPos.data(), binary.vertexPos.data(), 8 * sizeof(Vec3)), 0);
    EXPECT_EQ(std::memcmp(m.triVerts.data(), binary.triVerts.data(), 12 * sizeof(Tri)), 0);
    EXPECT_EQ(m.triColor[3], 0);
  }
}

TEST_F(StlFile, AsciiThatDoesNotParseChangesNothing) {
  Model cube = makeModel();
  putCube(cube);
  const std::string good = asciiOf(cube, false);
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string s = good;
    s.replace(s.find(from), from.size(), to);
    return s;
  };
  const std::pair<const char*, std::string> cases[] = {
      {"missing endloop", replaced("endloop\nendfacet\n", "endfacet\n")},
      {"bad number", replaced("vertex -1", "vertex -1x")},
      {"two numbers", replaced("vertex -1 -1 -1", "vertex -1 -1")},
      {"nan corner", replaced("vertex -1 -1 -1", "vertex -1 nan -1")},
      {"inf corner", replaced("vertex -1 -1 -1", "vertex -1 -1 inf")},
      {"huge corner", replaced("vertex -1 -1 -1", "vertex -1 -1 1e39")},
      {"huge even for double", replaced("vertex -1 -1 -1", "vertex -1 -1 -1.5e400")},
      {"no endsolid", good.substr(0, good.rfind("endsolid"))},
      {"cut in a facet", good.substr(0, good.size() / 2)},
      {"junk after", good + "garbage\n"},
      {"not solid", replaced("solid", "solidx")},
  };
  Model m = makeModel();
  ASSERT_TRUE(putDefaultModel(m));
  for (const auto& [what, text] : cases) {
    writeFile(path("bad.txt"), {text.begin(), text.end()});
    const ModelSnapshot before = snapshot(m);
    EXPECT_EQ(load(m, "bad.txt").message, kMsgDamagedFile) << what;
    EXPECT_TRUE(sameModel(before, snapshot(m))) << what;
  }
  // Below single precision, and below double precision too: -0 alike.
  for (const char* small : {"-1e-50", "-1e-400", "-0.000012e-99999"}) {
    const std::string tiny = replaced("vertex -1 -1 -1", std::string("vertex ") + small + " -1 -1");
    writeFile(path("tiny.txt"), {tiny.begin(), tiny.end()});
    EXPECT_EQ(load(m, "tiny.txt").message, kMsgNone) << small;
    EXPECT_EQ(std::bit_cast<uint32_t>(m.vertexPos[0].x), 0x80000000u) << small;
  }
  const std::string empty = "solid nothing\nendsolid nothing\n";
  writeFile(path("empty.txt"), {empty.begin(), empty.end()});
  EXPECT_EQ(load(m, "empty.txt").message, kMsgNoFacets);
  EXPECT_EQ(m.vertexCount, 9);  // the cube with its one corner at -0 stays
}

// [SECTION] other readers

int runQuiet(const std::string& command, std::string& output) {
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  char buf[512];
  while (std::fgets(buf, sizeof buf, pipe) != nullptr) output += buf;
  return ::pclose(pipe);
}

TEST_F(StlFile, ExportedFilesAreReadByAdmesh) {
  if (!std::filesystem::exists("/usr/bin/admesh")) GTEST_SKIP() << "/usr/bin/admesh not installed";
  Model m = makeModel();
  putCube(m);
  ASSERT_EQ(exportStl(m, path("cube.stl")).message, kMsgFileSaved);
  std::string out;
  EXPECT_EQ(runQuiet("/usr/bin/admesh '" + path("cube.stl") + "'", out), 0) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("File type +: Binary STL file"))) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("Number of facets +: +12 +12"))) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("Normals fixed +: +0"))) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("Volume +: +8\\.0"))) << out;
}

TEST_F(StlFile, ExportedFilesAreReadByAssimp) {
  if (!std::filesystem::exists("/usr/bin/assimp")) GTEST_SKIP() << "/usr/bin/assimp not installed";
  Model m = makeModel();
  putCube(m);
  ASSERT_EQ(exportStl(m, path("cube.stl")).message, kMsgFileSaved);
  std::string out;
  EXPECT_EQ(runQuiet("/usr/bin/assimp info '" + path("cube.stl") + "'", out), 0) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("Faces: +12\\n"))) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("STL_BINARY"))) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("Maximum point +\\(1\\.0+ 1\\.0+ 1\\.0+\\)")))
      << out;
}

}  // namespace
