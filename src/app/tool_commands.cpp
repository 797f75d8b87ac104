#include "app/tool_commands.h"

#include <charconv>
#include <cinttypes>
#include <optional>

#include "core/editor.h"
#include "io/mesh_export.h"
#include "io/model_file.h"
#include "io/png_file.h"
#include "io/screenshot.h"
#include "io/sized_load.h"
#include "io/stl_file.h"
#include "model/mesh_stats.h"
#include "render/camera_ops.h"
#include "render/fit_view.h"
#include "render/render_passes.h"
#include "render/render_scene.h"
#include "ui/interface.h"

namespace {

struct Picture {
  int width = 800, height = 600;
  int rdet = 1;
  float angleA = 0.0f, angleB = 4.0f;  // the start-up camera angles
  bool transparent = false;            // thumbnails: background see-through, edges smoothed
};

class Failure {
 public:
  explicit Failure(std::FILE* err) : err_(err) {}
  int operator()(const std::string& what, const std::string& why) const {
    std::fprintf(err_, "kovrin: %s%s%s\n", what.c_str(), what.empty() ? "" : ": ", why.c_str());
    return 1;
  }

 private:
  std::FILE* err_;
};

bool parseInt(std::string_view s, int lo, int hi, int& out) {
  const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && out >= lo && out <= hi;
}

bool parseSize(std::string_view s, int& w, int& h) {
  const size_t x = s.find('x');
  return x != std::string_view::npos && parseInt(s.substr(0, x), 8, 16384, w) &&
         parseInt(s.substr(x + 1), 8, 16384, h);
}

bool parseView(std::string_view s, Picture& p) {
  constexpr float kHalfPi = kPi / 2.0f;
  struct View {
    std::string_view name;
    float a, b;
  };
  // As the menu presets set them; iso is a three-quarter view from the front left, 30 degrees
  // down, turned so that no two of a box's visible faces get the same shade.
  const View kViews[] = {{"front", 0, 3 * kHalfPi},
                         {"back", 2 * kHalfPi, 3 * kHalfPi},
                         {"top", 0, 2 * kHalfPi},
                         {"bottom", 0, 0},
                         {"left", kHalfPi, 3 * kHalfPi},
                         {"right", 3 * kHalfPi, 3 * kHalfPi},
                         {"iso", 11 * kPi / 6, 3 * kHalfPi - kPi / 6}};
  for (const View& v : kViews) {
    if (v.name == s) {
      p.angleA = v.a;
      p.angleB = v.b;
      return true;
    }
  }
  return false;
}

std::string loadFailure(const SizedLoad& s) {
  if (s.outOfMemory) return "too big for this machine's memory";
  return statusMessageText(s.load.result.message);
}

bool loaded(const SizedLoad& s) {
  const uint8_t msg = s.load.result.message;
  return !s.outOfMemory && s.load.result.request == Request::Normals &&
         (msg == kMsgNone || msg == kMsgFileLoaded);
}

// The frame as the editor renders it (triangles and lines, no grid), framed by fit view.
// With `transparent` the picture is rendered at twice the size and each pixel becomes the
// mean of the covered samples of its 2 x 2 block, with the covered share as its alpha.
void renderPicture(Model& m, bool colors, const Picture& p, std::vector<uint32_t>& pixels,
                   std::vector<uint8_t>& alpha) {
  const int rdet = p.transparent ? 2 : p.rdet;
  RenderBuffers rb;
  if (!allocateRenderBuffers(rb, p.width, p.height, rdet, m.maxv)) throw std::bad_alloc();
  Camera cam;
  cam.cameraXY = p.angleA;
  cam.cameraYZ = p.angleB;
  const float farthest = fitView(cam, m, rb.renderWidth, rb.renderHeight);
  const float far = std::max(kDefaultDrawDepth, 2.0f * farthest);
  recomputeNormals(m);
  ViewOptions view;
  view.triangles = view.lines = true;
  view.modelColors = colors;
  renderScene(rb, m, cam, view, far);
  const size_t n = static_cast<size_t>(p.width) * static_cast<size_t>(p.height);
  pixels.assign(n, 0);
  if (!p.transparent) {
    presentFrame(rb, rdet, 32, reinterpret_cast<uint8_t*>(pixels.data()), p.width * 4, p.width,
                 p.height);
    return;
  }
  alpha.assign(n, 0);
  const size_t fw = static_cast<size_t>(rb.renderWidth);
  for (size_t y = 0; y < static_cast<size_t>(p.height); ++y) {
    for (size_t x = 0; x < static_cast<size_t>(p.width); ++x) {
      uint32_t sum[3] = {0, 0, 0}, covered = 0;
      for (size_t k = 0; k < 4; ++k) {
        const size_t i = (2 * y + k / 2) * fw + 2 * x + k % 2;
        if (!(rb.depthBuffer[i] < far)) continue;
        ++covered;
        for (int c = 0; c < 3; ++c) sum[c] += (rb.frameBuffer[i] >> (16 - 8 * c)) & 0xFF;
      }
      if (covered == 0) continue;
      const size_t o = y * static_cast<size_t>(p.width) + x;
      pixels[o] = ((sum[0] / covered) << 16) | ((sum[1] / covered) << 8) | (sum[2] / covered);
      alpha[o] = static_cast<uint8_t>((covered * 255 + 2) / 4);
    }
  }
}

int renderCommand(const std::string& in, const std::string& outName, Picture p, bool png,
                  const Failure& fail) {
  Model m;
  const SizedLoad s = loadModelSized(m, in);
  if (!loaded(s)) return fail(in, loadFailure(s));
  std::vector<uint32_t> pixels;
  std::vector<uint8_t> alpha;
  try {
    renderPicture(m, s.load.modelColors, p, pixels, alpha);
  } catch (const std::bad_alloc&) {
    return fail(in, "too big for this machine's memory");
  }
  const bool written = png ? writePng(outName, pixels.data(), p.width, p.height,
                                      p.transparent ? alpha.data() : nullptr)
                           : writeBmpImage(outName, pixels.data(), p.width, p.height);
  return written ? 0 : fail(outName, statusMessageText(kMsgWriteFailed));
}

int render(const std::vector<std::string>& args, const Failure& fail) {
  std::string in, outName;
  Picture p;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-o" && hasValue) {
      outName = args[++i];
    } else if (a == "--size" && hasValue) {
      if (!parseSize(args[++i], p.width, p.height)) return fail("--size", "expected WxH, 8..16384");
    } else if (a == "--view" && hasValue) {
      if (!parseView(args[++i], p))
        return fail("--view", "expected front, back, left, right, top, bottom or iso");
    } else if (a == "--rdet" && hasValue) {
      if (!parseInt(args[++i], 0, 2, p.rdet)) return fail("--rdet", "expected 0, 1 or 2");
    } else if (in.empty() && !a.empty() && a[0] != '-') {
      in = a;
    } else {
      return fail("--render", "unexpected argument \"" + a + "\"");
    }
  }
  if (in.empty() || outName.empty())
    return fail("", "usage: kovrin --render IN -o OUT [--size WxH] [--view V] [--rdet 0|1|2]");
  const std::string ext = lowerExtension(outName);
  if (ext != ".png" && ext != ".bmp") return fail(outName, "the picture must end in .png or .bmp");
  return renderCommand(in, outName, p, ext == ".png", fail);
}

