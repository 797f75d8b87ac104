// The triangle pass: flat-shaded scan-line fill with a 1/z depth test, culling, wireframe,
// and the marking mode the selection rectangle uses as its hit test.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "model/simd.h"
#include "render/camera_ops.h"
#include "render/overlays.h"
#include "render/render_passes.h"
#include "render/render_threads.h"
#include "render/triangle_fill.h"
#include "render/triangle_setup.h"
#include "render/triangle_shading.h"

namespace {

struct Corner {
  float x, y, z;  // frame position with the view centre added, camera depth
};

// The wireframe pass: three depth-tested lines per triangle in triangle order.
template <bool marking, bool cull>
void wireframePass(RenderBuffers& rb, Model& m, const Camera& c, const ViewOptions& view) {
  const bool modelColors = view.modelColors;
  const float cx = static_cast<float>(c.viewCenterX), cy = static_cast<float>(c.viewCenterY);
  const Vec3* proj = m.vertexProj.data();
  const NormalTurn turn{c.sinXY, c.cosXY, c.sinYZ, c.cosYZ};
  const Vec3* normals = m.triNormal.data();
  const Tri* tris = m.triVerts.data();
  const uint16_t* colors = m.triColor.data();
  const uint8_t* triFlags = m.triFlags.data();
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    float nz = 0.0f;
    if (!marking) {
      nz = rotatedDepth(turn, normals[t]);
      if (cull && nz > 0.0f) continue;  // facing away
    }
    const Tri tri = tris[t];
    const Vec3 va = proj[tri.a], vb = proj[tri.b], vc = proj[tri.c];
    // Any corner nearer than the near plane drops the whole triangle (no clipping).
    if (!(va.z >= kNearPlane && vb.z >= kNearPlane && vc.z >= kNearPlane)) continue;
    rb.drawColor =
        marking ? static_cast<uint32_t>(t)
                : shadeTriangle(nz, colors[t], (triFlags[t] & kSelectedBit) != 0, modelColors);
    const Corner p1{cx + va.x, cy + va.y, va.z};
    const Corner p2{cx + vb.x, cy + vb.y, vb.z};
    const Corner p3{cx + vc.x, cy + vc.y, vc.z};
    drawLine3D(rb, p2.x, p2.y, p2.z, p3.x, p3.y, p3.z);
    drawLine3D(rb, p3.x, p3.y, p3.z, p1.x, p1.y, p1.z);
    drawLine3D(rb, p2.x, p2.y, p2.z, p1.x, p1.y, p1.z);
  }
}

// The filled triangles `first` .. `last` - 1, in order, into `target`. Built once for each
// combination of the switches that change its inner loop, so that none of them is tested
// again for every triangle.
template <bool marking, bool cull>
[[gnu::noinline]] void fillPass(FillTarget target, Model& m, const ScreenVertex* sv,
                                const NormalTurn& turn, FillMode mode, int32_t first,
                                int32_t last) {
  // A triangle lies between its extreme corners: the edges never leave the corners' columns
  // and the rows run from the top corner to the lowest. One wholly outside the clip
  // rectangle draws and marks nothing.
  const int64_t minX = target.clipMinX, maxX = target.clipMaxX;
  const int64_t minY = target.clipMinY, maxY = target.clipMaxY;
  const Vec3* normals = m.triNormal.data();
  const Tri* tris = m.triVerts.data();
  uint32_t* const frameStart = target.frame;
  float* const depthStart = target.depth;
  const size_t frameWidth = target.width;
  uint8_t* triFlags = m.triFlags.data();
  for (int32_t t = first; t < last; ++t) {
    // The normals and corners are read in order; asking for them some 170 triangles ahead
    // keeps the pass from waiting on them (measured faster than leaving it to the hardware).
    prefetchLine(reinterpret_cast<const char*>(normals + t) + 2048);
    prefetchLine(reinterpret_cast<const char*>(tris + t) + 2048);
    if (!marking && cull && rotatedDepth(turn, normals[t]) > 0.0f) continue;  // facing away
    const Tri tri = tris[t];
    const ScreenVertex* va = sv + tri.a;
    const ScreenVertex* vb = sv + tri.b;
    const ScreenVertex* vc = sv + tri.c;
    // The common case first: every corner usable and inside the clip rectangle.
    const bool inside = insideClip(va, vb, vc);
    // Filled triangles write their tagged index; the colours follow once the pass is done.
    const uint32_t tag =
        marking ? static_cast<uint32_t>(t) : kShadeLater | static_cast<uint32_t>(t);
    if (inside && !(marking && mode.markBySpanEnds)) {
      const SortedCorners k = topCornerLast(va, vb, vc);
      // P3 holds the top row, so neither other corner lies above it: the triangle spans at
      // most two rows when neither lies more than one row below.
      if (((k.p1.y - k.p3.y) | (k.p2.y - k.p3.y)) <= 1) {
        fillSmallTriangle(frameStart, depthStart, frameWidth, tag, k.p1, k.p2, k.p3);
        continue;
      }
      target.drawColor = tag;
      fillTriangle<true>(target, k.p1, k.p2, k.p3, mode);
      continue;
    }
    if (!inside) {
      if (va->x == kUnusable || vb->x == kUnusable || vc->x == kUnusable) continue;
      const int64_t left = std::min({va->x, vb->x, vc->x}), right = std::max({va->x, vb->x, vc->x});
      const int64_t top = std::min({va->y, vb->y, vc->y}), bottom = std::max({va->y, vb->y, vc->y});
      if (right < minX || left > maxX || bottom < minY || top > maxY) continue;
    }
    target.drawColor = tag;
    mode.flags = triFlags + t;
    SortedCorners k = topCornerLast(va, vb, vc);
    // The fill takes 1/z itself, without the table's outside mark.
    for (PixelCorner* p : {&k.p1, &k.p2, &k.p3}) p->iz = std::fabs(p->iz);
    fillTriangle<false>(target, k.p1, k.p2, k.p3, mode);
  }
}

