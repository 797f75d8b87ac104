// Writes the seed corpora: files the editor saved itself (RQ, part, binary STL, text STL)
// and the edge cases of the file readers. Usage: kovrin_fuzz_seeds <folder>; makes
// <folder>/model, stl, part, settings and prompt.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "core/settings.h"
#include "io/mesh_export.h"
#include "io/model_file.h"
#include "io/part_file.h"
#include "io/stl_file.h"
#include "model/model.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void writeAll(const fs::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}
void writeText(const fs::path& p, const std::string& s) {
  writeAll(p, Bytes(s.begin(), s.end()));
}
void putI32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i)
    b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}
void putF32(Bytes& b, float f) {
  uint32_t u;
  static_assert(sizeof u == sizeof f);
  std::memcpy(&u, &f, 4);
  putI32(b, static_cast<int32_t>(u));
}
void setI32(Bytes& b, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

// A small model: the default pyramid, a few selected triangles, colours and a part name.
Model sampleModel() {
  Model m;
  allocateModel(m, 64, 64, 16);
  putDefaultModel(m);
  for (int32_t i = 0; i < m.triangleCount; i += 2) m.triFlags[i] = kSelectedBit | (i % 7);
  for (int32_t i = 0; i < m.triangleCount; ++i) m.triColor[i] = colorWord(i, 31 - i, 3 * i);
  setPartName(m, 1, "pyramid");
  recomputeNormals(m);
  return m;
}

std::string asciiStl(int facets) {
  std::string s = "solid seed\n";
  for (int f = 0; f < facets; ++f) {
    s += "  facet normal 0 0 1\n    outer loop\n";
    s += "      vertex " + std::to_string(f) + " 0 0\n";
    s += "      vertex " + std::to_string(f) + ".5 1e1 -2.25\n";
    s += "      vertex 0 " + std::to_string(f) + " 1.0E-3\n";
    s += "    endloop\n  endfacet\n";
  }
  return s + "endsolid seed\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: kovrin_fuzz_seeds <folder>\n", stderr);
    return 2;
  }
  const fs::path root = argv[1];
  for (const char* t : {"model", "stl", "part", "settings", "prompt", "obj", "ply"})
    fs::create_directories(root / t);
  const fs::path tmp = root / "tmp";
  fs::create_directories(tmp);

  Model m = sampleModel();
  if (saveModel(m, (tmp / "a.rq").string()).message != kMsgFileSaved ||
      savePart(m, (tmp / "a.part").string()).message != kMsgFileSaved ||
      exportStl(m, (tmp / "a.stl").string()).message != kMsgFileSaved ||
      exportObj(m, (tmp / "a.obj").string()).message != kMsgFileSaved ||
      exportPly(m, (tmp / "a.ply").string()).message != kMsgFileSaved) {
    std::fputs("kovrin_fuzz_seeds: the editor's saves failed\n", stderr);
    return 1;
  }
  const Bytes rq = readAll(tmp / "a.rq"), part = readAll(tmp / "a.part"),
              stl = readAll(tmp / "a.stl"), obj = readAll(tmp / "a.obj"),
              ply = readAll(tmp / "a.ply");
  fs::remove_all(tmp);

  // OBJ and PLY as exported, cut short, and in the other PLY encodings.
  writeAll(root / "obj/saved.obj", obj);
  writeAll(root / "obj/short.obj",
           Bytes(obj.begin(), obj.begin() + static_cast<long>(obj.size() / 2)));
  writeAll(root / "ply/saved.ply", ply);
  writeAll(root / "ply/short.ply", Bytes(ply.begin(), ply.end() - 5));
  writeAll(root / "model/saved.ply", ply);
  writeAll(root / "model/saved.obj", obj);

  // Saved files, whole and cut short.
  writeAll(root / "model/saved.rq", rq);
  writeAll(root / "model/saved.stl", stl);
  writeAll(root / "part/saved.part", part);
  writeAll(root / "part/saved_model.rq", rq);
  writeAll(root / "stl/saved.stl", stl);
  writeText(root / "stl/text.stl", asciiStl(3));
  writeText(root / "model/text.stl", asciiStl(1));
  for (size_t cut : {size_t{3}, size_t{5}, size_t{20}, size_t{40}}) {
    writeAll(root / ("model/short" + std::to_string(cut) + ".rq"),
             Bytes(rq.begin(), rq.begin() + cut));
    writeAll(root / ("part/short" + std::to_string(cut) + ".part"),
             Bytes(part.begin(), part.begin() + cut));
  }
  writeAll(root / "stl/short83.stl", Bytes(stl.begin(), stl.begin() + 83));
  writeAll(root / "stl/short_facet.stl", Bytes(stl.begin(), stl.end() - 1));

  // Huge and negative counts, in each count slot.
  for (int slot = 0; slot < 3; ++slot)
    for (int32_t v : {INT32_MIN, -1, INT32_MAX, 65}) {
      Bytes b = rq;
      setI32(b, 5 + 4 * slot, v);
      const std::string n = std::to_string(slot) + "_" + std::to_string(static_cast<uint32_t>(v));
      writeAll(root / ("model/count" + n + ".rq"), b);
      Bytes p = part;
      if (slot < 2) setI32(p, 5 + 4 * slot, v);
      writeAll(root / ("part/count" + n + ".part"), p);
    }
  Bytes hugeStl = stl;
  setI32(hugeStl, 80, INT32_MIN);
  writeAll(root / "stl/count80000000.stl", hugeStl);
  setI32(hugeStl, 80, 1000);
  writeAll(root / "stl/count1000.stl", hugeStl);

  // A coordinate that is not finite, and an index equal to the vertex count.
  for (float bad :
       {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    const std::string n = std::isnan(bad) ? "nan" : "inf";
    Bytes b = rq, p = part, s = stl;
    Bytes f;
    putF32(f, bad);
    std::copy(f.begin(), f.end(), b.begin() + 21 + 4);
    std::copy(f.begin(), f.end(), p.begin() + 21 + 8);
    std::copy(f.begin(), f.end(), s.begin() + 84 + 12 + 4);
    writeAll(root / ("model/" + n + ".rq"), b);
    writeAll(root / ("part/" + n + ".part"), p);
    writeAll(root / ("stl/" + n + ".stl"), s);
  }
  writeText(root / "stl/text_nan.stl",
            "solid x\nfacet normal 0 0 1\nouter loop\nvertex nan 0 0\nvertex 1 0 0\n"
            "vertex 0 1 0\nendloop\nendfacet\nendsolid x\n");
  writeText(root / "stl/text_huge.stl",
            "solid x\nfacet normal 0 0 1\nouter loop\nvertex 1e39 0 0\nvertex 1e-50 0 0\n"
            "vertex 0 1 0\nendloop\nendfacet\nendsolid x\n");
  {
    Bytes b = rq;
    const int32_t vertices = 9;
    setI32(b, 21 + 12 * vertices, vertices);  // first corner of the first triangle
    writeAll(root / "model/index_eq_v.rq", b);
    Bytes p = part;
    int32_t pv = 0;
    for (int i = 0; i < 4; ++i) pv |= p[5 + i] << (8 * i);
    setI32(p, 21 + 12 * pv, pv);
    writeAll(root / "part/index_eq_v.part", p);
    Bytes s;
    putI32(s, 0);
    Bytes head(80, ' ');
    const std::string solid = "solid binary header";
    std::copy(solid.begin(), solid.end(), head.begin());
    head.insert(head.end(), stl.begin() + 80, stl.end());
    writeAll(root / "stl/solid_header_binary.stl", head);
    writeAll(root / "model/solid_header_binary.stl", head);
  }
  writeAll(root / "stl/empty.stl", {});
  writeText(root / "stl/solid_only.stl", "solid");
  writeAll(root / "stl/zero_facets.stl", [&] {
    Bytes z(stl.begin(), stl.begin() + 84);
    setI32(z, 80, 0);
    return z;
  }());

  // Settings: the default text and the values the start-up must survive.
  writeText(root / "settings/default.ini", std::string(kDefaultSettingsText));
  writeText(root / "settings/bad.ini",
            "mode = 99\r\ncdep = 24\r\nrdet = 7\r\nmaxv = 0\r\nmaxt = -5\r\nmaxl = 2000000000\r\n");
  writeText(root / "settings/signs.ini", "maxv=-2147483648\nmaxt = +12\nmaxl = 99999999999\n");
  writeText(root / "settings/unterminated.ini", "maxv =");

  // Prompt lines.
  writeText(root / "prompt/plain.txt", "  model.rq");
  writeText(root / "prompt/quoted.txt", "\t\"a, b.rq\", rest");
  writeText(root / "prompt/comma.txt", "first,second");
  writeText(root / "prompt/open_quote.txt", "\"never closed");
  writeText(root / "prompt/long.txt", std::string(5000, 'x'));
  return 0;
}