int thumbnail(const std::vector<std::string>& args, const Failure& fail) {
  Picture p;
  if (args.size() != 4 || !parseInt(args[3], 1, 4096, p.width))
    return fail("", "usage: kovrin --thumbnail IN OUT SIZE (SIZE 1..4096)");
  p.height = p.width;
  p.transparent = true;
  return renderCommand(args[1], args[2], p, true, fail);
}

int convert(const std::vector<std::string>& args, const Failure& fail) {
  if (args.size() != 3)
    return fail("", "usage: kovrin --convert IN OUT (OUT .rq, .stl, .obj, .ply)");
  const std::string& in = args[1];
  const std::string& outName = args[2];
  const std::string ext = lowerExtension(outName);
  if (ext != ".rq" && ext != ".stl" && ext != ".obj" && ext != ".ply")
    return fail(outName, "the output must end in .rq, .stl, .obj or .ply");
  Model m;
  const SizedLoad s = loadModelSized(m, in);
  if (!loaded(s)) return fail(in, loadFailure(s));
  recomputeNormals(m);  // the STL facets carry them
  const EditResult r = ext == ".rq" ? saveModel(m, outName) : exportModel(m, outName);
  return r.message == kMsgFileSaved ? 0 : fail(outName, statusMessageText(r.message));
}

const char* formatName(FileFormat f) {
  switch (f) {
    case FileFormat::Rq:
      return "rq";
    case FileFormat::Obj:
      return "obj";
    case FileFormat::Ply:
      return "ply";
    default:
      return "stl";
  }
}

int info(const std::vector<std::string>& args, std::FILE* out, const Failure& fail) {
  if (args.size() != 2) return fail("", "usage: kovrin --info IN");
  Model m;
  const SizedLoad s = loadModelSized(m, args[1]);
  if (!loaded(s)) return fail(args[1], loadFailure(s));
  const BoundingBox box = modelBounds(m);
  const MeshStats st = meshStats(m);
  std::fprintf(out, "format: %s\nvertices: %d\ntriangles: %d\nlines: %d\n", formatName(s.format),
               m.vertexCount, m.triangleCount, m.lineCount);
  std::fprintf(out, "bounding box min: %.9g %.9g %.9g\nbounding box max: %.9g %.9g %.9g\n",
               box.min.x, box.min.y, box.min.z, box.max.x, box.max.y, box.max.z);
  std::fprintf(out, "surface area: %.10g\nvolume: %.10g\n", st.surfaceArea, st.volume);
  std::fprintf(out, "open edges: %" PRId64 "\nedges of more than two triangles: %" PRId64 "\n",
               st.openEdges, st.overSharedEdges);
  int groups = 0;
  for (int32_t n : st.groupTriangles) groups += n > 0;
  std::fprintf(out, "part groups: %d\n", groups);
  for (int g = 0; g < kPartGroups; ++g)
    if (st.groupTriangles[g] > 0)
      std::fprintf(out, "part group %d: %d triangles, %s\n", g, st.groupTriangles[g],
                   exportGroupName(m, g).c_str());
  return std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace

bool isToolCommand(const std::vector<std::string>& args) {
  if (args.empty()) return false;
  const std::string& a = args[0];
  return a == "--render" || a == "--thumbnail" || a == "--convert" || a == "--info";
}

int runToolCommand(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  const Failure fail(err);
  if (!isToolCommand(args)) return fail("", "unknown command");
  if (args[0] == "--render") return render(args, fail);
  if (args[0] == "--thumbnail") return thumbnail(args, fail);
  if (args[0] == "--convert") return convert(args, fail);
  return info(args, out, fail);
}