// Triangles per part below which splitting the pass between threads does not pay.
constexpr int32_t kMinTrianglesPerPart = 4096;

// Folds the pixels the later parts drew into the frame, rows `firstRow` .. `lastRow`, in part
// order: a part's pixel replaces the frame's only where it lies strictly nearer. Drawing the
// triangles one after another keeps, at each pixel, the nearest depth and of equal depths the
// first drawn; the fold keeps the same, since every part's triangles come after the previous
// part's.
void foldParts(RenderBuffers& rb, int parts, int32_t firstRow, int32_t lastRow) {
  const size_t width = static_cast<size_t>(rb.renderWidth);
  const size_t frameSize = width * static_cast<size_t>(rb.renderHeight);
  for (int32_t y = firstRow; y <= lastRow; ++y) {
    const size_t from = static_cast<size_t>(y) * width + static_cast<size_t>(rb.clipMinX);
    const size_t to = static_cast<size_t>(y) * width + static_cast<size_t>(rb.clipMaxX);
    uint32_t* frame = rb.frameBuffer.data();
    float* depth = rb.depthBuffer.data();
    for (int part = 1; part < parts; ++part) {
      const size_t at = static_cast<size_t>(part - 1) * frameSize;
      const uint32_t* partFrame = rb.partFrames.data() + at;
      const float* partDepth = rb.partDepths.data() + at;
      for (size_t i = from; i <= to; ++i) {
        if (partDepth[i] < depth[i]) {
          depth[i] = partDepth[i];
          frame[i] = partFrame[i];
        }
      }
    }
  }
}

