#include "io/part_file.h"

#include <gtest/gtest.h>

#include <limits>

#include "io/file_test_support.h"
#include "io/model_file.h"

namespace {

using namespace filetest;

// Ten vertices (vertex i at (i, 2i, 3i)) and four triangles; triangle 2 = (7, 3, 9) selected.
Model tenVertexModel() {
  Model m = makeModel(20, 10, 10);
  for (int32_t i = 0; i < 10; ++i) m.vertexPos[i] = Vec3{static_cast<float>(i), 2.0f * i, 3.0f * i};
  m.triVerts[0] = Tri{0, 1, 2};
  m.triVerts[1] = Tri{2, 1, 4};
  m.triVerts[2] = Tri{7, 3, 9};
  m.triVerts[3] = Tri{5, 6, 8};
  m.triFlags[1] = 4;
  m.triFlags[2] = kSelectedBit | 3;
  m.triColor[2] = colorWord(31, 1, 2);
  m.vertexCount = 10;
  m.triangleCount = 4;
  return m;
}

Bytes partFile(int32_t v, int32_t t, int32_t colorFlag = 1) {
  Bytes b;
  b.str("RQNEW").i32(v).i32(t).i32(0).i32(colorFlag);
  for (int32_t i = 0; i < v; ++i) b.vec(1.0f * i, 0, 0);
  for (int32_t i = 0; i < t; ++i) b.i32(0).i32(v - 1).i32(0);
  if (colorFlag == 1) {
    b.zeros(static_cast<size_t>(t));
    for (int32_t i = 0; i < t; ++i) b.u16(9);
  }
  return b;
}

class PartFile : public FileTest {};

TEST_F(PartFile, SavesTheSelectionWithItsVerticesInIndexOrder) {
  Model m = tenVertexModel();
  const EditResult r = savePart(m, path("p.part"));
  EXPECT_EQ(r.message, kMsgFileSaved);
  EXPECT_EQ(r.request, Request::Present);
  const auto b = readFile(path("p.part"));
  ASSERT_EQ(b.size(), 72u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 5), "RQNEW");
  EXPECT_EQ(i32At(b, 5), 3);
  EXPECT_EQ(i32At(b, 9), 1);
  EXPECT_EQ(i32At(b, 13), 0);
  EXPECT_EQ(i32At(b, 17), 1);
  EXPECT_EQ(f32At(b, 21), 3.0f);  // vertices 3, 7, 9
  EXPECT_EQ(f32At(b, 33), 7.0f);
  EXPECT_EQ(f32At(b, 45 + 8), 27.0f);
  EXPECT_EQ(i32At(b, 57), 1);  // triangle (1, 0, 2)
  EXPECT_EQ(i32At(b, 61), 0);
  EXPECT_EQ(i32At(b, 65), 2);
  EXPECT_EQ(b[69], 0);
  EXPECT_EQ(b[70] | (b[71] << 8), colorWord(31, 1, 2));
  EXPECT_EQ(m.vertexMark[3], 0);
  EXPECT_EQ(m.vertexMark[7], 1);
  EXPECT_EQ(m.vertexMark[9], 2);
}

TEST_F(PartFile, LoadingAppendsBehindTheModelInTheEditMenusGroup) {
  Model src = tenVertexModel();
  ASSERT_EQ(savePart(src, path("p.part")).message, kMsgFileSaved);
  Model m = tenVertexModel();
  const EditResult r = loadPart(m, path("p.part"), 42);
  EXPECT_EQ(r.message, kMsgFileLoaded);
  EXPECT_EQ(r.request, Request::Normals);
  EXPECT_EQ(m.vertexCount, 13);
  EXPECT_EQ(m.triangleCount, 5);
  EXPECT_EQ(m.triVerts[4].a, 11);
  EXPECT_EQ(m.triVerts[4].b, 10);
  EXPECT_EQ(m.triVerts[4].c, 12);
  EXPECT_EQ(m.triFlags[4], 42);
  EXPECT_EQ(m.triColor[4], colorWord(31, 1, 2));
  EXPECT_EQ(m.vertexPos[10].x, 3.0f);
  EXPECT_EQ(m.vertexPos[12].z, 27.0f);
  EXPECT_EQ(m.triFlags[2], kSelectedBit | 3);  // the old triangles keep theirs
}

