#include "core/platform/window_scale.h"

int windowScaleFor(int requested, int modeWidth, int modeHeight, int desktopWidth,
                   int desktopHeight) {
  if (requested >= 1) return requested;
  if (desktopWidth >= 2 * modeWidth && desktopHeight >= 2 * modeHeight) return 2;
  return 1;
}
