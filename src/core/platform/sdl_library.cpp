#include "core/platform/sdl_library.h"

#include <dlfcn.h>

#include <cstdio>
#include <initializer_list>

namespace {

SdlLibrary library;
bool opened = false;

}  // namespace

const SdlLibrary* openSdlLibrary() {
  if (opened) return &library;
  void* handle = nullptr;
  for (const char* name : {"libSDL2-2.0.so.0", "libSDL2.so"})
    if ((handle = dlopen(name, RTLD_NOW | RTLD_LOCAL)) != nullptr) break;
  if (handle == nullptr) {
    std::fprintf(stderr, "kovrin: could not load the SDL2 library: %s\n", dlerror());
    return nullptr;
  }
  bool complete = true;
#define KOVRIN_SDL_LOOKUP(name)                                                         \
  library.name = reinterpret_cast<decltype(library.name)>(dlsym(handle, "SDL_" #name)); \
  if (library.name == nullptr) {                                                        \
    std::fprintf(stderr, "kovrin: the SDL2 library lacks SDL_%s\n", #name);             \
    complete = false;                                                                   \
  }
  KOVRIN_SDL_FUNCTIONS(KOVRIN_SDL_LOOKUP)
  KOVRIN_SDL_LOOKUP(GetWindowWMInfo)
#undef KOVRIN_SDL_LOOKUP
  if (!complete) {
    dlclose(handle);
    library = SdlLibrary{};
    return nullptr;
  }
  opened = true;
  return &library;
}

const SdlLibrary& sdl() {
  return library;
}