TEST_F(PartFile, AWholeModelFileAddsNoLinesFlagsOrNames) {
  Model src = makeModel();
  ASSERT_TRUE(putDefaultModel(src));
  src.triFlags[0] = kSelectedBit | 9;
  src.triColor[5] = 77;
  setPartName(src, 3, "source name");
  ASSERT_EQ(saveModel(src, path("whole.rq")).message, kMsgFileSaved);

  Model m = tenVertexModel();
  m.lineVerts[0] = Line{1, 2};
  m.lineCount = 1;
  EXPECT_EQ(loadPart(m, path("whole.rq"), 6).message, kMsgFileLoaded);
  EXPECT_EQ(m.vertexCount, 19);
  EXPECT_EQ(m.triangleCount, 10);
  EXPECT_EQ(m.lineCount, 1);
  EXPECT_EQ(partName(m, 3), std::string(12, ' '));
  for (int32_t t = 4; t < 10; ++t) EXPECT_EQ(m.triFlags[t], 6);
  EXPECT_EQ(m.triColor[9], 77);
  EXPECT_EQ(m.triVerts[4].a, 10);  // (0, 3, 2) moved past the ten old vertices
  EXPECT_EQ(m.triVerts[4].b, 13);
}

TEST_F(PartFile, ColourFlagOtherThanOneKeepsTheRowsColours) {
  writeFile(path("p.part"), partFile(2, 1, 0).b);
  Model m = tenVertexModel();
  m.triColor[4] = 0x0ABC;
  EXPECT_EQ(loadPart(m, path("p.part"), 0).message, kMsgFileLoaded);
  EXPECT_EQ(m.triangleCount, 5);
  EXPECT_EQ(m.triColor[4], 0x0ABC);
}

TEST_F(PartFile, CapacityEdges) {
  Model m = tenVertexModel();  // maxv 20, maxt 10
  writeFile(path("fits.part"), partFile(10, 6).b);
  writeFile(path("v.part"), partFile(11, 1).b);
  writeFile(path("t.part"), partFile(1, 7).b);
  ModelSnapshot before = snapshot(m);
  EXPECT_EQ(loadPart(m, path("v.part"), 0).message, kMsgTooManyVerteces);
  EXPECT_TRUE(sameModel(before, snapshot(m)));
  EXPECT_EQ(loadPart(m, path("t.part"), 0).message, kMsgTooManyTriangles);
  EXPECT_TRUE(sameModel(before, snapshot(m)));
  EXPECT_EQ(loadPart(m, path("fits.part"), 0).message, kMsgFileLoaded);
  EXPECT_EQ(m.vertexCount, 20);
  EXPECT_EQ(m.triangleCount, 10);
}

TEST_F(PartFile, RefusedFilesChangeNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  auto patched = [](size_t at, int32_t value) {
    Bytes b = partFile(3, 2);
    Bytes w;
    w.i32(value);
    std::copy(w.b.begin(), w.b.end(), b.b.begin() + static_cast<long>(at));
    return b.b;
  };
  std::vector<std::tuple<const char*, std::vector<uint8_t>, uint8_t>> cases;
  cases.emplace_back("not RQ", Bytes{}.str("solid x").b, kMsgNotRqFile);
  cases.emplace_back("too short for the magic", Bytes{}.str("RQ").b, kMsgNotRqFile);
  cases.emplace_back("header cut", Bytes{}.str("RQNEW").i32(1).b, kMsgDamagedFile);
  {
    auto b = partFile(3, 2).b;
    b.pop_back();
    cases.emplace_back("one byte short", b, kMsgDamagedFile);
  }
  cases.emplace_back("negative V", patched(5, -1), kMsgDamagedFile);
  cases.emplace_back("negative T", patched(9, -2), kMsgDamagedFile);
  cases.emplace_back("index = V", patched(21 + 36 + 4, 3), kMsgDamagedFile);
  cases.emplace_back("index = -1", patched(21 + 36 + 12, -1), kMsgDamagedFile);
  cases.emplace_back("NaN", patched(21 + 12, static_cast<int32_t>(std::bit_cast<uint32_t>(nan))),
                     kMsgDamagedFile);
  Model m = tenVertexModel();
  for (const auto& [what, bytes, message] : cases) {
    writeFile(path("bad.part"), bytes);
    const ModelSnapshot before = snapshot(m);
    EXPECT_EQ(loadPart(m, path("bad.part"), 1).message, message) << what;
    EXPECT_TRUE(sameModel(before, snapshot(m))) << what;
  }
  EXPECT_EQ(loadPart(m, path("missing.part"), 1).message, kMsgFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(path("missing.part")));
  writeFile(path("good.part"), partFile(3, 2).b);
  EXPECT_EQ(loadPart(m, path("good.part"), 1).message, kMsgFileLoaded);
}

TEST_F(PartFile, NothingSelectedWritesNoFile) {
  Model m = tenVertexModel();
  m.triFlags[2] = 3;
  EXPECT_EQ(savePart(m, path("p.part")).message, kMsgNothingSelected);
  EXPECT_FALSE(std::filesystem::exists(path("p.part")));
}

}  // namespace
