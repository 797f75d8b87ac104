#include "core/platform/screen_modes.h"

namespace {
constexpr ScreenMode kModes[] = {
    {13, 320, 200, 40, 25},  {14, 320, 240, 40, 30},   {15, 400, 300, 50, 37},
    {16, 512, 384, 64, 24},  {17, 640, 400, 80, 25},   {18, 640, 480, 80, 30},
    {19, 800, 600, 100, 37}, {20, 1024, 768, 128, 48}, {21, 1280, 1024, 160, 64},
};
}  // namespace

const ScreenMode* findScreenMode(int mode) {
  for (const auto& m : kModes)
    if (m.mode == mode) return &m;
  return nullptr;
}
