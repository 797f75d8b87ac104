// The internal frame and its depth buffer, sized once from the screen and detail level.
#pragma once

#include <cstdint>
#include <vector>

#include "model/fixed_array.h"

// A vertex as the triangle pass reads it: rounded frame position and 1/depth, computed once
// per render instead of once for every triangle that uses the vertex.
struct ScreenVertex {
  int32_t x, y;  // rounded frame position; x = INT32_MIN marks a vertex no fill may use
  float iz;      // 1 / depth, its sign bit set when the vertex is unusable or outside the
                 // clip rectangle the table was written for
  float fy;      // frame y before rounding: the corner order compares it
};

struct RenderBuffers {
  int32_t renderWidth = 0, renderHeight = 0;
  int32_t renderMaxX = 0, renderMaxY = 0;  // the frame's last column and row
  // Active clip rectangle (inclusive). The whole frame except while a selection box is marked.
  int32_t clipMinX = 0, clipMinY = 0, clipMaxX = 0, clipMaxY = 0;
  std::vector<uint32_t> frameBuffer;        // 0x00RRGGBB, or triangle indices while marking
  std::vector<float> depthBuffer;           // camera depth of the nearest surface
  std::vector<uint8_t> bmpRow;              // one frame row as blue, green, red bytes
  uint32_t drawColor = 0;                   // working colour of the triangle and line passes
  FixedArray<ScreenVertex> screenVertices;  // one per vertex row, sized with the model
  // Frames and depth buffers of the triangle pass's later parts when it runs on several
  // threads, one frame size each; made on first use.
  FixedArray<uint32_t> partFrames;
  FixedArray<float> partDepths;
};

// The clip rectangle back to the whole frame.
inline void resetClip(RenderBuffers& rb) {
  rb.clipMinX = 0;
  rb.clipMinY = 0;
  rb.clipMaxX = rb.renderMaxX;
  rb.clipMaxY = rb.renderMaxY;
}
