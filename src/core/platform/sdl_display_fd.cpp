#include "core/platform/sdl_display_fd.h"

#include <SDL_syswm.h>

#include "core/platform/sdl_library.h"

int displayConnectionFd(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo wm;
  SDL_VERSION(&wm.version);
  if (window != nullptr && sdl().GetWindowWMInfo(window, &wm) == SDL_TRUE &&
      wm.subsystem == SDL_SYSWM_X11)
    return ConnectionNumber(wm.info.x11.display);
#else
  (void)window;
#endif
  return -1;
}
