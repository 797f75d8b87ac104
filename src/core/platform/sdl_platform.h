// The real window, on SDL2.
#pragma once

#include <memory>

#include "core/platform/platform.h"

std::unique_ptr<Platform> makeSdlPlatform();
