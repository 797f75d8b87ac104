#include <new>

#include "render/render_passes.h"

bool allocateRenderBuffers(RenderBuffers& rb, int screenWidth, int screenHeight, int rdet,
                           int32_t maxv) {
  int w = screenWidth, h = screenHeight;
  if (rdet == 0) {
    w >>= 1;
    h >>= 1;
  } else if (rdet == 2) {
    w *= 2;
    h *= 2;
  }
  rb.renderWidth = w;
  rb.renderHeight = h;
  rb.renderMaxX = w - 1;
  rb.renderMaxY = h - 1;
  resetClip(rb);
  try {
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    rb.frameBuffer.assign(n, 0);
    rb.depthBuffer.assign(n, 0.0f);
    rb.bmpRow.assign(static_cast<size_t>(w) * 3, 0);
    rb.screenVertices = FixedArray<ScreenVertex>(static_cast<size_t>(maxv) + 1);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}
