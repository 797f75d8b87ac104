#include "io/model_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/open_model.h"
#include "core/platform/headless_platform.h"
#include "file_test_support.h"

namespace {

using namespace filetest;

// An RQ file with the given counts and well-formed records (indices 0, colour words 7).
Bytes rqFile(int32_t v, int32_t t, int32_t l, int32_t colorFlag = 1) {
  Bytes b;
  b.str("RQNEW").i32(v).i32(t).i32(l).i32(colorFlag);
  for (int32_t i = 0; i < v; ++i) b.vec(static_cast<float>(i), 2.0f * i, -1.0f);
  for (int32_t i = 0; i < t; ++i) b.i32(0).i32(v > 1 ? 1 : 0).i32(v - 1);
  for (int32_t i = 0; i < t; ++i) b.u8(static_cast<uint8_t>(i % 100));
  if (colorFlag == 1)
    for (int32_t i = 0; i < t; ++i) b.u16(7);
  for (int32_t i = 0; i < l; ++i) b.i32(v - 1).i32(0);
  b.str("names here..").zeros(1188);
  return b;
}

class RqFile : public FileTest {};

TEST_F(RqFile, EmptyModelIsExactly1221Bytes) {
  Model m = makeModel();
  const EditResult r = saveModel(m, path("empty.rq"));
  EXPECT_EQ(r.message, kMsgFileSaved);
  const auto b = readFile(path("empty.rq"));
  ASSERT_EQ(b.size(), 1221u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 5), "RQNEW");
  EXPECT_EQ(i32At(b, 5), 0);
  EXPECT_EQ(i32At(b, 9), 0);
  EXPECT_EQ(i32At(b, 13), 0);
  EXPECT_EQ(i32At(b, 17), 1);
  EXPECT_EQ(std::string(b.begin() + 21, b.begin() + 33), "default     ");
  for (size_t i = 33; i < b.size(); ++i) ASSERT_EQ(b[i], 0) << i;
  EXPECT_TRUE(strayFiles({"empty.rq"}).empty());
}

TEST_F(RqFile, SavingOverALongerFileLeavesExactlyTheNewLength) {
  writeFile(path("a.rq"), std::vector<uint8_t>(5000, 0xEE));
  Model m = makeModel();
  ASSERT_TRUE(putDefaultModel(m));
  EXPECT_EQ(saveModel(m, path("a.rq")).message, kMsgFileSaved);
  EXPECT_EQ(readFile(path("a.rq")).size(), static_cast<size_t>(rqFileBytes(9, 6, 4, true)));
  EXPECT_EQ(rqFileBytes(9, 6, 4, true), 1221 + 108 + 90 + 32);
}

TEST_F(RqFile, RoundTripKeepsEveryRecordSelectionGroupsAndNames) {
  Model m = makeModel();
  ASSERT_TRUE(putDefaultModel(m));
  m.triFlags[0] = 0x80 | 5;
  m.triFlags[1] = 99;
  m.triFlags[2] = 0x80;
  m.triColor[3] = 0x8000 | colorWord(31, 0, 1);  // bit 15 is written back whole
  m.vertexPos[4] = Vec3{-0.0f, 1.5e-30f, 3.25f};
  setPartName(m, 7, "ABCDEFGHIJKL");
  setPartName(m, 8, "ab");
  ASSERT_EQ(saveModel(m, path("m.rq")).message, kMsgFileSaved);

  const auto b = readFile(path("m.rq"));
  const size_t names = 21 + 12 * 9 + 15 * 6 + 8 * 4;
  ASSERT_EQ(b.size(), names + 1200);
  EXPECT_EQ(b[21 + 108 + 72], 0x85);  // the first flag byte
  EXPECT_EQ(std::string(b.begin() + names + 84, b.begin() + names + 96), "ABCDEFGHIJKL");
  EXPECT_EQ(b[names + 96], 'a');  // the next record follows with no terminator between
  EXPECT_EQ(b[names + 98], 0);

  Model back = makeModel();
  const ModelLoad load = loadModel(back, path("m.rq"), {});
  EXPECT_EQ(load.result.message, kMsgFileLoaded);
  EXPECT_EQ(load.result.request, Request::Normals);
  EXPECT_TRUE(load.rqFile);
  EXPECT_TRUE(load.modelColors);
  EXPECT_TRUE(sameModel(snapshot(back), snapshot(m)));
  EXPECT_EQ(std::bit_cast<uint32_t>(back.vertexPos[4].x), 0x80000000u);
}