// The filled pass over the whole clip rectangle. `tableRows`: the vertex table is already
// filled for this projection and these are the rows of its usable vertices; otherwise (null)
// the pass fills it. In display mode the triangles are split between the render threads in
// consecutive runs: the first run draws into the frame, each later one into a frame and depth
// buffer of its own that foldParts then folds in, so every pixel ends as with one thread.
template <bool marking, bool cull>
void filledPass(RenderBuffers& rb, Model& m, const Camera& c, const ViewOptions& view,
                const std::pair<int32_t, int32_t>* tableRows) {
  const bool modelColors = view.modelColors;
  FillMode mode;
  mode.markBySpanEnds = marking && !view.onlySelectVisible;
  mode.unselect = view.unselect;
  const std::pair<int32_t, int32_t> rows =
      tableRows != nullptr ? *tableRows : prepareScreenVertices(rb, m, c);
  // An empty clip rectangle has nothing inside: no filled triangle can draw or mark a pixel.
  if (rb.clipMaxX < rb.clipMinX || rb.clipMaxY < rb.clipMinY) return;
  const ScreenVertex* sv = rb.screenVertices.data();
  const NormalTurn turn{c.sinXY, c.cosXY, c.sinYZ, c.cosYZ};
  const FillTarget whole{rb.frameBuffer.data(),
                         rb.depthBuffer.data(),
                         static_cast<size_t>(rb.renderWidth),
                         rb.clipMinX,
                         rb.clipMinY,
                         rb.clipMaxX,
                         rb.clipMaxY,
                         0};
  // The rows the triangles can draw on: those between the usable vertices, within the clip.
  const int32_t firstRow = std::max(rows.first, rb.clipMinY);
  const int32_t lastRow = std::min(rows.second, rb.clipMaxY);
  const int32_t count = m.triangleCount;
  const int parts = marking || firstRow > lastRow
                        ? 1
                        : std::min(renderThreadCount(), count / kMinTrianglesPerPart);
  if (parts <= 1) {
    fillPass<marking, cull>(whole, m, sv, turn, mode, 0, count);
    if (!marking) shadeDrawnPixels(rb, m, turn, modelColors, rows.first, rows.second);
    return;
  }
  const size_t frameSize = rb.frameBuffer.size();
  const size_t partRows = static_cast<size_t>(parts - 1) * frameSize;
  if (rb.partDepths.size() < partRows) {
    rb.partFrames = FixedArray<uint32_t>(partRows);
    rb.partDepths = FixedArray<float>(partRows);
  }
  const size_t width = static_cast<size_t>(rb.renderWidth);
  runRenderParts(parts, [&](int part) {
    FillTarget target = whole;
    if (part > 0) {
      const size_t at = static_cast<size_t>(part - 1) * frameSize;
      target.frame = rb.partFrames.data() + at;
      target.depth = rb.partDepths.data() + at;
      // Nothing drawn yet: every depth farther than any.
      for (int32_t y = firstRow; y <= lastRow; ++y) {
        float* row = target.depth + static_cast<size_t>(y) * width;
        std::fill(row + rb.clipMinX, row + rb.clipMaxX + 1, std::numeric_limits<float>::infinity());
      }
    }
    const int32_t from = static_cast<int32_t>(static_cast<int64_t>(count) * part / parts);
    const int32_t to = static_cast<int32_t>(static_cast<int64_t>(count) * (part + 1) / parts);
    fillPass<false, cull>(target, m, sv, turn, mode, from, to);
  });
  // The fold and the shading, each thread over whole rows of its own.
  runRenderParts(parts, [&](int part) {
    const int64_t span = lastRow - firstRow + 1;
    const int32_t top = firstRow + static_cast<int32_t>(span * part / parts);
    const int32_t bottom = firstRow + static_cast<int32_t>(span * (part + 1) / parts) - 1;
    foldParts(rb, parts, top, bottom);
    shadeDrawnPixels(rb, m, turn, modelColors, top, bottom);
  });
}

}  // namespace

void drawTriangles(RenderBuffers& rb, Model& m, const Camera& c, const ViewOptions& view,
                   bool marking) {
  if (m.triangleCount == 0) return;
  const bool cull = !marking && view.backfaceCulling;
  const bool wireframe = view.wireframe;
  if (wireframe) {
    if (marking)
      wireframePass<true, false>(rb, m, c, view);
    else if (cull)
      wireframePass<false, true>(rb, m, c, view);
    else
      wireframePass<false, false>(rb, m, c, view);
  } else if (marking) {
    filledPass<true, false>(rb, m, c, view, nullptr);
  } else if (cull) {
    filledPass<false, true>(rb, m, c, view, nullptr);
  } else {
    filledPass<false, false>(rb, m, c, view, nullptr);
  }
}

void projectAndDrawTriangles(RenderBuffers& rb, Model& m, const Camera& c,
                             const ViewOptions& view) {
  if (view.wireframe) {
    projectVertices(m, c);
    drawTriangles(rb, m, c, view, false);
    return;
  }
  // The projection and the vertex table in one sweep over the vertices, each thread over a
  // run of its own; the rows the usable vertices lie on are gathered from the runs.
  const ScreenTableWriter empty(rb, m, c);  // sizes the table before the threads write it
  const int32_t n = m.vertexCount;
  const Vec3* proj = m.vertexProj.data();
  const int parts = std::clamp(n / kMinVerticesPerPart, 1, renderThreadCount());
  std::pair<int32_t, int32_t> runRows[kMaxRenderThreads];
  runRenderParts(parts, [&](int part) {
    const auto [first, last] = vertexRun(n, part, parts);
    ScreenTableWriter table = empty;
    int32_t v = projectVerticesInto(m, c, table, first, last);
    for (; v < last; ++v) table.one(static_cast<size_t>(v), proj[v]);
    runRows[part] = table.rows();
  });
  if (m.triangleCount == 0) return;
  std::pair<int32_t, int32_t> rows = runRows[0];
  for (int part = 1; part < parts; ++part) {
    rows.first = std::min(rows.first, runRows[part].first);
    rows.second = std::max(rows.second, runRows[part].second);
  }
  if (view.backfaceCulling)
    filledPass<false, true>(rb, m, c, view, &rows);
  else
    filledPass<false, false>(rb, m, c, view, &rows);
}
