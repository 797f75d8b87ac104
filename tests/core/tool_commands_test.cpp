// The window-less tools, run in this process as the command line runs them (no window system
// is ever started): pictures, conversions, the info lines and the refusals.
#include "app/tool_commands.h"

#include <gtest/gtest.h>

#include "io/file_test_support.h"
#include "io/model_file.h"
#include "io/screenshot.h"
#include "support/small_models.h"

namespace {

class ToolCommands : public filetest::FileTest {
 protected:
  // Runs the tool; its standard output and error text in out_ and err_.
  int run(std::vector<std::string> args) {
    std::FILE* o = std::tmpfile();
    std::FILE* e = std::tmpfile();
    const int code = runToolCommand(args, o, e);
    out_ = readAll(o);
    err_ = readAll(e);
    return code;
  }
  static std::string readAll(std::FILE* f) {
    std::string s;
    std::rewind(f);
    for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f)) s += static_cast<char>(c);
    std::fclose(f);
    return s;
  }
  // A coloured cube far from the origin, saved as RQ.
  std::string cubeFile() {
    Model m = makeEmptyModel();
    addCube(m, 5000, -300, 40, 3, 2);
    setPartName(m, 2, "box");
    for (int32_t t = 0; t < m.triangleCount; ++t) m.triColor[t] = colorWord(31, 0, 0);
    EXPECT_EQ(saveModel(m, path("cube.rq")).message, kMsgFileSaved);
    return path("cube.rq");
  }
  std::string out_, err_;
};

uint32_t bmpPixel(const std::vector<uint8_t>& f, int w, int h, int x, int y) {
  const size_t row = (3 * static_cast<size_t>(w) + 3) & ~size_t{3};
  const size_t at = 54 + static_cast<size_t>(h - 1 - y) * row + 3 * static_cast<size_t>(x);
  return (uint32_t{f[at + 2]} << 16) | (uint32_t{f[at + 1]} << 8) | f[at];
}

TEST_F(ToolCommands, RenderFramesTheModelInItsColours) {
  const std::string in = cubeFile();
  for (const char* rdet : {"0", "1", "2"}) {
    ASSERT_EQ(run({"--render", in, "-o", path("c.bmp"), "--size", "101x75", "--rdet", rdet,
                   "--view", "front"}),
              0)
        << err_;
    const auto f = filetest::readFile(path("c.bmp"));
    ASSERT_EQ(f.size(), 54u + 304u * 75u) << rdet;  // rows padded to 4 bytes
    EXPECT_EQ(filetest::i32At(f, 18), 101);
    const uint32_t centre = bmpPixel(f, 101, 75, 50, 37);
    const uint32_t red = centre >> 16, green = (centre >> 8) & 0xFF, blue = centre & 0xFF;
    EXPECT_GT(red, green + 0x40) << rdet;  // the model's red, shaded
    EXPECT_EQ(green, blue) << rdet;
    EXPECT_EQ(bmpPixel(f, 101, 75, 0, 0), 0u) << rdet;  // black around it
    EXPECT_EQ(bmpPixel(f, 101, 75, 100, 74), 0u) << rdet;
  }
  ASSERT_EQ(run({"--render", in, "-o", path("c.png")}), 0) << err_;
  // PNG: the signature, then the header's width, height and colour type (2 RGB, 6 RGBA).
  const auto pngHeader = [](const std::vector<uint8_t>& f) {
    if (f.size() < 33 || std::string(f.begin() + 1, f.begin() + 4) != "PNG") return std::string();
    return std::to_string((f[18] << 8) | f[19]) + "x" + std::to_string((f[22] << 8) | f[23]) +
           " type " + std::to_string(f[25]);
  };
  EXPECT_EQ(pngHeader(filetest::readFile(path("c.png"))), "800x600 type 2");
  // The thumbnailer's form: a square RGBA picture whatever the output's name.
  ASSERT_EQ(run({"--thumbnail", in, path("t"), "64"}), 0) << err_;
  EXPECT_EQ(pngHeader(filetest::readFile(path("t"))), "64x64 type 6");
}

