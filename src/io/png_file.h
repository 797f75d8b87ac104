// PNG pictures of a frame (through libpng), written safely: the target is replaced only once
// the whole file is out.
#pragma once

#include <cstdint>
#include <string>

// width x height pixels 0x00RRGGBB, row after row. With `alpha` (one byte a pixel) the file
// is RGBA, else RGB. False (and no file left behind) on any failure.
bool writePng(const std::string& path, const uint32_t* pixels, int width, int height,
              const uint8_t* alpha = nullptr);