TEST_F(RqFile, ColourFlagDecidesTheColourBlockAndTheModelColoursOption) {
  HeadlessPlatform platform;
  Editor ed(platform);
  ASSERT_EQ(allocateModel(ed.model, 100, 100, 10), "");
  ed.model.triColor[1] = 0x1234;
  writeFile(path("nocolor.rq"), rqFile(3, 2, 1, 0).b);
  writeFile(path("color.rq"), rqFile(3, 2, 1, 1).b);

  ed.viewFlags = kInitialViewFlags | kModelColors;
  loadModelFile(ed, path("nocolor.rq"));
  EXPECT_EQ(ed.requests.statusMessage, kMsgFileLoaded);
  EXPECT_EQ(ed.model.triangleCount, 2);
  EXPECT_EQ(ed.model.lineCount, 1);
  EXPECT_EQ(ed.model.lineVerts[0].a, 2);
  EXPECT_EQ(ed.model.triColor[1], 0x1234);  // no colour block read
  EXPECT_EQ(ed.viewFlags, kInitialViewFlags);
  EXPECT_EQ(ed.currentFile, path("nocolor.rq"));
  EXPECT_EQ(partName(ed.model, 0), "names here..");

  loadModelFile(ed, path("color.rq"));
  EXPECT_EQ(ed.model.triColor[1], 7);
  EXPECT_EQ(ed.viewFlags, kInitialViewFlags | kModelColors);
  EXPECT_EQ(ed.currentFile, path("color.rq"));
}

// [SECTION] capacity

class RqLoad : public FileTest {
 protected:
  void SetUp() override {
    FileTest::SetUp();
    ASSERT_EQ(allocateModel(ed.model, 4, 3, 2), "");
    ed.model.vertexPos[0] = Vec3{9, 9, 9};
    ed.model.vertexCount = 1;
    ed.model.triFlags[2] = 0x81;
    ed.currentFile = "before.rq";
  }
  HeadlessPlatform platform;
  Editor ed{platform};
};

TEST_F(RqLoad, CountsEqualToTheCapacitiesLoad) {
  writeFile(path("full.rq"), rqFile(4, 3, 2).b);
  loadModelFile(ed, path("full.rq"));
  EXPECT_EQ(ed.requests.statusMessage, kMsgFileLoaded);
  EXPECT_EQ(ed.model.vertexCount, 4);
  EXPECT_EQ(ed.model.triangleCount, 3);
  EXPECT_EQ(ed.model.lineCount, 2);
}

TEST_F(RqLoad, OneMoreIsRefusedAndChangesNothing) {
  const struct {
    int32_t v, t, l;
    uint8_t message;
  } cases[] = {
      {5, 3, 2, kMsgTooManyVerteces}, {4, 4, 2, kMsgTooManyTriangles}, {4, 3, 3, kMsgTooManyLines}};
  for (const auto& c : cases) {
    writeFile(path("big.rq"), rqFile(c.v, c.t, c.l).b);
    const ModelSnapshot before = snapshot(ed.model);
    ed.viewFlags = kInitialViewFlags | kModelColors;
    loadModelFile(ed, path("big.rq"));
    EXPECT_EQ(ed.requests.statusMessage, c.message) << c.v << " " << c.t << " " << c.l;
    EXPECT_TRUE(sameModel(before, snapshot(ed.model)));
    EXPECT_EQ(ed.currentFile, "before.rq");
    EXPECT_EQ(ed.viewFlags, kInitialViewFlags | kModelColors);
  }
}