TEST_F(ToolCommands, ConvertAndInfoAgreeAcrossFormats) {
  const std::string in = cubeFile();
  ASSERT_EQ(run({"--info", in}), 0) << err_;
  const std::string rqInfo = out_;
  EXPECT_NE(rqInfo.find("format: rq\nvertices: 8\ntriangles: 12\nlines: 0\n"), std::string::npos)
      << rqInfo;
  EXPECT_NE(rqInfo.find("bounding box min: 4998.5 -301.5 40\n"), std::string::npos) << rqInfo;
  EXPECT_NE(rqInfo.find("surface area: 54\nvolume: 27\nopen edges: 0\n"
                        "edges of more than two triangles: 0\npart groups: 1\n"
                        "part group 2: 12 triangles, box\n"),
            std::string::npos)
      << rqInfo;
  for (const char* ext : {".stl", ".obj", ".ply", ".rq"}) {
    const std::string out = path(std::string("copy") + ext);
    ASSERT_EQ(run({"--convert", in, out}), 0) << ext << err_;
    ASSERT_EQ(run({"--info", out}), 0) << ext << err_;
    // The same counts, box and measures; STL and PLY keep no groups.
    const auto cut = [](const std::string& s) {
      return s.substr(s.find("vertices"), s.find("open edges") - s.find("vertices"));
    };
    EXPECT_EQ(cut(out_), cut(rqInfo)) << ext;
  }
  // A model with a hole and a fin: open edges and edges of three triangles.
  Model m = makeEmptyModel();
  addCube(m, 0, 0, 0, 2, 0);
  m.triangleCount -= 1;
  addVertex(m, 5, 5, 5);
  addTriangle(m, 0, 1, 8);
  ASSERT_EQ(saveModel(m, path("holed.rq")).message, kMsgFileSaved);
  ASSERT_EQ(run({"--info", path("holed.rq")}), 0);
  EXPECT_NE(out_.find("open edges: 5\nedges of more than two triangles: 1\n"), std::string::npos)
      << out_;
}

TEST_F(ToolCommands, FailuresSayWhyAndLeaveNoFile) {
  const std::string in = cubeFile();
  filetest::writeFile(path("bad.obj"), {'v', ' ', '1', '\n', 'f', ' ', '1', '\n'});
  struct Failure {
    std::vector<std::string> args;
    const char* says;
  };
  const Failure failures[] = {
      {{"--render", path("missing.stl"), "-o", path("o.png")}, "Error: file not found"},
      {{"--render", path("bad.obj"), "-o", path("o.png")}, "Error: damaged file"},
      {{"--render", in, "-o", path("o.jpg")}, "must end in .png or .bmp"},
      {{"--render", in, "-o", path("no/such/dir/o.png")}, "Error: write failed"},
      {{"--render", in, "-o", path("o.png"), "--size", "7x7"}, "expected WxH"},
      {{"--render", in, "-o", path("o.png"), "--view", "side"}, "expected front"},
      {{"--render", in}, "usage"},
      {{"--thumbnail", in, path("o.png"), "0"}, "usage"},
      {{"--convert", path("bad.obj"), path("o.stl")}, "Error: damaged file"},
      {{"--convert", in, path("o.3ds")}, "must end in .rq, .stl, .obj or .ply"},
      {{"--info", path("missing.rq")}, "Error: file not found"},
  };
  for (const Failure& f : failures) {
    EXPECT_EQ(run(f.args), 1) << f.says;
    EXPECT_NE(err_.find(f.says), std::string::npos) << err_;
    EXPECT_EQ(std::count(err_.begin(), err_.end(), '\n'), 1) << err_;
    EXPECT_TRUE(strayFiles({"cube.rq", "bad.obj"}).empty()) << f.says;
  }
}

}  // namespace
