// The real window, on SDL2.
#pragma once

#include <memory>
#include <string_view>

#include "core/platform/platform.h"

// Starts SDL's video; nullptr (with the reason on standard error) when there is no display
// to show a window on. The window itself opens with openScreen, at `windowScale` times the
// mode's size (0: chosen from the desktop's size, see windowScaleFor).
std::unique_ptr<Platform> makeSdlPlatform(int windowScale = 0);

// Whether the video driver SDL chose can show the editor: the window-less drivers
// ("offscreen", "dummy"), which SDL falls back on when no display is reachable, only when
// they were asked for by name (`requested`, the SDL_VIDEODRIVER setting, may be empty).
bool usableVideoDriver(std::string_view chosen, std::string_view requested);
