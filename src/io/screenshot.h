// "save scReenshot": the frame as a 24-bit BMP named from a counter.
#pragma once

#include <cstdint>
#include <string>

#include "model/edit_result.h"

std::string screenshotName(int counter);  // imageAAA.bmp, imageAAB.bmp, ...
// Writes the picture (width x height pixels 0x00RRGGBB) as the next numbered file in `folder`
// and advances the counter.
EditResult saveScreenshot(const uint32_t* pixels, int width, int height, int& shotCounter,
                          const std::string& folder = ".");
// The same BMP layout for any picture of width x height pixels 0x00RRGGBB (rows padded to
// 4 bytes), written safely; false and no file on failure.
bool writeBmpImage(const std::string& path, const uint32_t* pixels, int width, int height);