// [SECTION] damaged files

TEST_F(RqLoad, DamagedFilesAreRefusedWithoutAnyChange) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<std::pair<const char*, std::vector<uint8_t>>> cases;
  auto add = [&](const char* what, Bytes b) { cases.emplace_back(what, b.b); };
  const size_t vertices = 21, triangles = 21 + 36, lines = 21 + 36 + 30;
  auto patched = [&](size_t at, auto write) {
    Bytes b = rqFile(3, 2, 1);
    Bytes w;
    write(w);
    std::copy(w.b.begin(), w.b.end(), b.b.begin() + static_cast<long>(at));
    return b;
  };
  add("magic only", Bytes{}.str("RQNEW"));
  add("header cut", Bytes{}.str("RQNEW").i32(0).i32(0));
  {
    Bytes b = rqFile(3, 2, 1);
    b.b.pop_back();
    add("one byte short", b);
    b.b.push_back(0);
    b.b.push_back(0);
    add("one byte long", b);
  }
  add("no names", Bytes{}.str("RQNEW").i32(0).i32(0).i32(0).i32(1));
  add("negative V", Bytes{}.str("RQNEW").i32(-1).i32(0).i32(0).i32(1).zeros(1200 - 12));
  add("negative T", Bytes{}.str("RQNEW").i32(0).i32(-1).i32(0).i32(1).zeros(1200 - 15));
  add("negative L", Bytes{}.str("RQNEW").i32(0).i32(0).i32(-1).i32(1).zeros(1200 - 8));
  add("V huge", Bytes{}.str("RQNEW").i32(INT32_MIN).i32(0).i32(0).i32(1).zeros(1200));
  add("index = V", patched(triangles + 4, [](Bytes& w) { w.i32(3); }));
  add("index = -1", patched(triangles + 12, [](Bytes& w) { w.i32(-1); }));
  add("line index = V", patched(lines, [](Bytes& w) { w.i32(3); }));
  add("NaN", patched(vertices + 4, [&](Bytes& w) { w.f32(nan); }));
  add("infinity", patched(vertices + 32, [&](Bytes& w) { w.f32(-inf); }));
  add("group 100", patched(triangles + 24, [](Bytes& w) { w.u8(100); }));

  for (const auto& [what, bytes] : cases) {
    writeFile(path("bad.rq"), bytes);
    const ModelSnapshot before = snapshot(ed.model);
    ed.requests.statusMessage = 0;
    loadModelFile(ed, path("bad.rq"));
    EXPECT_EQ(ed.requests.statusMessage, kMsgDamagedFile) << what;
    EXPECT_TRUE(sameModel(before, snapshot(ed.model))) << what;
    EXPECT_EQ(ed.currentFile, "before.rq") << what;
  }
  // The unpatched file is sound: the cases above fail for their one fault.
  writeFile(path("good.rq"), rqFile(3, 2, 1).b);
  loadModelFile(ed, path("good.rq"));
  EXPECT_EQ(ed.requests.statusMessage, kMsgFileLoaded);
}

TEST_F(RqLoad, AMissingNameIsNotCreatedAndChangesNothing) {
  const ModelSnapshot before = snapshot(ed.model);
  loadModelFile(ed, path("nothing.rq"));
  EXPECT_EQ(ed.requests.statusMessage, kMsgFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(path("nothing.rq")));
  EXPECT_TRUE(sameModel(before, snapshot(ed.model)));
  EXPECT_EQ(ed.currentFile, "before.rq");
  loadModelFile(ed, dir_.string());  // a folder is not a model file either
  EXPECT_EQ(ed.requests.statusMessage, kMsgFileNotFound);
}

}  // namespace
