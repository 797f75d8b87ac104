// Helper of bench/drag_latency.sh: moves the pointer inside a window in STEPS warps of DX
// pixels, PAUSE_MS apart, and prints for each warp "<ns before> <ns after>" on the steady
// clock (CLOCK_MONOTONIC), the second taken once the X server has processed the warp.
//   kovrin_drag_probe WINDOW X Y STEPS DX PAUSE_MS
#include <X11/Xlib.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

int64_t nowNs() {
  const auto t = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(stderr, "usage: kovrin_drag_probe WINDOW X Y STEPS DX PAUSE_MS\n");
    return 2;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
  const int steps = std::atoi(argv[4]), dx = std::atoi(argv[5]);
  const int pauseMs = std::atoi(argv[6]);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "kovrin_drag_probe: no X display\n");
    return 1;
  }
  for (int i = 1; i <= steps; ++i) {
    // Back and forth, so the pointer stays in the window however many steps there are.
    const int px = x + ((i & 1) != 0 ? dx : 0);
    const int64_t before = nowNs();
    XWarpPointer(display, None, window, 0, 0, 0, 0, px, y);
    XSync(display, False);
    const int64_t after = nowNs();
    std::printf("%" PRId64 " %" PRId64 "\n", before, after);
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  }
  XCloseDisplay(display);
  return 0;
}
