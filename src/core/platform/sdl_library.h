// The SDL functions the window uses, taken from the SDL library when the window first starts.
// Only the window needs SDL: the window-less commands (--render, --info, ...) then start
// without loading it and the fifty libraries it brings (some 15 ms of every start).
#pragma once

#include <SDL.h>

struct SDL_SysWMinfo;  // SDL_syswm.h, which brings the X11 headers, where it is used

// clang-format off
#define KOVRIN_SDL_FUNCTIONS(F) \
  F(CreateRenderer) \
  F(CreateTexture) \
  F(CreateWindow) \
  F(Delay) \
  F(DestroyRenderer) \
  F(DestroyTexture) \
  F(DestroyWindow) \
  F(EventState) \
  F(free) \
  F(GetCurrentVideoDriver) \
  F(GetDesktopDisplayMode) \
  F(GetError) \
  F(GetModState) \
  F(GetMouseFocus) \
  F(GetPerformanceCounter) \
  F(GetPerformanceFrequency) \
  F(GetRendererOutputSize) \
  F(Init) \
  F(LockTexture) \
  F(PollEvent) \
  F(Quit) \
  F(RenderClear) \
  F(RenderCopy) \
  F(RenderPresent) \
  F(RenderSetIntegerScale) \
  F(RenderSetLogicalSize) \
  F(SetHint) \
  F(SetRenderDrawColor) \
  F(SetWindowTitle) \
  F(StartTextInput) \
  F(UnlockTexture)
// clang-format on

// One pointer per function, named without the SDL_ prefix.
struct SdlLibrary {
#define KOVRIN_SDL_POINTER(name) decltype(&::SDL_##name) name = nullptr;
  KOVRIN_SDL_FUNCTIONS(KOVRIN_SDL_POINTER)
#undef KOVRIN_SDL_POINTER
  SDL_bool (*GetWindowWMInfo)(SDL_Window*, SDL_SysWMinfo*) = nullptr;
};

// The library, opened on the first call; nullptr (with the reason on standard error) when it
// cannot be opened or lacks one of the functions.
const SdlLibrary* openSdlLibrary();
// The library once openSdlLibrary has succeeded.
const SdlLibrary& sdl();
