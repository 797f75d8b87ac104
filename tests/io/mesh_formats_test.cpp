// OBJ and PLY: the parsers on a table of files, the round trip of our own exports, and the
// model load that picks the reader by content.
#include <gtest/gtest.h>

#include <cmath>

#include "io/file_format.h"
#include "io/file_test_support.h"
#include "io/imported_mesh.h"
#include "io/mesh_export.h"
#include "io/model_file.h"
#include "support/small_models.h"

namespace {

using filetest::Bytes;

// A PLY binary body in either byte order: values appended as their types say.
struct PlyBody {
  bool big = false;
  std::string bytes;
  template <class T>
  PlyBody& put(T v) {
    char raw[sizeof(T)];
    std::memcpy(raw, &v, sizeof(T));
    if (big) std::reverse(raw, raw + sizeof(T));
    bytes.append(raw, sizeof(T));
    return *this;
  }
};

std::string binaryPly(bool big) {
  std::string h = std::string("ply\nformat binary_") + (big ? "big" : "little") +
                  "_endian 1.0\ncomment made by hand\nelement vertex 4\nproperty double x\n"
                  "property double y\nproperty double z\nproperty uchar red\nproperty uchar green\n"
                  "property uchar blue\nelement edge 1\nproperty list uchar int vertex_pair\n"
                  "element face 1\nproperty list uint8 int16 vertex_indices\nend_header\n";
  PlyBody b{big, {}};
  const double pts[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0.5}};
  for (int i = 0; i < 4; ++i)
    b.put(pts[i][0]).put(pts[i][1]).put(pts[i][2]).put<uint8_t>(255).put<uint8_t>(0).put<uint8_t>(
        static_cast<uint8_t>(i * 80));
  b.put<uint8_t>(2).put<int32_t>(0).put<int32_t>(1);  // the skipped edge element
  b.put<uint8_t>(4).put<int16_t>(0).put<int16_t>(1).put<int16_t>(2).put<int16_t>(3);
  return h + b.bytes;
}

struct Case {
  const char* what;
  bool ply;
  std::string text;
  uint8_t message;  // kMsgNone: parsed
  size_t vertices, triangles;
};

TEST(MeshFormats, ParsersAcceptValidFilesAndRefuseDamagedOnes) {
  const std::string plyHead =
      "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\n"
      "property float y\nproperty float z\nelement face 1\n"
      "property list uchar int vertex_indices\nend_header\n";
  const Case cases[] = {
      {"quad, negative and slashed indices", false,
       "# c\nv 0 0 0\nv 1 0 0\r\nv 1 1 0 1.0\nv 0 1 0\nvt 0 0\nf 1/1 2/1/1 3//1 -1\n", kMsgNone, 4,
       2},
      {"face before its vertices", false, "f 1 2 3\nv 0 0 0\nv 1 0 0\nv 0 1 0\n", kMsgNone, 3, 1},
      {"index zero", false, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n", kMsgDamagedFile, 0, 0},
      {"index past the vertices", false, "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\n", kMsgDamagedFile, 0,
       0},
      {"negative index before the first", false, "v 0 0 0\nv 1 0 0\nf 1 2 -3\n", kMsgDamagedFile, 0,
       0},
      {"two corners", false, "v 0 0 0\nv 1 0 0\nf 1 2\n", kMsgDamagedFile, 0, 0},
      {"short vertex", false, "v 0 0\nf 1 1 1\n", kMsgDamagedFile, 0, 0},
      {"not finite", false, "v nan 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", kMsgDamagedFile, 0, 0},
      {"too large for a float", false, "v 1e39 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n", kMsgDamagedFile,
       0, 0},
      {"points only", false, "v 0 0 0\n", kMsgNoFacets, 0, 0},
      {"ascii", true, plyHead + "0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n", kMsgNone, 3, 1},
      {"binary little-endian", true, binaryPly(false), kMsgNone, 4, 2},
      {"binary big-endian", true, binaryPly(true), kMsgNone, 4, 2},
      {"truncated binary", true, binaryPly(false).substr(0, binaryPly(false).size() - 1),
       kMsgDamagedFile, 0, 0},
      {"ascii index out of range", true, plyHead + "0 0 0\n1 0 0\n0 1 0\n3 0 1 3\n",
       kMsgDamagedFile, 0, 0},
      {"ascii missing a row", true, plyHead + "0 0 0\n1 0 0\n3 0 1 2\n", kMsgDamagedFile, 0, 0},
      {"count beyond the file", true,
       "ply\nformat binary_little_endian 1.0\nelement vertex 2000000000\nproperty float x\n"
       "property float y\nproperty float z\nend_header\n",
       kMsgDamagedFile, 0, 0},
      {"no end_header", true, "ply\nformat ascii 1.0\nelement vertex 0\n", kMsgDamagedFile, 0, 0},
      {"float index list", true,
       "ply\nformat ascii 1.0\nelement vertex 0\nproperty float x\nproperty float y\n"
       "property float z\nelement face 0\nproperty list uchar float vertex_indices\nend_header\n",
       kMsgDamagedFile, 0, 0},
      {"no faces", true,
       "ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nproperty float y\n"
       "property float z\nend_header\n1 2 3\n",
       kMsgNoFacets, 0, 0},
  };
  for (const Case& c : cases) {
    ImportedMesh mesh;
    const uint8_t msg = c.ply ? parsePly(c.text, mesh) : parseObj(c.text, mesh);
    EXPECT_EQ(msg, c.message) << c.what;
    if (msg != kMsgNone || c.message != kMsgNone) continue;
    EXPECT_EQ(mesh.vertices.size(), c.vertices) << c.what;
    EXPECT_EQ(mesh.triangles.size(), c.triangles) << c.what;
    for (const Tri& t : mesh.triangles) {
      for (int32_t v : {t.a, t.b, t.c}) EXPECT_LT(static_cast<size_t>(v), c.vertices) << c.what;
    }
  }
}

TEST(MeshFormats, PolygonsBecomeFansWithGroupsAndColours) {
  ImportedMesh obj;
  ASSERT_EQ(parseObj("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\ng a_name_longer_than_twelve\n"
                     "f 1 2 3 4\no b\nf -4 -3 -2\ng a_name_longer_than_twelve\nf 1 3 4\n",
                     obj),
            kMsgNone);
  ASSERT_EQ(obj.triangles.size(), 5u);
  EXPECT_EQ(obj.triangles[2].a, 0);  // fan of the quad: (1 3 4)
  EXPECT_EQ(obj.triangles[2].b, 2);
  EXPECT_EQ(obj.triangles[2].c, 3);
  EXPECT_EQ(obj.groups, (std::vector<uint8_t>{0, 1, 1, 2, 1}));
  EXPECT_EQ(obj.groupNames, (std::vector<std::string>{"default", "a_name_longe", "b"}));

  ImportedMesh ply;
  ASSERT_EQ(parsePly(binaryPly(true), ply), kMsgNone);
  EXPECT_EQ(ply.vertices[3].z, 0.5f);
  // Vertex colours: each triangle gets the mean of its corners (blue 0, 80, 160 / 0, 160, 240).
  ASSERT_EQ(ply.colors.size(), 2u);
  EXPECT_EQ(ply.colors[0], colorWord8(255, 0, 80));
  EXPECT_EQ(ply.colors[1], colorWord8(255, 0, 133));
  const std::string faceColours =
      "ply\nformat ascii 1.0\nelement vertex 3\nproperty float x\nproperty float y\n"
      "property float z\nelement face 1\nproperty list uchar int vertex_indices\n"
      "property float red\nproperty float green\nproperty float blue\nend_header\n"
      "0 0 0\n1 0 0\n0 1 0\n3 0 1 2 1.0 0.5 0\n";
  ASSERT_EQ(parsePly(faceColours, ply), kMsgNone);
  EXPECT_EQ(ply.colors, (std::vector<uint16_t>{colorWord8(255, 128, 0)}));
}

class MeshFiles : public filetest::FileTest {};

// What our exports write, the parsers read back: the same points bit for bit, the same
// triangles, groups, names (OBJ) and colours (PLY).
TEST_F(MeshFiles, ExportsReadBackTheSameModel) {
  Model m = makeEmptyModel();
  ASSERT_TRUE(putDefaultModel(m));
  addVertex(m, 0.1f, -3.0e-7f, 12345.678f);
  addTriangle(m, 9, 0, 1, 3, colorWord(31, 1, 17));
  m.triFlags[2] = 0x80 | 5;
  m.triColor[4] = colorWord(2, 30, 9);
  setPartName(m, 3, "roof");
  for (const std::string ext : {".obj", ".ply", ".OBJ"}) {
    const std::string file = path("model" + ext);
    ASSERT_EQ(exportModel(m, file).message, kMsgFileSaved) << ext;
    const auto raw = filetest::readFile(file);
    const std::string bytes(raw.begin(), raw.end());
    ImportedMesh back;
    const bool ply = ext == ".ply";
    ASSERT_EQ(ply ? parsePly(bytes, back) : parseObj(bytes, back), kMsgNone) << ext;
    ASSERT_EQ(back.vertices.size(), static_cast<size_t>(m.vertexCount)) << ext;
    for (int32_t i = 0; i < m.vertexCount; ++i)
      EXPECT_EQ(std::memcmp(&back.vertices[i], &m.vertexPos[i], sizeof(Vec3)), 0) << ext << i;
    ASSERT_EQ(back.triangles.size(), static_cast<size_t>(m.triangleCount)) << ext;
    // OBJ writes the triangles group by group; PLY in model order.
    std::vector<int32_t> order;
    for (int g = 0; g < kPartGroups; ++g)
      for (int32_t t = 0; t < m.triangleCount; ++t)
        if (ply ? g == 0 : (m.triFlags[t] & kGroupMask) == g) order.push_back(t);
    for (size_t k = 0; k < order.size(); ++k) {
      const Tri a = back.triangles[k], b = m.triVerts[order[k]];
      EXPECT_TRUE(a.a == b.a && a.b == b.b && a.c == b.c) << ext << k;
      if (ply) {
        EXPECT_EQ(back.colors[k], m.triColor[order[k]]) << k;
      } else {
        EXPECT_EQ(back.groupNames[back.groups[k]],
                  exportGroupName(m, m.triFlags[order[k]] & kGroupMask));
      }
    }
  }
  EXPECT_EQ(exportGroupName(m, 5), "group5");
}

// The load behind " Open": OBJ and PLY found by content whatever the name says, by the name
// when the content does not tell; refusals change nothing.
TEST_F(MeshFiles, ModelLoadPicksTheReaderAndRefusesWithoutChanges) {
  const std::string obj = "# exported\n\nv 0 0 0\nv 1 0 0\nv 0 1 0\no part\nf 1 2 3\n";
  const std::string ply =
      "ply\r\nformat ascii 1.0\r\nelement vertex 3\r\nproperty float x\r\n"
      "property float y\r\nproperty float z\r\nelement face 1\r\n"
      "property uchar red\r\nproperty list uchar int vertex_indices\r\n"
      "end_header\r\n0 0 0\r\n1 0 0\r\n0 1 0\r\n200 3 0 1 2\r\n";
  struct Load {
    std::string name, text;
    uint8_t message;
    int32_t triangles;
  };
  const Load loads[] = {
      {"a.stl", obj, kMsgNone, 1},
      {"b", ply, kMsgNone, 1},
      {"c.obj", "\n\n# only comments\n", kMsgNoFacets, 6},
      {"d.OBJ", "v 0 0 0\nf 1 1 9\n", kMsgDamagedFile, 6},
      {"e.ply", "not a ply", kMsgDamagedFile, 6},
      {"f.txt", "text that is nothing", kMsgDamagedFile, 6},
  };
  for (const Load& l : loads) {
    Model m = makeEmptyModel(100, 100, 20);
    ASSERT_TRUE(putDefaultModel(m));
    filetest::writeFile(path(l.name), std::vector<uint8_t>(l.text.begin(), l.text.end()));
    const ModelLoad r = loadModel(m, path(l.name), {});
    EXPECT_EQ(r.result.message, l.message) << l.name;
    EXPECT_EQ(m.triangleCount, l.triangles) << l.name;
    EXPECT_EQ(m.lineCount, l.message == kMsgNone ? 0 : 4) << l.name;
    EXPECT_EQ(r.meshFile, l.message == kMsgNone) << l.name;
  }
  // Over the capacity: the message, and the model as it was.
  Model small = makeEmptyModel(2, 100, 20);
  filetest::writeFile(path("big.obj"), std::vector<uint8_t>(obj.begin(), obj.end()));
  EXPECT_EQ(loadModel(small, path("big.obj"), {}).result.message, kMsgTooManyVerteces);
  EXPECT_EQ(small.vertexCount, 0);
  // A PLY with face colours switches the model colours on; its group name is kept.
  Model m = makeEmptyModel();
  filetest::writeFile(path("c.ply"), std::vector<uint8_t>(ply.begin(), ply.end()));
  EXPECT_TRUE(loadModel(m, path("c.ply"), {}).modelColors);
  EXPECT_EQ(m.triColor[0], colorWord8(200, 0, 0));
  filetest::writeFile(path("n.obj"), std::vector<uint8_t>(obj.begin(), obj.end()));
  ASSERT_EQ(loadModel(m, path("n.obj"), {}).result.message, kMsgNone);
  EXPECT_EQ(partName(m, 0), "part        ");
}

}  // namespace
